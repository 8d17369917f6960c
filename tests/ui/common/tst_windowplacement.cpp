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
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("overflow"); // designed height beyond the available area
        for (const char* layout : {"none", "box", "grid"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, too tall").arg(layout))) << layout << 100;
            QTest::newRow(qPrintable(QStringLiteral("%1, fits").arg(layout))) << layout << -100;
        }
    }

    // Buttons down the window, 40 pixels apart, in tab order; without a
    // layout the window has their height as its fixed size.
    void everyControlInView()
    {
        QFETCH(QString, layout);
        QFETCH(int, overflow);
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        const int count = (available.height() + overflow) / 40;
        QWidget window;
        auto* box = layout == QLatin1String("box") ? new QVBoxLayout(&window) : nullptr;
        auto* grid = layout == QLatin1String("grid") ? new QGridLayout(&window) : nullptr;
        QList<QPushButton*> buttons;
        for (int i = 0; i < count; ++i) {
            auto* button = new QPushButton(QString::number(i), &window);
            button->setGeometry(8, 40 * i + 4, 100, 32);
            button->setMinimumHeight(32);
            if (box)
                box->addWidget(button);
            if (grid)
                grid->addWidget(button, i, i % 2);
            buttons << button;
        }
        if (!box && !grid)
            window.setFixedSize(300, 40 * count);
        window.resize(window.sizeHint());
        const QSize designed = window.size();
        buttons.front()->setFocus();
        centreOnScreenOf(&window, nullptr);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QVERIFY(available.contains(window.frameGeometry()));
        if (overflow < 0)
            QCOMPARE(window.size(), designed);
        for (QPushButton* button : buttons) {
            QCOMPARE(QApplication::focusWidget(), button);
            QCOMPARE(button->height(), 32); // not squeezed
            QCOMPARE(button->visibleRegion().boundingRect(), button->rect());
            QTest::keyClick(button, Qt::Key_Tab);
        }
    }
};

QTEST_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
