#include "itemviewaccessible.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QListView>
#include <QWindow>
#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace {

const QListView* asList(const QAbstractItemView* view)
{
    return qobject_cast<const QListView*>(view);
}

// The model's columns the view shows as cells: a list view one, its model
// column, and any other view all of them.
int shownColumnCount(const QAbstractItemView* view)
{
    const QAbstractItemModel* model = view->model();
    const int columns = model ? model->columnCount(view->rootIndex()) : 0;
    if (const QListView* list = asList(view))
        return list->modelColumn() >= 0 && list->modelColumn() < columns ? 1 : 0;
    return columns;
}

int firstShownColumn(const QAbstractItemView* view)
{
    const QListView* list = asList(view);
    return list ? list->modelColumn() : 0;
}

// The cells' column showing this model column, or -1 for none.
int cellColumn(const QAbstractItemView* view, int modelColumn)
{
    const int column = modelColumn - firstShownColumn(view);
    return column >= 0 && column < shownColumnCount(view) ? column : -1;
}

// The child index of a cell, or -1 past the most a list of children can number.
int childIndexOf(int row, int column, int columns)
{
    const qint64 index = qint64(row) * columns + column;
    return row < 0 || column < 0 || index > INT_MAX ? -1 : int(index);
}

} // namespace

ItemCellAccessible::ItemCellAccessible(QAbstractItemView* view, const QModelIndex& index,
                                       QAccessible::Role role)
    : m_view(view), m_index(index), m_role(role)
{
}

bool ItemCellAccessible::isValid() const
{
    return m_view && m_index.isValid() && m_index.model() == m_view->model() &&
           m_index.parent() == m_view->rootIndex() && cellColumn(m_view, m_index.column()) >= 0;
}

int ItemCellAccessible::column() const
{
    return isValid() ? cellColumn(m_view, m_index.column()) : -1;
}

QWindow* ItemCellAccessible::window() const
{
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface* ItemCellAccessible::parent() const
{
    return m_view ? QAccessible::queryAccessibleInterface(m_view) : nullptr;
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
    return shownColumnCount(view());
}

int ItemViewAccessible::childCount() const
{
    return int(std::min<qint64>(qint64(rowCount()) * columnCount(), INT_MAX));
}

QModelIndex ItemViewAccessible::cellIndex(int row, int column) const
{
    return view()->model()->index(row, firstShownColumn(view()) + column, view()->rootIndex());
}

QAccessibleInterface* ItemViewAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const auto known = m_cells.find(index); known != m_cells.end()) {
        known->asked = ++m_asked;
        return QAccessible::accessibleInterface(known->id);
    }
    if (m_cells.size() >= m_cellLimit)
        letOldCellsGo();
    const int columns = columnCount();
    ItemCellAccessible* cell = makeCell(index / columns, index % columns);
    m_cells.insert(index, {QAccessible::registerAccessibleInterface(cell), ++m_asked});
    return cell;
}

ItemCellAccessible* ItemViewAccessible::makeCell(int row, int column) const
{
    return new ItemCellAccessible(view(), cellIndex(row, column), m_cellRole);
}

// A screen reader holds on to the cells it was given, and asks about the
// focused and the selected ones again and again; so those stay, with the
// ones asked for most recently.
void ItemViewAccessible::letOldCellsGo() const
{
    const QItemSelectionModel* selection = view()->selectionModel();
    const QModelIndex focused = view()->hasFocus() ? view()->currentIndex() : QModelIndex();
    const int columns = columnCount();
    std::vector<std::pair<quint64, int>> old; // when last asked for, child index
    old.reserve(size_t(m_cells.size()));
    for (auto known = m_cells.cbegin(); known != m_cells.cend(); ++known) {
        const QModelIndex index = cellIndex(known.key() / columns, known.key() % columns);
        if (index.isValid() && (index == focused || (selection && selection->isSelected(index))))
            continue;
        old.emplace_back(known->asked, known.key());
    }
    const auto going = old.begin() + std::min<qsizetype>(qsizetype(old.size()), kMaxCells / 4);
    std::nth_element(old.begin(), going, old.end());
    for (auto cell = old.begin(); cell != going; ++cell)
        QAccessible::deleteAccessibleInterface(m_cells.take(cell->second).id);
    // Many selected cells may stay: they get room to grow before the next look.
    m_cellLimit = std::max<qsizetype>(kMaxCells, m_cells.size() + kMaxCells / 4);
}

int ItemViewAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* cell = dynamic_cast<const ItemCellAccessible*>(child);
    if (!cell || !cell->isValid())
        return -1;
    const int index = childIndexOf(cell->row(), cell->column(), columnCount());
    const auto known = m_cells.constFind(index);
    if (known == m_cells.cend() || QAccessible::accessibleInterface(known->id) != child)
        return -1;
    return index;
}

QAccessibleInterface* ItemViewAccessible::cellOfIndex(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != view()->model() ||
        index.parent() != view()->rootIndex())
        return nullptr;
    return child(childIndexOf(index.row(), cellColumn(view(), index.column()), columnCount()));
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
        if (QAccessibleInterface* cell = child(childIndexOf(row, column, columnCount())))
            return cell;
    }
    if (QAccessibleInterface* none = QAccessible::accessibleInterface(m_noCell))
        return none;
    auto* none = new ItemCellAccessible(view(), QModelIndex(), m_cellRole);
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

// A row is selected when all its cells are. While the model changes, the
// selection may still hold places it no longer has.
QList<int> ItemViewAccessible::selectedRows() const
{
    QList<int> rows;
    if (const QItemSelectionModel* selection = view()->selectionModel()) {
        for (const QModelIndex& index : selection->selectedIndexes()) {
            if (index.parent() == view()->rootIndex() && cellColumn(view(), index.column()) == 0 &&
                isRowSelected(index.row()))
                rows.append(index.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<int> ItemViewAccessible::selectedColumns() const
{
    QList<int> columns;
    for (int column = 0; column < columnCount(); ++column) {
        if (isColumnSelected(column))
            columns.append(column);
    }
    return columns;
}

bool ItemViewAccessible::isRowSelected(int row) const
{
    const QItemSelectionModel* selection = view()->selectionModel();
    if (!selection || row < 0 || row >= rowCount() || columnCount() == 0)
        return false;
    for (int column = 0; column < columnCount(); ++column) {
        if (!selection->isSelected(cellIndex(row, column)))
            return false;
    }
    return true;
}

bool ItemViewAccessible::isColumnSelected(int column) const
{
    const QItemSelectionModel* selection = view()->selectionModel();
    return selection && column >= 0 && column < columnCount() &&
           selection->isColumnSelected(firstShownColumn(view()) + column, view()->rootIndex());
}

// Called by Qt for the changes the view reports, which say where rows came
// or went but not under which parent. The cells follow their items by
// themselves; here they are only filed again under where those are now, and
// those whose item went (or left the view) go too.
void ItemViewAccessible::modelChange(QAccessibleTableModelChangeEvent* event)
{
    if (m_cells.isEmpty() ||
        event->modelChangeType() == QAccessibleTableModelChangeEvent::DataChanged)
        return; // a changed cell's name is read afresh whenever it is asked for
    const int columns = columnCount();
    QHash<int, KnownCell> filed;
    filed.reserve(m_cells.size());
    for (const KnownCell& known : std::as_const(m_cells)) {
        const auto* cell =
            static_cast<ItemCellAccessible*>(QAccessible::accessibleInterface(known.id));
        const int index = cell ? childIndexOf(cell->row(), cell->column(), columns) : -1;
        if (index >= 0 && !filed.contains(index))
            filed.insert(index, known);
        else if (cell)
            QAccessible::deleteAccessibleInterface(known.id);
    }
    m_cells = std::move(filed);
}

void ItemViewAccessible::forgetCells()
{
    const QHash<int, KnownCell> cells = std::exchange(m_cells, {});
    for (const KnownCell& known : cells)
        QAccessible::deleteAccessibleInterface(known.id);
}
