#pragma once

// What a screen reader sees of an item view of the program: a table (or a
// list) of cells, made only when asked for and kept by place, so that asking
// for the last of a million rows costs what the first does, and a change to
// the rows touches only the cells already made.
//
// Qt's AT-SPI bridge uses the cell that cellAt gives without checking it, so
// cellAt never gives none: a question about a row or column the view does not
// have gets a cell that is not there (invalid, not selected, of no extent).
// Only a view with the keyboard focus has a focused cell.

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QModelIndex>
#include <QPointer>

class QAbstractItemView;

class ItemCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    ItemCellAccessible(QAbstractItemView* view, int row, int column, QAccessible::Role role);

    int row() const { return m_row; }
    int column() const { return m_column; }
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
    QAccessible::Role role() const override { return m_role; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return isValid() ? m_column : -1; }
    int rowIndex() const override { return isValid() ? m_row : -1; }
    int columnExtent() const override { return isValid() ? 1 : 0; }
    int rowExtent() const override { return isValid() ? 1 : 0; }
    QAccessibleInterface* table() const override { return parent(); }

protected:
    QAbstractItemView* view() const { return m_view; }
    QModelIndex index() const;

private:
    QPointer<QAbstractItemView> m_view;
    int m_row;
    int m_column;
    QAccessible::Role m_role;
};

class ItemViewAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    ItemViewAccessible(QAbstractItemView* view, QAccessible::Role role, QAccessible::Role cellRole);
    ~ItemViewAccessible() override;

    QAbstractItemView* view() const;

    // Children are the cells, row by row.
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return int(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return int(selectedColumns().size()); }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    // Cells are selected by the user, with the mouse or the keys, never from outside.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

protected:
    virtual ItemCellAccessible* makeCell(int row, int column) const;

private:
    QAccessibleInterface* cellOfIndex(const QModelIndex& index) const;
    void forgetCells();

    QAccessible::Role m_cellRole;
    // The cells made so far, by child index. Kept small: past this many they
    // are all let go and made again as asked for.
    static constexpr int kMaxCells = 10000;
    mutable QHash<int, QAccessible::Id> m_cells;
    // The one cell that is not there, the answer about any place out of range.
    mutable QAccessible::Id m_noCell = 0;
};
