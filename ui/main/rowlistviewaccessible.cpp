#include "rowlistviewaccessible.h"

#include "rowlistview.h"

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

RowListAccessible::RowListAccessible(RowListView* view)
    : ItemViewAccessible(view, QAccessible::Table, QAccessible::Cell)
{
}

ItemCellAccessible* RowListAccessible::makeCell(int row, int column) const
{
    return new RowListItemAccessible(static_cast<RowListView*>(view()), cellIndex(row, column));
}

RowListItemAccessible::RowListItemAccessible(RowListView* view, const QModelIndex& index)
    : ItemCellAccessible(view, index, QAccessible::Cell)
{
}

RowListView* RowListItemAccessible::listView() const
{
    return static_cast<RowListView*>(view());
}

QString RowListItemAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !isValid())
        return {};
    try {
        return listView()->rowText(row());
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
