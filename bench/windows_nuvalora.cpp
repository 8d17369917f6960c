// The program's windows opened as a user opens them, timed by OpeningTimer:
// the date dialog by Add Date..., the input box by Set Manually, Help by
// Alt+H, About by its button, and the error box by a close that cannot save
// (the dates are kept in a folder that cannot exist, the same in every run,
// so that the error box reads the same each time).

#include "guardedapplication.h"
#include "main.h"
#include "program.h"
#include "windows_probe.h"

#include <QPushButton>
#include <QTest>

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    Program program(QStringLiteral("/proc/nuvalora/month.dat"));
    TForm1* form = &program.mainWindow();
    auto click = [form](const char* button) {
        return [form, button] {
            QTest::mouseClick(form->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
        };
    };
    OpeningTimer timer(form,
                       {
                           {"date dialog", click("btnAdd")},
                           {"input box", click("btnSetLength")},
                           {"Help",
                            [form] {
                                QWidget* focus = QApplication::focusWidget();
                                QTest::keyClick(focus ? focus : form, Qt::Key_H, Qt::AltModifier);
                            }},
                           {"About", click("BitBtn3")},
                           {"error box", click("BitBtn2")},
                       },
                       argc, argv);
    program.show();
    return app.exec();
}
