#pragma once

class QWidget;

// Gives a window the keyboard habits of a desktop dialog: Enter presses the
// button that has the focus, and while the focus is on a button, the marked
// letter of a caption ("&Close": C) alone presses that caption's button.
void installButtonKeys(QWidget* window);
