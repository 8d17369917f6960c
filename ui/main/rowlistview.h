#pragma once

#include <QAbstractItemView>
#include <functional>

// A list of rows of one fixed height that the item delegate draws. Every
// operation looks at the rows in view only, so a list of a million rows
// scrolls, paints and takes new rows as quickly as a short one. The vertical
// scroll bar moves a whole row at a time. Screen readers see a table of one
// column with a cell per row (rowlistviewaccessible.h).
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

    // The text a row shows, for those who hear the list rather than see it;
    // without one, the model's display text. It may throw for a row that
    // cannot be shown.
    using RowText = std::function<QString(int row)>;
    void setRowText(RowText text) { m_rowText = std::move(text); }
    QString rowText(int row) const;

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
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int rowCount() const;
    int rowsInView() const;
    QRect rowRect(int row) const;

    int m_rowHeight = 13;
    RowText m_rowText;
    QMetaObject::Connection m_rowsRemoved;
};
