#include "windowplacement.h"

#include <QApplication>
#include <QBoxLayout>
#include <QGridLayout>
#include <QPushButton>
#include <QScreen>
#include <QTest>

// Where a window's frame goes: its designed place wherever it fits the
// screen's available area, otherwise pulled in, its title bar always on it;
// a window too large for the area scrolls, and Tab keeps the focus in view.
class TestWindowPlacement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keptOnScreen_data()
    {
        QTest::addColumn<QPoint>("designed");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("expected");
        const QRect laptop(0, 0, 1366, 768);
        const QSize main150(893, 833); // the main window at 150 %, framed
        QTest::newRow("fits") << QPoint(237, 100) << QSize(893, 600) << laptop << QPoint(237, 100);
        QTest::newRow("title above") << QPoint(237, -33) << main150 << laptop << QPoint(237, 0);
        QTest::newRow("below a panel")
            << QPoint(237, -33) << main150 << QRect(0, 30, 1366, 738) << QPoint(237, 30);
        QTest::newRow("bottom below")
            << QPoint(100, 500) << QSize(400, 300) << laptop << QPoint(100, 468);
        QTest::newRow("larger") << QPoint(-50, -50) << QSize(2000, 1000) << laptop << QPoint(0, 0);
        QTest::newRow("second screen") << QPoint(2600, 900) << QSize(400, 300)
                                       << QRect(1366, 0, 1280, 1024) << QPoint(2246, 724);
        QTest::newRow("no screen")
            << QPoint(-5, -7) << QSize(400, 300) << QRect() << QPoint(-5, -7);
    }

    void keptOnScreen()
    {
        QFETCH(QPoint, designed);
        QFETCH(QSize, frame);
        QFETCH(QRect, available);
        QFETCH(QPoint, expected);
        QCOMPARE(::keptOnScreen(designed, frame, available), expected);
    }

    void everyControlInView_data()
    {
        QTest::addColumn<int>("layout");   // none, a box or a grid
        QTest::addColumn<int>("overflow"); // designed height past the available area
        for (int layout : {0, 1, 2})
            for (int overflow : {100, -100})
                QTest::addRow("layout %d, %d past", layout, overflow) << layout << overflow;
    }

    // Buttons 40 pixels apart down the window.
    void everyControlInView()
    {
        QFETCH(int, layout);
        QFETCH(int, overflow);
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget window;
        QLayout* laidOut = layout == 1   ? static_cast<QLayout*>(new QVBoxLayout(&window))
                           : layout == 2 ? new QGridLayout(&window)
                                         : nullptr;
        QList<QPushButton*> buttons;
        for (int i = 0; i < (available.height() + overflow) / 40; ++i) {
            buttons << new QPushButton(QString::number(i), &window);
            buttons.back()->setGeometry(8, 40 * i + 4, 100, 32);
            buttons.back()->setMinimumHeight(32);
            if (laidOut)
                laidOut->addWidget(buttons.back());
        }
        if (!laidOut)
            window.setFixedSize(300, 40 * buttons.size());
        std::reverse(buttons.begin(), buttons.end()); // a tab order of its own, bottom up
        for (qsizetype i = 1; i < buttons.size(); ++i)
            QWidget::setTabOrder(buttons[i - 1], buttons[i]);
        window.resize(window.sizeHint());
        const QSize designed = window.size();
        buttons.front()->setFocus();
        centreOnScreenOf(&window, nullptr);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QVERIFY(available.contains(window.frameGeometry()));
        QVERIFY(overflow > 0 || window.size() == designed);
        // Tab goes round in the designed order, each control brought into view.
        for (qsizetype i = 1; i <= buttons.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QPushButton* button = buttons[i % buttons.size()];
            QCOMPARE(QApplication::focusWidget(), button);
            QCOMPARE(button->height(), 32); // not squeezed
            QCOMPARE(button->visibleRegion().boundingRect(), button->rect());
        }
    }
};

QTEST_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
