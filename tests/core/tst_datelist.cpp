#include "datelist.h"
#include "daynumber.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QList<QByteArray> rowsOf(const DateList& list)
{
    QList<QByteArray> rows;
    for (int i = 0; i < list.count(); ++i)
        rows << list.text(i);
    return rows;
}

} // namespace

class TestDateList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addKeepsSortedOrder();
    void addPutsDuplicatesAfterTheirEquals();
    void orderIsByCharacterNotByNumber();
    void lettersCompareWithoutCase();
    void replaceDoesNotSort();
    void removeTakesOnlyItsRow();
    void assignSortsLikeAddingInTurn();
    void assignOfManyTextsMatchesAddingInTurn();
    void modelShowsRawRows();
};

void TestDateList::addKeepsSortedOrder()
{
    DateList list;
    QCOMPARE(list.add("37010"), 0);
    QCOMPARE(list.add("36950"), 0);
    QCOMPARE(list.add("36994"), 1);
    QCOMPARE(rowsOf(list), (QList<QByteArray>{"36950", "36994", "37010"}));
    QCOMPARE(list.rowCount(), 3);
}

void TestDateList::addPutsDuplicatesAfterTheirEquals()
{
    DateList list;
    list.add("36994");
    list.add("36950");
    QCOMPARE(list.add("36994"), 2);
    QCOMPARE(rowsOf(list), (QList<QByteArray>{"36950", "36994", "36994"}));
}

void TestDateList::orderIsByCharacterNotByNumber()
{
    DateList list;
    list.add(dayText(10000));
    list.add(dayText(9999)); // a shorter text, but "9" comes after "1"
    QCOMPARE(rowsOf(list), (QList<QByteArray>{"10000", "9999"}));
    list.add("1000"); // a text before any longer text that begins with it
    QCOMPARE(list.text(0), QByteArray("1000"));
}

void TestDateList::lettersCompareWithoutCase()
{
    QCOMPARE(DateList::compare("abc", "ABC"), 0);
    QVERIFY(DateList::compare("abc", "ABD") < 0);
    QVERIFY(DateList::compare("Z", "a") > 0);
    QVERIFY(DateList::compare("", "0") < 0);
    // Bytes above 0x7F sort after every plain character.
    QVERIFY(DateList::compare("\xE9", "z") > 0);
}

void TestDateList::replaceDoesNotSort()
{
    DateList list;
    list.add("36950");
    list.add("36994");
    QSignalSpy changed(&list, &QAbstractItemModel::dataChanged);
    list.replace(0, "37100");
    QCOMPARE(rowsOf(list), (QList<QByteArray>{"37100", "36994"}));
    QCOMPARE(changed.count(), 1);
}

void TestDateList::removeTakesOnlyItsRow()
{
    DateList list;
    list.add("36950");
    list.add("36994");
    list.add("37022");
    list.remove(1);
    QCOMPARE(rowsOf(list), (QList<QByteArray>{"36950", "37022"}));
    list.remove(5); // nothing there: nothing happens
    QCOMPARE(rowsOf(list), (QList<QByteArray>{"36950", "37022"}));
}

void TestDateList::assignSortsLikeAddingInTurn()
{
    const std::vector<QByteArrayView> lines{"b", "36994", "B", "", "36950", "a", "36994", "A"};
    DateList added;
    for (QByteArrayView line : lines)
        added.add(line.toByteArray());
    DateList assigned;
    QSignalSpy reset(&assigned, &QAbstractItemModel::modelReset);
    assigned.assign(lines);
    QCOMPARE(rowsOf(assigned), rowsOf(added));
    QCOMPARE(reset.count(), 1);
    assigned.clear();
    QCOMPARE(assigned.count(), 0);
}

void TestDateList::assignOfManyTextsMatchesAddingInTurn()
{
    // Texts that tie on their first eight bytes, differ only in case or in
    // length, and come in no order, from a fixed pseudo-random sequence.
    const QByteArray alphabet("0aA1\xE9-\0", 7);
    quint32 seed = 7;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    std::vector<QByteArray> texts;
    for (int i = 0; i < 3000; ++i) {
        QByteArray text = (next() % 2) ? QByteArray("36994999") : QByteArray();
        const int extra = int(next() % 5);
        for (int j = 0; j < extra; ++j)
            text += alphabet[qsizetype(next() % alphabet.size())];
        texts.push_back(text);
    }
    DateList added;
    for (const QByteArray& text : texts)
        added.add(text);
    DateList assigned;
    assigned.assign(std::vector<QByteArrayView>(texts.begin(), texts.end()));
    QCOMPARE(rowsOf(assigned), rowsOf(added));
}

void TestDateList::modelShowsRawRows()
{
    DateList list;
    list.add(QByteArray("36994\xFF", 6));
    QCOMPARE(list.data(list.index(0), DateList::RawTextRole).toByteArray(),
             QByteArray("36994\xFF", 6));
    QVERIFY(!list.data(list.index(1), Qt::DisplayRole).isValid());
}

QTEST_APPLESS_MAIN(TestDateList)
#include "tst_datelist.moc"
