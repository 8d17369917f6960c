#include "daynumber.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTest>

class TestDayNumber : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { setDisplayDatePattern(QStringLiteral("M/d/yy")); }
    void knownDays_data();
    void knownDays();
    void dayTexts();
    void displayUnderFallbackPattern();
    void cLocaleSuppliesNoPattern();
    void localePatternIsUsed();
    void datesOutsideTheYears1To9999_data();
    void datesOutsideTheYears1To9999();
    void absurdDaysNeverCrash();
};

void TestDayNumber::knownDays_data()
{
    QTest::addColumn<qint64>("day");
    QTest::addColumn<QDate>("date");
    QTest::newRow("day 0") << qint64(0) << QDate(1899, 12, 30);
    QTest::newRow("day -1") << qint64(-1) << QDate(1899, 12, 29);
    QTest::newRow("2001-01-01") << qint64(36892) << QDate(2001, 1, 1);
    QTest::newRow("2001-04-13") << qint64(36994) << QDate(2001, 4, 13);
    QTest::newRow("1927-05-18") << qint64(10000) << QDate(1927, 5, 18);
    QTest::newRow("2173-10-13") << qint64(99999) << QDate(2173, 10, 13);
}

void TestDayNumber::knownDays()
{
    QFETCH(qint64, day);
    QFETCH(QDate, date);
    QCOMPARE(dateOfDay(day), date);
    QCOMPARE(dayOfDate(date), day);
}

void TestDayNumber::dayTexts()
{
    QCOMPARE(dayText(36994), QByteArray("36994"));
    QCOMPARE(dayText(-1), QByteArray("-1"));
    QCOMPARE(dayText(0), QByteArray("0"));
}

void TestDayNumber::displayUnderFallbackPattern()
{
    QCOMPARE(displayDate(DayNumber(36994)), QStringLiteral("4/13/01"));
    QCOMPARE(displayDate(36994.0), QStringLiteral("4/13/01"));
    QCOMPARE(displayDate(DayNumber(36892)), QStringLiteral("1/1/01"));
}

void TestDayNumber::cLocaleSuppliesNoPattern()
{
    // A locale without a short pattern (the C locale) leaves the fallback.
    setDisplayDatePattern(QString());
    QCOMPARE(displayDatePattern(), QStringLiteral("M/d/yy"));
    QCOMPARE(displayDate(DayNumber(36994)), QStringLiteral("4/13/01"));
}

void TestDayNumber::localePatternIsUsed()
{
    setDisplayDatePattern(QStringLiteral("dd.MM.yyyy"));
    QCOMPARE(displayDate(DayNumber(36994)), QStringLiteral("13.04.2001"));
    // The tests run under en_US, whose short pattern is M/d/yy.
    QCOMPARE(localeShortDatePattern(), QStringLiteral("M/d/yy"));
}

void TestDayNumber::datesOutsideTheYears1To9999_data()
{
    QTest::addColumn<qint64>("day");
    QTest::addColumn<QString>("shown");
    QTest::newRow("1 January 10000")
        << dayOfDate(QDate(10000, 1, 1)) << QStringLiteral("+10000-01-01");
    QTest::newRow("31 December 1 BC")
        << dayOfDate(QDate(-1, 12, 31)) << QStringLiteral("+0000-12-31");
    QTest::newRow("2 BC") << dayOfDate(QDate(-2, 3, 4)) << QStringLiteral("-0001-03-04");
    QTest::newRow("last day of 9999 stays local")
        << dayOfDate(QDate(9999, 12, 31)) << QStringLiteral("12/31/99");
    QTest::newRow("first day of year 1 stays local")
        << dayOfDate(QDate(1, 1, 1)) << QStringLiteral("1/1/01");
}

void TestDayNumber::datesOutsideTheYears1To9999()
{
    QFETCH(qint64, day);
    QFETCH(QString, shown);
    QCOMPARE(displayDate(DayNumber(day)), shown);
}

void TestDayNumber::absurdDaysNeverCrash()
{
    QCOMPARE(displayDate(std::numeric_limits<DayNumber>::max()),
             QStringLiteral("day 9223372036854775807"));
    QCOMPARE(displayDate(1e300), QStringLiteral("day 1e+300"));
    // The farthest a 32-bit day plus a 32-bit length can reach.
    const QString farPast = displayDate(-4294967296.0);
    QVERIFY2(
        QRegularExpression(QStringLiteral("^-117\\d{5}-\\d\\d-\\d\\d$")).match(farPast).hasMatch(),
        qPrintable(farPast));
}

QTEST_APPLESS_MAIN(TestDayNumber)
#include "tst_daynumber.moc"
