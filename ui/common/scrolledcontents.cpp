#include "scrolledcontents.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QMessageBox>
#include <QScrollArea>
#include <QSizeGrip>
#include <QStyle>

namespace {

constexpr QLatin1StringView kAreaName{"scrolledContents"};

// The items of a box layout, moved in order with their stretch.
void moveItems(QBoxLayout* from, QBoxLayout* to)
{
    to->setSpacing(from->spacing());
    while (from->count() > 0) {
        const int stretch = from->stretch(0);
        QLayoutItem* item = from->takeAt(0);
        if (QWidget* widget = item->widget()) {
            to->addWidget(widget, stretch, item->alignment());
            delete item;
        } else if (QLayout* layout = item->layout()) {
            to->addLayout(layout, stretch);
        } else {
            to->addItem(item);
            to->setStretch(to->count() - 1, stretch);
        }
    }
}

// The items of a grid layout, moved to the same cells, with the rows' and
// columns' stretch and least sizes.
void moveItems(QGridLayout* from, QGridLayout* to)
{
    to->setHorizontalSpacing(from->horizontalSpacing());
    to->setVerticalSpacing(from->verticalSpacing());
    for (int row = 0; row < from->rowCount(); ++row) {
        to->setRowStretch(row, from->rowStretch(row));
        to->setRowMinimumHeight(row, from->rowMinimumHeight(row));
    }
    for (int column = 0; column < from->columnCount(); ++column) {
        to->setColumnStretch(column, from->columnStretch(column));
        to->setColumnMinimumWidth(column, from->columnMinimumWidth(column));
    }
    while (from->count() > 0) {
        int row = 0, column = 0, rows = 0, columns = 0;
        from->getItemPosition(0, &row, &column, &rows, &columns);
        QLayoutItem* item = from->takeAt(0);
        if (QWidget* widget = item->widget()) {
            to->addWidget(widget, row, column, rows, columns, item->alignment());
            delete item;
        } else if (QLayout* layout = item->layout()) {
            to->addLayout(layout, row, column, rows, columns, item->alignment());
        } else {
            to->addItem(item, row, column, rows, columns, item->alignment());
        }
    }
}

// Gives the contents the window's layout, or a layout of the same kind
// holding its items; false for a kind of layout that cannot be moved.
bool moveLayout(QWidget* window, QWidget* contents)
{
    QLayout* layout = window->layout();
    if (!layout)
        return true;
    if (auto* box = qobject_cast<QBoxLayout*>(layout))
        moveItems(box, new QBoxLayout(box->direction(), contents));
    else if (auto* grid = qobject_cast<QGridLayout*>(layout))
        moveItems(grid, new QGridLayout(contents));
    else
        return false;
    contents->layout()->setContentsMargins(layout->contentsMargins());
    delete layout;
    return true;
}

// Sizes the window to show its contents in the room, with scroll bars only
// along what does not fit: a window of fixed size exactly so, one that may be
// resized at least so. At a scale such as 150 % a window may come out a
// fraction of a pixel smaller than asked for: no reason for a scroll bar.
void fitScrolled(QWidget* window, QScrollArea* area, const QSize& room, bool fixed)
{
    const QSize contents = fixed ? area->widget()->size() : area->widget()->minimumSizeHint();
    const int bar = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area);
    bool vertical = contents.height() > room.height();
    const bool horizontal = contents.width() + (vertical ? bar : 0) > room.width();
    vertical = vertical || contents.height() + (horizontal ? bar : 0) > room.height();
    const QSize needed =
        (contents + QSize(vertical ? bar : 0, horizontal ? bar : 0)).boundedTo(room);
    if (!fixed) {
        window->resize(window->size().expandedTo(needed).boundedTo(room));
        return;
    }
    area->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    area->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    window->setFixedSize(needed);
}

} // namespace

void scrollContentsToFit(QWidget* window, const QSize& room)
{
    // A message box sets its own size at every showing from its text and
    // the screen; the error box keeps its text short enough instead.
    if (qobject_cast<QMessageBox*>(window))
        return;
    const bool fixed = window->minimumSize() == window->maximumSize();
    if (auto* area = window->findChild<QScrollArea*>(kAreaName, Qt::FindDirectChildrenOnly)) {
        // Fitted again once the desktop has framed the window, say.
        fitScrolled(window, area, room, fixed);
        return;
    }
    const QSize designed =
        fixed ? window->size() : window->minimumSizeHint().expandedTo(window->minimumSize());
    if (designed.width() <= room.width() && designed.height() <= room.height())
        return;

    QWidget* const focus = window->focusWidget();
    // The controls, each with whether it shows with the window; a dialog's
    // size grip stays in the window's corner.
    QList<std::pair<QWidget*, bool>> children;
    QSizeGrip* grip = nullptr;
    for (QObject* child : window->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (auto* found = qobject_cast<QSizeGrip*>(child))
            grip = found;
        else if (widget && !widget->isWindow())
            children.append({widget, widget->isVisibleTo(window)});
    }

    // The area and its contents join the window before the controls move, so
    // that the controls stay in the window's tab order as designed.
    auto* area = new QScrollArea(window);
    area->setObjectName(kAreaName);
    area->setFrameShape(QFrame::NoFrame);
    area->setFocusPolicy(Qt::NoFocus);
    area->viewport()->setBackgroundRole(window->backgroundRole());
    auto* contents = new QWidget(area->viewport());
    contents->setBackgroundRole(window->backgroundRole());
    if (!moveLayout(window, contents)) {
        delete area;
        return;
    }
    for (const auto& [child, shown] : children) {
        child->setParent(contents);
        child->setVisible(shown);
    }
    if (fixed)
        contents->setFixedSize(designed);
    else
        area->setWidgetResizable(true);
    area->setWidget(contents);
    fitScrolled(window, area, room, fixed);
    auto* windowLayout = new QVBoxLayout(window);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    windowLayout->addWidget(area);
    area->setVisible(true);
    if (grip)
        grip->raise();
    if (focus)
        focus->setFocus();
}
