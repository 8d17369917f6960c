// The smallest Qt Widgets program: one empty window, ended at its first paint.

#include "startup_probe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.installEventFilter(new FirstPaintQuits(&app));
    window.show();
    return app.exec();
}
