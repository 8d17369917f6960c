#include "itemviewaccessible.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QWindow>
#include <algorithm>
#include <climits>
#include <utility>

ItemCellAccessible::ItemCellAccessible(QAbstractItemView* view, int row, int column,
                                       QAccessible::Role role)
    : m_view(view), m_row(row), m_column(column), m_role(role)
{
}

bool ItemCellAccessible::isValid() const
{
    const QAbstractItemModel* model = m_view ? m_view->model() : nullptr;
    return model && m_row >= 0 && m_column >= 0 && m_row < model->rowCount(m_view->rootIndex()) &&
           m_column < model->columnCount(m_view->rootIndex());
}

QWindow* ItemCellAccessible::window() const
{
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface* ItemCellAccessible::parent() const
{
    return m_view ? QAccessible::queryAccessibleInterface(m_view) : nullptr;
}

QModelIndex ItemCellAccessible::index() const
{
    return m_view->model()->index(m_row, m_column, m_view->rootIndex());
}

QString ItemCellAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    if (t == QAccessible::Description)
        return index().data(Qt::AccessibleDescriptionRole).toString();
    if (t != QAccessible::Name)
        return {};
    const QString name = index().data(Qt::AccessibleTextRole).toString();
    return name.isEmpty() ? index().data().toString() : name;
}

QRect ItemCellAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect cell = m_view->visualRect(index());
    return {m_view->viewport()->mapToGlobal(cell.topLeft()), cell.size()};
}

QAccessible::State ItemCellAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const QModelIndex cell = index();
    const Qt::ItemFlags flags = cell.flags();
    state.selectable = flags.testFlag(Qt::ItemIsSelectable);
    state.focusable = state.selectable;
    state.disabled = !m_view->isEnabled() || !flags.testFlag(Qt::ItemIsEnabled);
    if (const QItemSelectionModel* selection = m_view->selectionModel())
        state.selected = selection->isSelected(cell);
    // Qt's own cells say the current one is focused even while the view
    // does not have the focus; a screen reader would take it for the focus.
    state.focused = m_view->hasFocus() && m_view->currentIndex() == cell;
    state.offscreen =
        !m_view->isVisible() || !m_view->viewport()->rect().intersects(m_view->visualRect(cell));
    return state;
}

void* ItemCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
}

bool ItemCellAccessible::isSelected() const
{
    return state().selected;
}

ItemViewAccessible::ItemViewAccessible(QAbstractItemView* view, QAccessible::Role role,
                                       QAccessible::Role cellRole)
    : QAccessibleWidget(view, role), m_cellRole(cellRole)
{
}

ItemViewAccessible::~ItemViewAccessible()
{
    forgetCells();
    if (m_noCell)
        QAccessible::deleteAccessibleInterface(m_noCell);
}

QAbstractItemView* ItemViewAccessible::view() const
{
    return static_cast<QAbstractItemView*>(widget());
}

int ItemViewAccessible::rowCount() const
{
    const QAbstractItemModel* model = view()->model();
    return model ? model->rowCount(view()->rootIndex()) : 0;
}

int ItemViewAccessible::columnCount() const
{
    const QAbstractItemModel* model = view()->model();
    return model ? model->columnCount(view()->rootIndex()) : 0;
}

int ItemViewAccessible::childCount() const
{
    return int(std::min<qint64>(qint64(rowCount()) * columnCount(), INT_MAX));
}

QAccessibleInterface* ItemViewAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const auto known = m_cells.constFind(index); known != m_cells.cend())
        return QAccessible::accessibleInterface(*known);
    if (m_cells.size() >= kMaxCells)
        const_cast<ItemViewAccessible*>(this)->forgetCells();
    const int columns = columnCount();
    ItemCellAccessible* cell = makeCell(index / columns, index % columns);
    m_cells.insert(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

ItemCellAccessible* ItemViewAccessible::makeCell(int row, int column) const
{
    return new ItemCellAccessible(view(), row, column, m_cellRole);
}

int ItemViewAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* cell = dynamic_cast<const ItemCellAccessible*>(child);
    if (!cell || !cell->isValid())
        return -1;
    const int index = cell->row() * columnCount() + cell->column();
    const auto known = m_cells.constFind(index);
    if (known == m_cells.cend() || QAccessible::accessibleInterface(*known) != child)
        return -1;
    return index;
}

