#include "program.h"

#include "datestore.h"
#include "daynumber.h"
#include "main.h"
#include "programfont.h"
#include "programstyle.h"
#include "resourcepicture.h"
#include "sessionend.h"

#include <QApplication>
#include <QTimer>

#include <csignal>

Program::Program(const QString& storePath)
{
    // The application title names the program in the task list and heads
    // every error box.
    QApplication::setApplicationName(QStringLiteral("Nuvalora Sex Planner"));
    QApplication::setWindowIcon(programIcon());
    QApplication::setDesktopFileName(QStringLiteral("nuvalora"));
    // The classic style: group box captions on their frames, as designed.
    QApplication::setStyle(new ProgramStyle(QStringLiteral("Windows")));
    registerFontSubstitutes();
    setDisplayDatePattern(localeShortDatePattern());
    // A file-size limit makes a write fail, as a full disk does, so that the
    // dates are kept whole and the failure is reported, instead of ending the
    // program part of the way through writing month.dat.
    std::signal(SIGXFSZ, SIG_IGN);

    m_mainWindow = std::make_unique<TForm1>(storePath);
    endWithTheSession(*m_mainWindow);
}

Program::~Program() = default;

namespace {

// The date selection dialog lives hidden for the whole run. It is made as
// soon as the main window has painted itself for the first time, so that
// building its calendar does not hold up the first sight of the window. A
// press that asks for a date before then makes it on the spot.
class DateDialogMaker : public QObject {
public:
    explicit DateDialogMaker(TForm1* mainWindow) : QObject(mainWindow), m_mainWindow(mainWindow)
    {
        mainWindow->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            m_mainWindow->removeEventFilter(this);
            QTimer::singleShot(0, m_mainWindow,
                               [mainWindow = m_mainWindow] { mainWindow->dateDialog(); });
            deleteLater();
        }
        return false;
    }

private:
    TForm1* m_mainWindow;
};

} // namespace

void Program::show()
{
    new DateDialogMaker(m_mainWindow.get());
    m_mainWindow->show();
}
