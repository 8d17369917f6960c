#pragma once

#include <QAbstractItemView>

// A list of rows of one fixed height that the item delegate draws. Every
// operation looks at the rows in view only, so a list of a million rows
// scrolls, paints and takes new rows as quickly as a short one. The vertical
// scroll bar moves a whole row at a time.
class RowListView : public QAbstractItemView {
    Q_OBJECT
public:
    explicit RowListView(QWidget* parent = nullptr);

    void setRowHeight(int height);
    int rowHeight() const { return m_rowHeight; }
    int firstVisibleRow() const;

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void setModel(QAbstractItemModel* model) override;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override { return 0; }
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void reset() override;

private:
    int rowCount() const;
    int rowsInView() const;
    QRect rowRect(int row) const;

    int m_rowHeight = 13;
};
