#include "rowlistviewaccessible.h"

#include "rowlistview.h"

#include <QItemSelectionModel>
#include <QWindow>
#include <utility>

namespace {

QAccessibleInterface* rowListFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("RowListView")) {
        if (auto* view = qobject_cast<RowListView*>(object))
            return new RowListAccessible(view);
    }
    return nullptr;
}

// A stored row too damaged to show is read out as it stands, up to a line's worth.
constexpr int kMaxRawText = 80;

} // namespace

void installRowListAccessibility()
{
    QAccessible::installFactory(rowListFactory); // kept once, however often installed
}

void announceRow(RowListView* view, QAccessible::Event event, const QModelIndex& index)
{
    if (!QAccessible::isActive() || !index.isValid() || index.model() != view->model())
        return;
    QAccessibleEvent accessibleEvent(view, event);
    accessibleEvent.setChild(index.row());
    QAccessible::updateAccessibility(&accessibleEvent);
}

RowListAccessible::RowListAccessible(RowListView* view) : QAccessibleWidget(view, QAccessible::List)
{
}

RowListAccessible::~RowListAccessible()
{
    forgetItems();
}

RowListView* RowListAccessible::view() const
{
    return static_cast<RowListView*>(widget());
}

int RowListAccessible::childCount() const
{
    const QAbstractItemModel* model = view()->model();
    return model ? model->rowCount(view()->rootIndex()) : 0;
}

QAccessibleInterface* RowListAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const auto known = m_items.constFind(index); known != m_items.cend())
        return QAccessible::accessibleInterface(*known);
    if (m_items.size() >= kMaxItems)
        const_cast<RowListAccessible*>(this)->forgetItems();
    auto* item = new RowListItemAccessible(view(), index);
    m_items.insert(index, QAccessible::registerAccessibleInterface(item));
    return item;
}

int RowListAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* item = dynamic_cast<const RowListItemAccessible*>(child);
    if (!item)
        return -1;
    const auto known = m_items.constFind(item->row());
    if (known == m_items.cend() || QAccessible::accessibleInterface(*known) != child)
        return -1;
    return item->row();
}

QAccessibleInterface* RowListAccessible::childAt(int x, int y) const
{
    const QPoint point = view()->viewport()->mapFromGlobal(QPoint(x, y));
    if (!view()->viewport()->rect().contains(point))
        return nullptr;
    const QModelIndex index = view()->indexAt(point);
    return index.isValid() ? child(index.row()) : nullptr;
}

QAccessibleInterface* RowListAccessible::focusChild() const
{
    const QModelIndex current = view()->currentIndex();
    if (!view()->hasFocus() || !current.isValid())
        return nullptr;
    return child(current.row());
}

void* RowListAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* RowListAccessible::cellAt(int row, int column) const
{
    return column == 0 ? child(row) : nullptr;
}

QList<QAccessibleInterface*> RowListAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    for (int row : selectedRows()) {
        if (QAccessibleInterface* cell = child(row))
            cells.append(cell);
    }
    return cells;
}

QList<int> RowListAccessible::selectedRows() const
{
    // One row at most: the list selects single rows.
    QList<int> rows;
    if (const QItemSelectionModel* selection = view()->selectionModel()) {
        for (const QItemSelectionRange& range : selection->selection()) {
            for (int row = range.top(); row <= range.bottom(); ++row)
                rows.append(row);
        }
    }
    return rows;
}

bool RowListAccessible::isRowSelected(int row) const
{
    const QItemSelectionModel* selection = view()->selectionModel();
    return selection && selection->isRowSelected(row, view()->rootIndex());
}

// Called by Qt for the changes the view reports. Only the items already made
// are touched: they follow their rows, and the items of removed rows go.
void RowListAccessible::modelChange(QAccessibleTableModelChangeEvent* event)
{
    if (m_items.isEmpty())
        return;
    const auto type = event->modelChangeType();
    if (type == QAccessibleTableModelChangeEvent::ModelReset) {
        forgetItems();
        return;
    }
    const bool inserted = type == QAccessibleTableModelChangeEvent::RowsInserted;
    if (!inserted && type != QAccessibleTableModelChangeEvent::RowsRemoved)
        return; // a changed row's name is read afresh whenever it is asked for
    const int first = event->firstRow();
    const int last = event->lastRow();
    const int shift = inserted ? last - first + 1 : first - last - 1;
    QHash<int, QAccessible::Id> moved;
    moved.reserve(m_items.size());
    for (auto known = m_items.cbegin(); known != m_items.cend(); ++known) {
        int row = known.key();
        if (!inserted && row >= first && row <= last) {
            QAccessible::deleteAccessibleInterface(known.value());
            continue;
        }
        if (row >= first) {
            row += shift;
            if (auto* item =
                    static_cast<RowListItemAccessible*>(QAccessible::accessibleInterface(*known)))
                item->setRow(row);
        }
        moved.insert(row, known.value());
    }
    m_items = std::move(moved);
}

void RowListAccessible::forgetItems()
{
    const QHash<int, QAccessible::Id> items = std::exchange(m_items, {});
    for (QAccessible::Id id : items)
        QAccessible::deleteAccessibleInterface(id);
}

bool RowListItemAccessible::isValid() const
{
    return m_view && m_view->model() && m_row >= 0 &&
           m_row < m_view->model()->rowCount(m_view->rootIndex());
}

QWindow* RowListItemAccessible::window() const
{
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface* RowListItemAccessible::parent() const
{
    return m_view ? QAccessible::queryAccessibleInterface(m_view) : nullptr;
}

QModelIndex RowListItemAccessible::index() const
{
    return m_view->model()->index(m_row, 0, m_view->rootIndex());
}

QString RowListItemAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !isValid())
        return {};
    try {
        return m_view->rowText(m_row);
    } catch (...) {
        // The row cannot be shown (a damaged month.dat); the list's painting
        // reports that. Asking what a row says must never fail or show a box.
    }
    try {
        return index().data().toString().left(kMaxRawText);
    } catch (...) {
        return {};
    }
}

QRect RowListItemAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect row = m_view->visualRect(index());
    return {m_view->viewport()->mapToGlobal(row.topLeft()), row.size()};
}

QAccessible::State RowListItemAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const QModelIndex row = index();
    state.selectable = true;
    state.focusable = true;
    state.disabled = !m_view->isEnabled();
    if (const QItemSelectionModel* selection = m_view->selectionModel())
        state.selected = selection->isSelected(row);
    state.focused = m_view->hasFocus() && m_view->currentIndex() == row;
    state.offscreen =
        !m_view->isVisible() || !m_view->viewport()->rect().intersects(m_view->visualRect(row));
    return state;
}

void* RowListItemAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
}

bool RowListItemAccessible::isSelected() const
{
    return state().selected;
}
