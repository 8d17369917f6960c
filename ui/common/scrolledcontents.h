#pragma once

#include <QSize>

class QWidget;

// A window too large for the room it has on the screen shows its contents in
// a scroll area that fits that room, so that every control can still be
// reached with the mouse. It opens showing its top-left corner, where its
// reading starts; the area brings each control that Tab or an arrow key
// moves the focus to into view. A window that fits is left exactly as
// designed: the same size and the same widgets.
//
// The room is the largest client area the window may have. A window of fixed
// size scrolls when its size does not fit, and becomes as large as it needs
// for its contents and the scroll bars, at most the room; a window that may
// be resized scrolls only when its smallest size does not fit. Once scrolled,
// a window stays so.
void scrollContentsToFit(QWidget* window, const QSize& room);
