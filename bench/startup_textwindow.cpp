// The smallest Qt Widgets program that shows text as the program does: one
// fixed 594 x 541 window holding a label of two lines in the program's font,
// set up the same way, ended at its first paint.

#include "programfont.h"
#include "startup_probe.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    registerFontSubstitutes();
    QWidget window;
    window.setFont(programFont());
    window.setFixedSize(594, 541);
    QLabel label(QStringLiteral("Enter the dates of the first day of your period\n"
                                "Average Length of Menstrual Cycle:"),
                 &window);
    label.move(12, 12);
    window.installEventFilter(new FirstPaintQuits(&app));
    window.show();
    return app.exec();
}
