#pragma once

// Whether there is a desktop to show the windows on. Qt, finding no display
// for its X11 platform, ends the program with an abort and a core dump; this
// says instead, in one line on standard error, that the program needs a
// graphical desktop, and the program ends with exit code 1, whether X11 is
// Qt's default or asked for by QT_QPA_PLATFORM or -platform. Platforms that
// need no display (offscreen, say) and Wayland sessions are left to Qt.
bool checkForDesktop(int argc, char** argv);
