#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

// Ends the process at the watched window's first paint, so that a process's
// whole run measures its start-up to the first picture. The event loop stops
// once the paint under way (and its flush to the screen, which comes in the
// same step) is done, before anything queued for after the first paint runs,
// such as the date dialog the program makes then.
class FirstPaintQuits : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QCoreApplication::exit(0);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};
