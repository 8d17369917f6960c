#include "desktopcheck.h"

#include <QByteArray>
#include <QList>
#include <cstdio>
#include <cstring>

namespace {

// Whether Qt is asked for a platform of its own choosing, by QT_QPA_PLATFORM
// or -platform, other than X11 or Wayland, which need a display.
bool otherPlatformAsked(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    const QList<QByteArray> platforms = qgetenv("QT_QPA_PLATFORM").split(';');
    for (const QByteArray& platform : platforms) {
        const QByteArray name = platform.split(':').front().trimmed();
        if (!name.isEmpty() && name != "xcb" && !name.startsWith("wayland"))
            return true;
    }
    return false;
}

} // namespace

bool checkForDesktop(int argc, char** argv)
{
    if (otherPlatformAsked(argc, argv) || !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    std::fputs("Nuvalora Sex Planner needs a graphical desktop: no display was found (DISPLAY is "
               "not set).\n",
               stderr);
    return false;
}
