#pragma once

#include <QString>
#include <functional>

// An error that escapes all event handling (while the windows are being
// built, say) ends the program: it is shown in the "Application Error" box,
// and the program ends with exit code 1.

// Runs the program and returns its exit code; an error escaping it is shown
// in the box and gives 1.
int runApplication(const std::function<int()>& run);

// The box's text for the error being handled: "Exception <kind> in module
// <module> at <address>." and, on the next line, the message with a full
// stop. The module is the file in which the error was raised and the
// address an offset into it, where the platform can tell them.
QString applicationErrorText();
