// Nuvalora Sex Planner: start-up, the event loop and shutdown.

#include "main.h"
#include "datestore.h"
#include "daynumber.h"
#include "getdate.h"
#include "guardedapplication.h"
#include "programfont.h"
#include "programstyle.h"

#include <QIcon>
#include <QSessionManager>
#include <QStyleFactory>

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    app.setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.bmp")));
    // The application title names the program in the task list and heads
    // every error box.
    app.setApplicationName(QStringLiteral("Nuvalora Sex Planner"));
    app.setDesktopFileName(QStringLiteral("nuvalora"));
    app.setStyle(new ProgramStyle);
    registerFontSubstitutes();
    setDisplayDatePattern(localeShortDatePattern());

    TForm1 form1(DateStore::defaultPath());
    auto* form2 = new TForm2(&form1); // hidden until a date is asked for
    form1.setDateDialog(form2);

    // At log-off the dates are kept as a close would keep them.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form1,
                     [&form1](QSessionManager&) { form1.saveForSessionEnd(); });

    form1.show();
    return app.exec();
}
