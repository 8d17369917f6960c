// The program's own start-up, ended at the main window's first paint.

#include "guardedapplication.h"
#include "main.h"
#include "program.h"
#include "startup_probe.h"

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    Program program;
    program.mainWindow().installEventFilter(new FirstPaintQuits(&app));
    program.show();
    return app.exec();
}
