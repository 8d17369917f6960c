// Loaded into the real program (LD_PRELOAD), this stands in for a Qt
// function that the program calls while it sets itself up, before any event
// is handled, and fails there: an error that escapes all event handling.

#include <QGuiApplication>
#include <stdexcept>

void QGuiApplication::setDesktopFileName(const QString&)
{
    throw std::runtime_error("Setting up failed");
}
