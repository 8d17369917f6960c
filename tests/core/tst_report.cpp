#include "datelist.h"
#include "daynumber.h"
#include "error.h"
#include "report.h"

#include <QTest>

namespace {

// Stands in for the results box and the length box.
class RecordingSink : public ReportSink {
public:
    void clearLines() override { lines.clear(); }
    void addLine(const QString& line) override { lines << line; }
    QString lengthText() const override { return length; }
    void setLengthText(const QString& text) override { length = text; }

    QStringList lines{QStringLiteral("old line")};
    QString length;
};

void addDays(DateList& list, std::initializer_list<DayNumber> days)
{
    for (DayNumber day : days)
        list.add(dayText(day));
}

QString shown(DayNumber day)
{
    return displayDate(day);
}

QStringList fullReport(const QString& firstLine, DayNumber next)
{
    const DayNumber best = next - 14;
    return {firstLine, QStringLiteral("Next Period: ") + shown(next), QStringLiteral(" "),
            QStringLiteral("Recommended dates for sex:  Everyday from ") + shown(best - 5) +
                QStringLiteral(" to ") + shown(best + 1),
            QStringLiteral("Best day for sex:  ") + shown(best) +
                QStringLiteral("  (1 chance in 3 of conceiving)")};
}

constexpr DayNumber d = 36994; // 13 April 2001

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { setDisplayDatePattern(QStringLiteral("M/d/yy")); }
    void emptyListAsksForADate();
    void workedExampleOfThreeCycles();
    void oneRowUsesTheTypicalLength();
    void averageRoundsHalfToEven_data();
    void averageRoundsHalfToEven();
    void manualLengthIsUsedAsTyped_data();
    void manualLengthIsUsedAsTyped();
    void outOfOrderListFollowsTheLastRow();
    void unreadableRowAmongSeveralLeavesNothing();
    void unreadableSingleRowLeavesTheLengthLine();
    void unreadableManualLengthLeavesNothing();
    void averageOfExtremeRowsIsDefined();
};

void TestReport::emptyListAsksForADate()
{
    RecordingSink sink;
    sink.length = QStringLiteral("31");
    buildReport(DateList(), CycleMode::Automatic, sink);
    QCOMPARE(sink.lines,
             QStringList{QStringLiteral("Please enter the date of the start of your last period")});
    QCOMPARE(sink.length, QStringLiteral("31"));
    buildReport(DateList(), CycleMode::Manual, sink);
    QCOMPARE(sink.lines.size(), 1);
}

void TestReport::workedExampleOfThreeCycles()
{
    // 4 March, 1 April and 29 April 2001.
    DateList list;
    addDays(list, {dayOfDate(QDate(2001, 3, 4)), dayOfDate(QDate(2001, 4, 1)),
                   dayOfDate(QDate(2001, 4, 29))});
    RecordingSink sink;
    buildReport(list, CycleMode::Automatic, sink);
    QCOMPARE(
        sink.lines,
        (QStringList{QStringLiteral("Average Length of Menstrual Cycle: 28"),
                     QStringLiteral("Next Period: 5/27/01"), QStringLiteral(" "),
                     QStringLiteral("Recommended dates for sex:  Everyday from 5/8/01 to 5/14/01"),
                     QStringLiteral("Best day for sex:  5/13/01  (1 chance in 3 of conceiving)")}));
    QCOMPARE(sink.length, QStringLiteral("28"));
}

void TestReport::oneRowUsesTheTypicalLength()
{
    RecordingSink sink;
    DateList list;
    addDays(list, {d});
    buildReport(list, CycleMode::Automatic, sink);
    QCOMPARE(sink.lines,
             fullReport(QStringLiteral("Using a typical length of menstrual cycle of 28"), d + 28));
    QCOMPARE(sink.lines[3], QStringLiteral("Recommended dates for sex:  Everyday from ") +
                                shown(d + 9) + QStringLiteral(" to ") + shown(d + 15));
    QCOMPARE(sink.length, QStringLiteral("28"));
}

void TestReport::averageRoundsHalfToEven_data()
{
    QTest::addColumn<QList<qint64>>("days");
    QTest::addColumn<int>("average");
    QTest::newRow("one gap of 57") << QList<qint64>{d, d + 57} << 57;
    QTest::newRow("57/2 goes down") << QList<qint64>{d, d + 28, d + 57} << 28;
    QTest::newRow("59/2 goes up") << QList<qint64>{d, d + 29, d + 59} << 30;
    QTest::newRow("85/3") << QList<qint64>{d, d + 28, d + 56, d + 85} << 28;
    QTest::newRow("equal dates") << QList<qint64>{d, d} << 0;
}

