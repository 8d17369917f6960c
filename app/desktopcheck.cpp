#include "desktopcheck.h"

#include <QByteArray>
#include <QList>
#include <cstdio>

namespace {

// The platforms Qt is asked for, read as QGuiApplication reads them:
// QT_QPA_PLATFORM, or else the X11 default, unless an argument -platform
// (or --platform) names others; the last one counts, and an option that takes
// a value takes the next argument, whatever it is.
QByteArray askedPlatforms(int argc, char** argv)
{
    QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
    if (platforms.isEmpty())
        platforms = "xcb";
    for (int i = 1; i < argc; ++i) {
        QByteArrayView arg(argv[i]);
        if (arg.startsWith("--"))
            arg = arg.sliced(1);
        const bool takesValue = arg == "-platformpluginpath" || arg == "-platformtheme" ||
                                arg == "-qwindowgeometry" || arg == "-qwindowtitle" ||
                                arg == "-qwindowicon" ||
                                (platforms.startsWith("xcb") &&
                                 (arg == "-geometry" || arg == "-title" || arg == "-icon"));
        if (arg == "-platform" && i + 1 < argc)
            platforms = argv[++i];
        else if (takesValue)
            ++i;
    }
    return platforms;
}

// Whether one of the platforms is one other than X11 or Wayland, which need
// a display; Qt is left to start it, or to say why it cannot.
bool otherPlatformAsked(const QByteArray& platforms)
{
    for (const QByteArray& platform : platforms.split(';')) {
        const QByteArray name = platform.split(':').front().trimmed();
        if (!name.isEmpty() && name != "xcb" && !name.startsWith("wayland"))
            return true;
    }
    return false;
}

} // namespace

bool checkForDesktop(int argc, char** argv)
{
    if (otherPlatformAsked(askedPlatforms(argc, argv)) || !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    std::fputs("Nuvalora Sex Planner needs a graphical desktop: no display was found (DISPLAY is "
               "not set).\n",
               stderr);
    return false;
}
