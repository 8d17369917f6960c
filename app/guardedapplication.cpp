#include "guardedapplication.h"

#include "errorbox.h"

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showErrorBox(currentErrorMessage());
        return false;
    }
}
