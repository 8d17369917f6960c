// The program's own start-up, ended at the main window's first paint.

#include "guardedapplication.h"
#include "main.h"
#include "onecopy.h"
#include "program.h"
#include "startup_probe.h"

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    // As the program does: the look for a running copy is part of its start.
    OneCopy oneCopy;
    if (oneCopy.handedOver())
        return 1;
    Program program;
    oneCopy.bringForwardOnRequest(program.mainWindow());
    program.mainWindow().installEventFilter(new FirstPaintQuits(&app));
    program.show();
    return app.exec();
}
