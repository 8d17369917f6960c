#pragma once

// What a screen reader sees of a RowListView: a list with one list item per
// row, whose name is the text the row shows. Items are made only when asked
// for and kept by row, so asking for row 999,999 of a million costs what row
// 0 does, and a change to the list touches only the items already made.

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QModelIndex>
#include <QPointer>

class RowListView;

// Lets Qt make the interfaces below for every RowListView; safe to call often.
void installRowListAccessibility();

// Tells assistive technology that this row became the focus, or was selected
// or deselected; does nothing while none listens or the index is not a row.
void announceRow(RowListView* view, QAccessible::Event event, const QModelIndex& index);

class RowListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit RowListAccessible(RowListView* view);
    ~RowListAccessible() override;

    RowListView* view() const;

    QAccessible::Role role() const override { return QAccessible::List; }
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // One column of rows: the table view of the same list.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return selectedRowCount(); }
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int columnCount() const override { return 1; }
    int rowCount() const override { return childCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    // Rows are selected by the user, with the mouse or the keys, never from outside.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    void forgetItems();

    // The items made so far, by row. Kept small: past this many they are all
    // let go and made again as asked for.
    static constexpr int kMaxItems = 10000;
    mutable QHash<int, QAccessible::Id> m_items;
};

class RowListItemAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    RowListItemAccessible(RowListView* view, int row) : m_view(view), m_row(row) {}

    int row() const { return m_row; }
    void setRow(int row) { m_row = row; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QModelIndex index() const;

    QPointer<RowListView> m_view;
    int m_row;
};
