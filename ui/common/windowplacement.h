#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>

class QScreen;
class QWidget;

// Where the program puts its windows. Each window has a designed place for
// the top-left corner of its frame (centred on the screen, say); it goes
// there wherever it then fits the screen. On a small or scaled screen the
// frame is kept inside the screen's available area (the desktop's panels
// left out). A window that may be resized opens no larger than that area;
// one too large for it even so shows its contents in a scroll area that fits
// (see scrolledcontents.h). A frame larger than the area after all starts at
// its top-left corner, so that the title bar can be reached.
//
// Place a window before it is first shown: only then does the desktop take
// the place as that of the frame rather than of the client area. Its frame
// is not known until then either, so the frame of the window it belongs to
// stands in for it, and the window is fitted again once it has its own.

// The top-left corner for a frame of the given size whose design asks for
// the designed place.
QPoint keptOnScreen(const QPoint& designed, const QSize& frame, const QRect& available);

// The largest client area whose frame fits the screen's available area.
QSize roomOnScreen(const QWidget* window, const QScreen* screen);

// Moves the window's frame to its designed place, kept on the screen.
void placeWindow(QWidget* window, const QPoint& designed, const QScreen* screen);

// Moves the window's frame to the centre of the area (the whole screen or its
// available part), kept on the screen.
void centreWindow(QWidget* window, const QRect& area, const QScreen* screen);

// Centres the window on the whole screen that the other window stands on
// (the primary screen without one), kept on the screen.
void centreOnScreenOf(QWidget* window, const QWidget* other);

// The platform's save and print dialogs open on the monitor of the window
// they belong to, centred across it, with their top a third of the free
// height down, kept on the screen. This places the dialog so every time it is
// shown, after the action given, which may change the dialog first.
void placePlatformDialogOnShow(QWidget* dialog, const QWidget* window,
                               std::function<void()> first = {});
