#pragma once

#include <QString>

class QMessageBox;

// The error box: every error that a handler does not catch ends up here, and
// the program carries on once the user has dismissed it.

// The text shown for a message: a full stop is added unless the message is
// empty or already ends in a character whose 8-bit code is "." (0x2E) or lower.
QString errorBoxText(const QString& message);

// The text as the box shows it: a message too long to read in a box keeps
// its start and its end around an ellipsis, the given number of characters
// in all (fewer where the box would not fit the screen otherwise).
constexpr qsizetype kErrorBoxKept = 900;
QString errorBoxShownText(const QString& message, qsizetype kept = kErrorBoxKept);

// Shows the error box (application-modal, titled with the application name)
// and returns when the user has dismissed it.
void showErrorBox(const QString& message);

// Runs a handler; an error that escapes it ends the handler there and is shown
// in the error box. Nothing escapes: no error may end the program.
template <typename Handler> void runGuarded(Handler&& handler);

// The message to show for whatever is being thrown right now.
QString currentErrorMessage();

template <typename Handler> void runGuarded(Handler&& handler)
{
    try {
        handler();
    } catch (...) {
        showErrorBox(currentErrorMessage());
    }
}
