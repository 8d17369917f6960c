// Nuvalora Sex Planner: start-up, the event loop and shutdown.

#include "applicationerror.h"
#include "desktopcheck.h"
#include "guardedapplication.h"
#include "program.h"

int main(int argc, char** argv)
{
    if (!checkForDesktop(argc, argv))
        return 1;
    GuardedApplication app(argc, argv);
    return runApplication([] {
        Program program;
        program.show();
        return QApplication::exec();
    });
}
