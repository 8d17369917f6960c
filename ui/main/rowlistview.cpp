#include "rowlistview.h"

#include "rowlistviewaccessible.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

RowListView::RowListView(QWidget* parent) : QAbstractItemView(parent)
{
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setEditTriggers(NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(ScrollPerItem);
    installRowListAccessibility();
}

void RowListView::setRowHeight(int height)
{
    m_rowHeight = std::max(1, height);
    updateGeometries();
    viewport()->update();
}

int RowListView::rowCount() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

int RowListView::rowsInView() const
{
    return std::max(1, viewport()->height() / m_rowHeight);
}

int RowListView::firstVisibleRow() const
{
    return verticalScrollBar()->value();
}

QRect RowListView::rowRect(int row) const
{
    return {0, (row - firstVisibleRow()) * m_rowHeight, viewport()->width(), m_rowHeight};
}

QRect RowListView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.parent() != rootIndex())
        return {};
    return rowRect(index.row());
}

int RowListView::verticalOffset() const
{
    return firstVisibleRow() * m_rowHeight;
}

void RowListView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    const int row = index.row();
    const int first = firstVisibleRow();
    const int inView = rowsInView();
    int target = first;
    switch (hint) {
    case PositionAtTop:
        target = row;
        break;
    case PositionAtBottom:
        target = row - inView + 1;
        break;
    case PositionAtCenter:
        target = row - inView / 2;
        break;
    case EnsureVisible:
        if (row < first)
            target = row;
        else if (row >= first + inView)
            target = row - inView + 1;
        break;
    }
    verticalScrollBar()->setValue(target);
}

QModelIndex RowListView::indexAt(const QPoint& point) const
{
    if (!model() || point.y() < 0)
        return {};
    const int row = firstVisibleRow() + point.y() / m_rowHeight;
    return row < rowCount() ? model()->index(row, 0, rootIndex()) : QModelIndex();
}

QModelIndex RowListView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int count = rowCount();
    if (count == 0)
        return {};
    const QModelIndex current = currentIndex();
    int row = current.isValid() ? current.row() : -1;
    switch (action) {
    case MoveUp:
    case MovePrevious:
        row = row < 0 ? 0 : row - 1;
        break;
    case MoveDown:
    case MoveNext:
        row = row + 1;
        break;
    case MovePageUp:
        row = row < 0 ? 0 : row - (rowsInView() - 1);
        break;
    case MovePageDown:
        row = row < 0 ? 0 : row + (rowsInView() - 1);
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = count - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    row = std::clamp(row, 0, count - 1);
    return model()->index(row, 0, rootIndex());
}

void RowListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    const int count = rowCount();
    if (count == 0)
        return;
    const QRect normal = rect.normalized();
    const int first = std::clamp(firstVisibleRow() + normal.top() / m_rowHeight, 0, count - 1);
    const int last = std::clamp(firstVisibleRow() + normal.bottom() / m_rowHeight, 0, count - 1);
    const QItemSelection selection(model()->index(first, 0, rootIndex()),
                                   model()->index(last, 0, rootIndex()));
    selectionModel()->select(selection, command);
}

QRegion RowListView::visualRegionForSelection(const QItemSelection& selection) const
{
    QRegion region;
    const int first = firstVisibleRow();
    const int last = first + rowsInView();
    for (const QItemSelectionRange& range : selection) {
        const int top = std::max(range.top(), first);
        const int bottom = std::min(range.bottom(), last);
        if (top <= bottom)
            region += rowRect(top).united(rowRect(bottom));
    }
    return region;
}

void RowListView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const int count = rowCount();
    const int first = firstVisibleRow();
    const int last = std::min(count - 1, first + event->rect().bottom() / m_rowHeight);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex current = currentIndex();
    const bool focused = hasFocus();
    for (int row = std::max(first, first + event->rect().top() / m_rowHeight); row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        option.rect = rowRect(row);
        option.state = QStyle::State_Enabled;
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (focused && index == current)
            option.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
    // An empty list with the focus outlines the place of a first row.
    if (count == 0 && focused) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rowRect(0);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void RowListView::resizeEvent(QResizeEvent* event)
{
    QAbstractItemView::resizeEvent(event);
    updateGeometries();
}

void RowListView::updateGeometries()
{
    const int inView = rowsInView();
    verticalScrollBar()->setRange(0, std::max(0, rowCount() - inView));
    verticalScrollBar()->setPageStep(inView);
    verticalScrollBar()->setSingleStep(1);
    QAbstractItemView::updateGeometries();
}

void RowListView::rowsInserted(const QModelIndex& parent, int start, int end)
{
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
    viewport()->update();
}

void RowListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    // When its row goes, the selection goes with it and the list selects
    // nothing; the stock view would move the selection to a neighbour, and
    // a second Delete Date would delete that one too.
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.parent() == parent && current.row() >= start &&
        current.row() <= end)
        selectionModel()->clearCurrentIndex();
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
}

void RowListView::setModel(QAbstractItemModel* model)
{
    // The base ignores the model it already has; so does the view, which
    // would otherwise stop hearing of that model's rows and of its end.
    if (model == this->model())
        return;
    disconnect(m_rowsRemoved);
    QAbstractItemView::setModel(model);
    // The view hears of removed rows only before they go; lay out once they have.
    if (model)
        m_rowsRemoved = connect(model, &QAbstractItemModel::rowsRemoved, this, [this] {
            updateGeometries();
            viewport()->update();
        });
}

void RowListView::reset()
{
    QAbstractItemView::reset();
    updateGeometries();
    viewport()->update();
}

QString RowListView::rowText(int row) const
{
    if (m_rowText)
        return m_rowText(row);
    return model() ? model()->index(row, 0, rootIndex()).data().toString() : QString();
}

// Screen readers hear of the focused row and of the selection as they change;
// the model's changes they hear of from QAbstractItemView itself.
void RowListView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QAbstractItemView::currentChanged(current, previous);
    if (hasFocus())
        announceRow(this, QAccessible::Focus, current);
}

void RowListView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    if (!deselected.isEmpty())
        announceRow(this, QAccessible::SelectionRemove, deselected.first().topLeft());
    if (!selected.isEmpty())
        announceRow(this, QAccessible::SelectionAdd, selected.first().topLeft());
}

void RowListView::focusInEvent(QFocusEvent* event)
{
    QAbstractItemView::focusInEvent(event);
    // Qt announces the list itself once it has the focus; the focused row
    // comes after that, so that it is what the listener is left on.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus())
                announceRow(this, QAccessible::Focus, currentIndex());
        },
        Qt::QueuedConnection);
}
