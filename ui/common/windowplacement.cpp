#include "windowplacement.h"

#include "scrolledcontents.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

bool framed(const QWidget* window)
{
    return window->frameGeometry() != window->geometry();
}

// The size of the window with its frame. Before its first showing a window
// has no frame yet; the desktop gives it one like that of the window it
// belongs to, or of the active window.
QSize expectedFrameSize(const QWidget* window)
{
    if (framed(window))
        return window->frameGeometry().size();
    const QWidget* other =
        window->parentWidget() ? window->parentWidget()->window() : QApplication::activeWindow();
    if (!other || other == window)
        return window->size();
    return window->size() + (other->frameGeometry().size() - other->size());
}

// Where windows go: the screen's available area. Where the program's pixels
// are not the screen's (at 150 % or 200 %, say), the edges of that area and
// of a window's frame are rounded to whole pixels of the program, and a frame
// put at an edge may come out a screen pixel or two past it; so one pixel of
// the program is kept free along each edge.
QRect freeArea(const QScreen* screen)
{
    const QRect available = screen->availableGeometry();
    return screen->devicePixelRatio() == 1 ? available : available.adjusted(1, 1, -1, -1);
}

// A window that may be resized is made no larger than the screen's
// available area; one too large for it even so scrolls its contents.
void fitToScreen(QWidget* window, const QScreen* screen)
{
    const QSize room = roomOnScreen(window, screen);
    scrollContentsToFit(window, room);
    window->resize(window->size().boundedTo(room));
}

// Fits the window's size to the screen, then moves its frame to the place
// given, kept on the screen.
void fit(QWidget* window, const QPoint& designed, const QScreen* screen)
{
    if (!screen) {
        window->move(designed);
        return;
    }
    fitToScreen(window, screen);
    window->move(keptOnScreen(designed, expectedFrameSize(window), freeArea(screen)));
}

// Until the desktop has framed a window, its frame is an estimate. Once the
// real frame is known, a window that does not fit after all is fitted again
// from where it stands.
class FrameWatch : public QObject {
public:
    explicit FrameWatch(QWidget* window) : QObject(window), m_window(window)
    {
        setObjectName(kName);
        window->installEventFilter(this);
    }

    // One watch a window, also where it is placed from its own event filter:
    // Qt would pass the event on to that filter again past a new one.
    static bool watching(const QWidget* window)
    {
        return window->findChild<QObject*>(kName, Qt::FindDirectChildrenOnly);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
            framed(m_window)) {
            m_window->removeEventFilter(this);
            const QScreen* screen = m_window->screen();
            const QRect frame = m_window->frameGeometry();
            if (screen && !freeArea(screen).contains(frame))
                fit(m_window, frame.topLeft(), screen);
            deleteLater();
        }
        return false;
    }

private:
    static constexpr QLatin1StringView kName{"windowPlacementFrameWatch"};
    QWidget* m_window;
};

} // namespace

QSize roomOnScreen(const QWidget* window, const QScreen* screen)
{
    return freeArea(screen).size() - (expectedFrameSize(window) - window->size());
}

QPoint keptOnScreen(const QPoint& designed, const QSize& frame, const QRect& available)
{
    if (available.isEmpty())
        return designed;
    // Along each axis: pulled back no further than the frame needs to fit,
    // and never past the start of the area, where the title bar is.
    const auto along = [](int place, int size, int start, int length) {
        return std::max(std::min(place, start + length - size), start);
    };
    return {along(designed.x(), frame.width(), available.x(), available.width()),
            along(designed.y(), frame.height(), available.y(), available.height())};
}

void placeWindow(QWidget* window, const QPoint& designed, const QScreen* screen)
{
    fit(window, designed, screen);
    if (!framed(window) && !FrameWatch::watching(window))
        new FrameWatch(window);
}

void centreOnScreenOf(QWidget* window, const QWidget* other)
{
    if (QScreen* screen = other ? other->screen() : QGuiApplication::primaryScreen())
        centreWindow(window, screen->geometry(), screen);
}

void centreWindow(QWidget* window, const QRect& area, const QScreen* screen)
{
    if (screen)
        fitToScreen(window, screen); // so that the smaller frame is centred
    const QSize frame = expectedFrameSize(window);
    placeWindow(window,
                {area.x() + (area.width() - frame.width()) / 2,
                 area.y() + (area.height() - frame.height()) / 2},
                screen);
}

namespace {

// Runs an action each time the watched window is about to appear, after it
// has settled its size and before it is put on the screen.
class ShowHook : public QObject {
public:
    ShowHook(QWidget* watched, std::function<void()> action)
        : QObject(watched), m_action(std::move(action))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parent() && event->type() == QEvent::Show)
            m_action();
        return false;
    }

private:
    std::function<void()> m_action;
};

QPoint platformDialogPosition(const QRect& monitor, const QSize& dialog)
{
    return QPoint(monitor.left() + (monitor.width() - dialog.width()) / 2,
                  monitor.top() + (monitor.height() - dialog.height()) / 3);
}

void placePlatformDialog(QWidget* dialog, const QWidget* window)
{
    QScreen* screen = window ? window->screen() : dialog->screen();
    if (!screen)
        return;
    fitToScreen(dialog, screen);
    placeWindow(dialog, platformDialogPosition(screen->geometry(), expectedFrameSize(dialog)),
                screen);
}

} // namespace

void placePlatformDialogOnShow(QWidget* dialog, const QWidget* window, std::function<void()> first)
{
    QPointer<const QWidget> owner(window);
    new ShowHook(dialog, [dialog, owner, first = std::move(first)] {
        if (first)
            first();
        placePlatformDialog(dialog, owner.data());
    });
}