void TestReport::averageRoundsHalfToEven()
{
    QFETCH(QList<qint64>, days);
    QFETCH(int, average);
    DateList list;
    for (qint64 day : days)
        list.add(dayText(day));
    QCOMPARE(averageCycleLength(list), average);
    RecordingSink sink;
    buildReport(list, CycleMode::Automatic, sink);
    QCOMPARE(sink.lines,
             fullReport(QStringLiteral("Average Length of Menstrual Cycle: %1").arg(average),
                        days.last() + average));
}

void TestReport::manualLengthIsUsedAsTyped_data()
{
    QTest::addColumn<QString>("length");
    QTest::addColumn<int>("value");
    QTest::newRow("30") << QStringLiteral("30") << 30;
    QTest::newRow("zero") << QStringLiteral("0") << 0;
    QTest::newRow("negative") << QStringLiteral("-5") << -5;
    QTest::newRow("hexadecimal") << QStringLiteral("$1E") << 30;
}

void TestReport::manualLengthIsUsedAsTyped()
{
    QFETCH(QString, length);
    QFETCH(int, value);
    RecordingSink sink;
    sink.length = length;
    DateList list;
    addDays(list, {d - 40, d});
    buildReport(list, CycleMode::Manual, sink);
    QCOMPARE(sink.lines,
             fullReport(QStringLiteral("Using a manually set menstrual cycle of %1").arg(value),
                        d + value));
    QCOMPARE(sink.length, QString::number(value));
}

void TestReport::outOfOrderListFollowsTheLastRow()
{
    DateList list;
    addDays(list, {d, d + 30});
    list.replace(0, dayText(d + 118));
    list.replace(1, dayText(d));
    RecordingSink sink;
    buildReport(list, CycleMode::Automatic, sink);
    QCOMPARE(sink.lines,
             fullReport(QStringLiteral("Average Length of Menstrual Cycle: -118"), d - 118));
    QCOMPARE(sink.length, QStringLiteral("-118"));
}

void TestReport::unreadableRowAmongSeveralLeavesNothing()
{
    DateList list;
    addDays(list, {d, d + 28});
    list.add("abc");
    RecordingSink sink;
    sink.length = QStringLiteral("31");
    try {
        buildReport(list, CycleMode::Automatic, sink);
        QFAIL("a report over an unreadable row succeeded");
    } catch (const NuvaloraError& error) {
        QCOMPARE(error.message(), QStringLiteral("'abc' is not a valid integer value"));
    }
    QVERIFY(sink.lines.isEmpty());
    QCOMPARE(sink.length, QStringLiteral("31"));
}

void TestReport::unreadableSingleRowLeavesTheLengthLine()
{
    DateList list;
    list.add("36994 ");
    RecordingSink sink;
    QVERIFY_THROWS_EXCEPTION(NuvaloraError, buildReport(list, CycleMode::Automatic, sink));
    QCOMPARE(sink.lines,
             QStringList{QStringLiteral("Using a typical length of menstrual cycle of 28")});
    QCOMPARE(sink.length, QStringLiteral("28"));

    // In manual mode an unreadable last row fails after the length line too.
    sink.length = QStringLiteral("30");
    QVERIFY_THROWS_EXCEPTION(NuvaloraError, buildReport(list, CycleMode::Manual, sink));
    QCOMPARE(sink.lines, QStringList{QStringLiteral("Using a manually set menstrual cycle of 30")});
}

void TestReport::unreadableManualLengthLeavesNothing()
{
    RecordingSink sink;
    sink.length = QStringLiteral("28.5");
    try {
        DateList list;
        addDays(list, {d});
        buildReport(list, CycleMode::Manual, sink);
        QFAIL("an unreadable length was used");
    } catch (const NuvaloraError& error) {
        QCOMPARE(error.message(), QStringLiteral("'28.5' is not a valid integer value"));
    }
    QVERIFY(sink.lines.isEmpty());
    QCOMPARE(sink.length, QStringLiteral("28.5"));
}

void TestReport::averageOfExtremeRowsIsDefined()
{
    // The gaps overflow 32 bits; the sum wraps around as a 32-bit sum does
    // (the sanitizer build would stop on signed overflow).
    DateList list;
    list.assign({"-2147483648", "2147483647"});
    QCOMPARE(averageCycleLength(list), -1);
    RecordingSink sink;
    buildReport(list, CycleMode::Automatic, sink);
    QCOMPARE(sink.lines.size(), 5);
    QCOMPARE(sink.lines[0], QStringLiteral("Average Length of Menstrual Cycle: -1"));
}

QTEST_APPLESS_MAIN(TestReport)
#include "tst_report.moc"
