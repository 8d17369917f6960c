#pragma once

// What a screen reader sees of Qt's text controls, in this program's windows
// and in Qt's own dialogs: line boxes (editable or read-only, those of combo
// boxes and of the save dialog's file name among them), spin boxes and
// multi-line text boxes. They show as Qt shows them, and answer every
// question about their text at once (textboundaries.h); a read-only box
// offers no editing.

class QAccessibleInterface;
class QWidget;

// The interface for the widget if it is such a control, or none.
QAccessibleInterface* makeTextAccessible(QWidget* widget);
