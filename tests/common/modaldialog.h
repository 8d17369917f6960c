#pragma once

// Driving a real modal dialog from a test: the steps run while it is open.

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>

// What runDialog returns when the steps left the dialog open.
constexpr int kLeftOpen = 99;

template <typename T> T* child(QWidget& dialog, const char* name)
{
    return dialog.findChild<T*>(QLatin1String(name));
}

// Shows the dialog modally, as the main window does, with the steps done
// while it is open. Steps that leave it open get kLeftOpen, so that a failing
// check ends the run instead of hanging it.
inline int runDialog(QDialog& dialog, const std::function<void()>& steps)
{
    QTimer::singleShot(0, &dialog, [&dialog, steps] {
        if (QTest::qWaitForWindowActive(&dialog))
            steps();
        else
            QTest::qFail("the dialog did not become active", __FILE__, __LINE__);
        if (dialog.isVisible())
            dialog.done(kLeftOpen);
    });
    return dialog.exec();
}

inline void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key, modifiers);
}

inline QString focusName()
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
}
