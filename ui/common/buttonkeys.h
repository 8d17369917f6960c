#pragma once

class QWidget;

// Gives a window the keyboard habits of a desktop dialog: Enter presses the
// button that has the focus; Alt with the marked letter of a caption ("&Close":
// C) presses that caption's button at once, and so does the letter alone while
// the focus is on a button.
void installButtonKeys(QWidget* window);
