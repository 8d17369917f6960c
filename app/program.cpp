#include "program.h"

#include "datestore.h"
#include "daynumber.h"
#include "getdate.h"
#include "main.h"
#include "programfont.h"
#include "programstyle.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>

Program::Program()
{
    // The application title names the program in the task list and heads
    // every error box.
    QApplication::setApplicationName(QStringLiteral("Nuvalora Sex Planner"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.bmp")));
    QApplication::setDesktopFileName(QStringLiteral("nuvalora"));
    // The classic style: group box captions on their frames, as designed.
    QApplication::setStyle(new ProgramStyle(QStringLiteral("Windows")));
    registerFontSubstitutes();
    setDisplayDatePattern(localeShortDatePattern());

    m_mainWindow = std::make_unique<TForm1>(DateStore::defaultPath());
    m_mainWindow->setDateDialog(new TForm2(m_mainWindow.get())); // hidden until asked

    // At log-off the dates are kept as a close would keep them.
    TForm1* form = m_mainWindow.get();
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, form,
                     [form](QSessionManager&) { form->saveForSessionEnd(); });
}

Program::~Program() = default;

void Program::show()
{
    m_mainWindow->show();
}
