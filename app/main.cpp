// Nuvalora Sex Planner: start-up, the event loop and shutdown.

#include "applicationerror.h"
#include "guardedapplication.h"
#include "program.h"

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    return runApplication([] {
        Program program;
        program.show();
        return QApplication::exec();
    });
}
