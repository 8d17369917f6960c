#include "sessionend.h"

#include "main.h"

#include <QApplication>
#include <QSessionManager>

namespace {

// The desktop asks the program to end with a quit request of its own, the
// one that comes from outside; the program posts its own quit only once its
// main window has closed.
class SessionQuitWatcher : public QObject {
public:
    explicit SessionQuitWatcher(TForm1* mainWindow) : QObject(mainWindow), m_mainWindow(mainWindow)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == qApp && event->type() == QEvent::Quit && event->spontaneous())
            m_mainWindow->endWithSession();
        return false;
    }

private:
    TForm1* m_mainWindow;
};

} // namespace

void endWithTheSession(TForm1& mainWindow)
{
    TForm1* form = &mainWindow;
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, form,
                     [form](QSessionManager&) { form->saveForSessionEnd(); });
    new SessionQuitWatcher(form);
}