QAccessibleInterface* ItemViewAccessible::cellOfIndex(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != view()->model() ||
        index.parent() != view()->rootIndex())
        return nullptr;
    return child(index.row() * columnCount() + index.column());
}

QAccessibleInterface* ItemViewAccessible::childAt(int x, int y) const
{
    const QPoint point = view()->viewport()->mapFromGlobal(QPoint(x, y));
    if (!view()->viewport()->rect().contains(point))
        return nullptr;
    return cellOfIndex(view()->indexAt(point));
}

QAccessibleInterface* ItemViewAccessible::focusChild() const
{
    return view()->hasFocus() ? cellOfIndex(view()->currentIndex()) : nullptr;
}

void* ItemViewAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* ItemViewAccessible::cellAt(int row, int column) const
{
    if (row >= 0 && column >= 0 && row < rowCount() && column < columnCount()) {
        if (QAccessibleInterface* cell = child(row * columnCount() + column))
            return cell;
    }
    if (QAccessibleInterface* none = QAccessible::accessibleInterface(m_noCell))
        return none;
    auto* none = new ItemCellAccessible(view(), -1, -1, m_cellRole);
    m_noCell = QAccessible::registerAccessibleInterface(none);
    return none;
}

QList<QAccessibleInterface*> ItemViewAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    if (const QItemSelectionModel* selection = view()->selectionModel()) {
        for (const QModelIndex& index : selection->selectedIndexes()) {
            if (QAccessibleInterface* cell = cellOfIndex(index))
                cells.append(cell);
        }
    }
    return cells;
}

// While the model changes, the selection may still hold places it no longer has.
QList<int> ItemViewAccessible::selectedRows() const
{
    QList<int> rows;
    if (const QItemSelectionModel* selection = view()->selectionModel()) {
        for (const QModelIndex& index : selection->selectedRows()) {
            if (index.row() < rowCount())
                rows.append(index.row());
        }
    }
    return rows;
}

QList<int> ItemViewAccessible::selectedColumns() const
{
    QList<int> columns;
    if (const QItemSelectionModel* selection = view()->selectionModel()) {
        for (const QModelIndex& index : selection->selectedColumns()) {
            if (index.column() < columnCount())
                columns.append(index.column());
        }
    }
    return columns;
}

bool ItemViewAccessible::isRowSelected(int row) const
{
    const QItemSelectionModel* selection = view()->selectionModel();
    return selection && row >= 0 && row < rowCount() &&
           selection->isRowSelected(row, view()->rootIndex());
}

bool ItemViewAccessible::isColumnSelected(int column) const
{
    const QItemSelectionModel* selection = view()->selectionModel();
    return selection && column >= 0 && column < columnCount() &&
           selection->isColumnSelected(column, view()->rootIndex());
}

// Called by Qt for the changes the view reports. Only the cells already made
// are touched: they follow their rows, and the cells of removed rows go.
void ItemViewAccessible::modelChange(QAccessibleTableModelChangeEvent* event)
{
    if (m_cells.isEmpty())
        return;
    const auto type = event->modelChangeType();
    const bool inserted = type == QAccessibleTableModelChangeEvent::RowsInserted;
    if (type == QAccessibleTableModelChangeEvent::DataChanged)
        return; // a changed cell's name is read afresh whenever it is asked for
    if (!inserted && type != QAccessibleTableModelChangeEvent::RowsRemoved) {
        forgetCells(); // a reset, or columns came or went
        return;
    }
    const int first = event->firstRow();
    const int last = event->lastRow();
    const int shift = inserted ? last - first + 1 : first - last - 1;
    const int columns = columnCount();
    QHash<int, QAccessible::Id> moved;
    moved.reserve(m_cells.size());
    for (auto known = m_cells.cbegin(); known != m_cells.cend(); ++known) {
        auto* cell = static_cast<ItemCellAccessible*>(QAccessible::accessibleInterface(*known));
        if (!cell)
            continue;
        int row = cell->row();
        if (!inserted && row >= first && row <= last) {
            QAccessible::deleteAccessibleInterface(known.value());
            continue;
        }
        if (row >= first) {
            row += shift;
            cell->setRow(row);
        }
        moved.insert(row * columns + cell->column(), known.value());
    }
    m_cells = std::move(moved);
}

void ItemViewAccessible::forgetCells()
{
    const QHash<int, QAccessible::Id> cells = std::exchange(m_cells, {});
    for (QAccessible::Id id : cells)
        QAccessible::deleteAccessibleInterface(id);
}
