#pragma once

// What a screen reader sees of an item view: a table (or a list) of cells,
// made only when asked for and kept by place, so that asking for the last of
// a million rows costs what the first does, and a change to the rows touches
// only the cells already made. A cell keeps its model item: it follows the
// item wherever rows come or go, and answers as long as the item exists,
// unless it is one of the least recently asked for past a bound. A list view
// shows one column of its model, and so has one column of cells.
//
// Qt's AT-SPI bridge uses the cell that cellAt gives without checking it, so
// cellAt never gives none: a question about a row or column the view does not
// have gets a cell that is not there (invalid, not selected, of no extent).
// Only a view with the keyboard focus has a focused cell.

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPersistentModelIndex>
#include <QPointer>

class QAbstractItemView;

class ItemCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    // The cell of the model item at index; with an invalid index, a cell
    // that is not there.
    ItemCellAccessible(QAbstractItemView* view, const QModelIndex& index, QAccessible::Role role);

    // Where the item is now, or -1 when it is gone.
    int row() const { return isValid() ? m_index.row() : -1; }
    int column() const;

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
    int columnIndex() const override { return column(); }
    int rowIndex() const override { return row(); }
    int columnExtent() const override { return isValid() ? 1 : 0; }
    int rowExtent() const override { return isValid() ? 1 : 0; }
    QAccessibleInterface* table() const override { return parent(); }

protected:
    QAbstractItemView* view() const { return m_view; }
    QModelIndex index() const { return m_index; }

private:
    QPointer<QAbstractItemView> m_view;
    QPersistentModelIndex m_index;
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
    QModelIndex cellIndex(int row, int column) const;

private:
    QAccessibleInterface* cellOfIndex(const QModelIndex& index) const;
    void letOldCellsGo() const;
    void forgetCells();

    QAccessible::Role m_cellRole;
    struct KnownCell {
        QAccessible::Id id;
        quint64 asked; // when it was last asked for
    };
    // The cells made so far, by child index. Past kMaxCells, the quarter
    // least recently asked for go, but never the focused or a selected one.
    static constexpr int kMaxCells = 10000;
    mutable QHash<int, KnownCell> m_cells;
    mutable quint64 m_asked = 0;
    mutable qsizetype m_cellLimit = kMaxCells;
    // The one cell that is not there, the answer about any place out of range.
    mutable QAccessible::Id m_noCell = 0;
};
