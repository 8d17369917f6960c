#pragma once

// What a screen reader sees of a RowListView: a table of one column, with a
// cell per row whose name is the text the row shows (itemviewaccessible.h
// has the rest: cells made only when asked for, and safe answers out of
// range). A table, not a list: a screen reader takes a table's number of
// rows from the table itself, but counts a list's items by asking for every
// one of them, and on a window's first showing it searches every child of a
// list (and of no table) for labels; with a long list, each of those takes
// minutes, during which it says nothing.

#include "itemviewaccessible.h"

class RowListView;

// Lets Qt make the interfaces below for every RowListView; safe to call often.
void installRowListAccessibility();

// Tells assistive technology that this row became the focus, or was selected
// or deselected; does nothing while none listens or the index is not a row.
void announceRow(RowListView* view, QAccessible::Event event, const QModelIndex& index);

class RowListAccessible : public ItemViewAccessible {
public:
    explicit RowListAccessible(RowListView* view);

protected:
    ItemCellAccessible* makeCell(int row, int column) const override;
};

class RowListItemAccessible : public ItemCellAccessible {
public:
    RowListItemAccessible(RowListView* view, const QModelIndex& index);

    QString text(QAccessible::Text t) const override;

private:
    RowListView* listView() const;
};
