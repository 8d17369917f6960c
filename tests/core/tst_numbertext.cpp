#include "error.h"
#include "numbertext.h"

#include <QTest>
#include <cmath>
#include <limits>

class TestNumberText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readIntegerAccepts_data();
    void readIntegerAccepts();
    void readIntegerRejects_data();
    void readIntegerRejects();
    void readNumber_data();
    void readNumber();
    void readNumberRejects_data();
    void readNumberRejects();
    void roundsHalfToEven_data();
    void roundsHalfToEven();
    void roundRefusesWhatDoesNotFit();
    void integerTexts();
};

void TestNumberText::readIntegerAccepts_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("day text") << QByteArray("36994") << 36994;
    QTest::newRow("leading blanks") << QByteArray("  28") << 28;
    QTest::newRow("plus") << QByteArray("+28") << 28;
    QTest::newRow("minus") << QByteArray("-3") << -3;
    QTest::newRow("day before day 0") << QByteArray("-1") << -1;
    QTest::newRow("leading zeros") << QByteArray("000000000000000028") << 28;
    QTest::newRow("dollar hex") << QByteArray("$1C") << 28;
    QTest::newRow("x hex") << QByteArray("x1C") << 28;
    QTest::newRow("X hex") << QByteArray("X1c") << 28;
    QTest::newRow("0x hex") << QByteArray("0x1C") << 28;
    QTest::newRow("0X hex") << QByteArray("0X1e") << 30;
    QTest::newRow("blank then hex") << QByteArray(" $1E") << 30;
    QTest::newRow("highest") << QByteArray("2147483647") << std::numeric_limits<int>::max();
    QTest::newRow("lowest") << QByteArray("-2147483648") << std::numeric_limits<int>::min();
    QTest::newRow("highest hex") << QByteArray("$7FFFFFFF") << std::numeric_limits<int>::max();
    QTest::newRow("zero") << QByteArray("0") << 0;
    QTest::newRow("minus zero") << QByteArray("-0") << 0;
}

void TestNumberText::readIntegerAccepts()
{
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    QCOMPARE(readInteger(text), value);
}

void TestNumberText::readIntegerRejects_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("blanks only") << QByteArray("   ");
    QTest::newRow("trailing blank") << QByteArray("28 ");
    QTest::newRow("tab before") << QByteArray("\t28");
    QTest::newRow("fraction") << QByteArray("28.5");
    QTest::newRow("letters") << QByteArray("abc");
    QTest::newRow("sign alone") << QByteArray("-");
    QTest::newRow("double sign") << QByteArray("+-3");
    QTest::newRow("sign before hex") << QByteArray("-$1C");
    QTest::newRow("plus before hex") << QByteArray("+0x1C");
    QTest::newRow("prefix alone") << QByteArray("$");
    QTest::newRow("0x alone") << QByteArray("0x");
    QTest::newRow("bad hex digit") << QByteArray("$1G");
    QTest::newRow("too high") << QByteArray("2147483648");
    QTest::newRow("too low") << QByteArray("-2147483649");
    QTest::newRow("hex too high") << QByteArray("$80000000");
    QTest::newRow("very long") << QByteArray(400, '9');
    QTest::newRow("nul inside") << QByteArray("28\0", 3);
    QTest::newRow("digit then x") << QByteArray("00x1C");
}

void TestNumberText::readIntegerRejects()
{
    QFETCH(QByteArray, text);
    try {
        readInteger(text);
        QFAIL("the text was accepted");
    } catch (const NuvaloraError& error) {
        QCOMPARE(
            error.message(),
            QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLocal8Bit(text)));
    }
}

void TestNumberText::readNumber_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<double>("value");
    QTest::newRow("day text") << QByteArray("36994") << QChar(u'.') << 36994.0;
    QTest::newRow("negative") << QByteArray("-1") << QChar(u'.') << -1.0;
    QTest::newRow("blanks both sides") << QByteArray(" 12 ") << QChar(u'.') << 12.0;
    QTest::newRow("fraction") << QByteArray("36994.5") << QChar(u'.') << 36994.5;
    QTest::newRow("comma locale") << QByteArray("2,25") << QChar(u',') << 2.25;
    QTest::newRow("exponent") << QByteArray("3.7e4") << QChar(u'.') << 37000.0;
    QTest::newRow("no integer part") << QByteArray(".5") << QChar(u'.') << 0.5;
    QTest::newRow("no fraction digits") << QByteArray("7.") << QChar(u'.') << 7.0;
}

void TestNumberText::readNumber()
{
    QFETCH(QByteArray, text);
    QFETCH(QChar, separator);
    QFETCH(double, value);
    QCOMPARE(::readNumber(text, separator), value);
}

void TestNumberText::readNumberRejects_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QChar>("separator");
    QTest::newRow("empty") << QByteArray("") << QChar(u'.');
    QTest::newRow("letters") << QByteArray("abc") << QChar(u'.');
    QTest::newRow("point in comma locale") << QByteArray("2.5") << QChar(u',');
    QTest::newRow("separator alone") << QByteArray(".") << QChar(u'.');
    QTest::newRow("exponent without digits") << QByteArray("1e") << QChar(u'.');
    QTest::newRow("overflow") << QByteArray("1e400") << QChar(u'.');
    QTest::newRow("infinity word") << QByteArray("inf") << QChar(u'.');
    QTest::newRow("hex") << QByteArray("$1C") << QChar(u'.');
    QTest::newRow("trailing junk") << QByteArray("12x") << QChar(u'.');
}

void TestNumberText::readNumberRejects()
{
    QFETCH(QByteArray, text);
    QFETCH(QChar, separator);
    try {
        ::readNumber(text, separator);
        QFAIL("the text was accepted");
    } catch (const NuvaloraError& error) {
        QCOMPARE(error.message(), QStringLiteral("'%1' is not a valid floating point value")
                                      .arg(QString::fromLocal8Bit(text)));
    }
}

void TestNumberText::roundsHalfToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");
    QTest::newRow("28.5") << 28.5 << 28;
    QTest::newRow("29.5") << 29.5 << 30;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("57/2") << 57.0 / 2 << 28;
    QTest::newRow("59/2") << 59.0 / 2 << 30;
    QTest::newRow("85/3") << 85.0 / 3 << 28;
    QTest::newRow("just above half") << 28.500001 << 29;
    QTest::newRow("lowest") << -2147483648.0 << std::numeric_limits<int>::min();
}

void TestNumberText::roundsHalfToEven()
{
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(roundHalfEven(value), rounded);
}

void TestNumberText::roundRefusesWhatDoesNotFit()
{
    QVERIFY_THROWS_EXCEPTION(NuvaloraError, roundHalfEven(2147483648.0));
    QVERIFY_THROWS_EXCEPTION(NuvaloraError, roundHalfEven(-1e300));
    QVERIFY_THROWS_EXCEPTION(NuvaloraError, roundHalfEven(std::nan("")));
}

void TestNumberText::integerTexts()
{
    QCOMPARE(integerText(30), QStringLiteral("30"));
    QCOMPARE(integerText(-31), QStringLiteral("-31"));
    QCOMPARE(integerText(std::numeric_limits<int>::min()), QStringLiteral("-2147483648"));
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
