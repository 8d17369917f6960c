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
        // The main window at 150 %, centred on a laptop's screen.
        QTest::newRow("fits") << QPoint(237, 100) << QSize(893, 600) << laptop << QPoint(237, 100);
        QTest::newRow("fills the area")
            << QPoint(0, 0) << QSize(1366, 768) << laptop << QPoint(0, 0);
        QTest::newRow("taller, title above")
            << QPoint(237, -22) << QSize(893, 833) << laptop << QPoint(237, 0);
        QTest::newRow("taller, below a panel")
            << QPoint(237, -22) << QSize(893, 833) << QRect(0, 30, 1366, 738) << QPoint(237, 30);
        QTest::newRow("bottom edge below")
            << QPoint(100, 500) << QSize(400, 300) << laptop << QPoint(100, 468);
        QTest::newRow("right edge beyond")
            << QPoint(1200, 100) << QSize(400, 300) << laptop << QPoint(966, 100);
        QTest::newRow("left edge before")
            << QPoint(-10, 100) << QSize(400, 300) << laptop << QPoint(0, 100);
        QTest::newRow("wider and taller")
            << QPoint(-50, -50) << QSize(2000, 1000) << laptop << QPoint(0, 0);
        QTest::newRow("on a second screen") << QPoint(1300, 900) << QSize(400, 300)
                                            << QRect(1366, 0, 1280, 1024) << QPoint(1366, 724);
        QTest::newRow("no screen known")
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
