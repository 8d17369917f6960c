// Nuvalora Sex Planner: start-up, the event loop and shutdown.

#include "guardedapplication.h"
#include "program.h"

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    Program program;
    program.show();
    return app.exec();
}
