#include "windowplacement.h"

#include <QTest>

// Where a window's frame goes: its designed place wherever it fits the
// screen's available area, otherwise pulled in, its title bar always on it.
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
};

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
