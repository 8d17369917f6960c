// Nuvalora Sex Planner: start-up, the event loop and shutdown.

#include "main.h"
#include "applicationerror.h"
#include "desktopcheck.h"
#include "guardedapplication.h"
#include "onecopy.h"
#include "program.h"

int main(int argc, char** argv)
{
    if (!checkForDesktop(argc, argv))
        return 1;
    GuardedApplication app(argc, argv);
    return runApplication([] {
        // Started again on the same month.dat, the program brings the running
        // copy forward instead of opening a second window.
        OneCopy oneCopy;
        if (oneCopy.handedOver())
            return 0;
        Program program;
        oneCopy.bringForwardOnRequest(program.mainWindow());
        program.show();
        return QApplication::exec();
    });
}
