#pragma once

#include <QApplication>

// The application object. Every event is dispatched inside a guard: an error
// that escapes a handler is shown in the error box and the event loop goes on.
class GuardedApplication : public QApplication {
    Q_OBJECT
public:
    GuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
