// The date list as a screen reader meets it, through Qt's accessibility API on
// the real main window. Runs with Qt's AT-SPI bridge switched on (see
// with_atspi.sh): only then does Qt send the list's change events.

#include "daynumber.h"
#include "getdate.h"
#include "main.h"

#include "datedialoganswer.h"
#include "testfiles.h"
#include <QAbstractItemView>
#include <QAccessible>
#include <QCalendarWidget>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <climits>

namespace {

struct SeenEvent {
    QAccessible::Event type;
    int child;
};

QList<SeenEvent>& seenEvents()
{
    static QList<SeenEvent> events;
    return events;
}

QObject* g_list = nullptr;
// Focus and selection events of widgets not on the screen (the date dialog's
// calendar moves its current day while hidden), which must not get through.
int g_fromHiddenWidgets = 0;

void recordEvent(QAccessibleEvent* event)
{
    const auto* widget = qobject_cast<QWidget*>(event->object());
    const auto type = event->type();
    if (widget && !widget->isVisible() &&
        (type == QAccessible::Focus || type == QAccessible::SelectionAdd ||
         type == QAccessible::Selection || type == QAccessible::SelectionRemove))
        ++g_fromHiddenWidgets;
    if (event->object() == g_list)
        seenEvents().append({type, event->child()});
}

int countOf(QAccessible::Event type, int child)
{
    return int(std::count_if(seenEvents().cbegin(), seenEvents().cend(), [&](const SeenEvent& e) {
        return e.type == type && e.child == child;
    }));
}

bool anyMessageBoxShown()
{
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(),
                       [](QWidget* w) { return qobject_cast<QMessageBox*>(w) && w->isVisible(); });
}

// Asks the list what a screen reader may ask about rows and columns around
// and past the ones it has, and lists the answers that are not safe: Qt's
// AT-SPI bridge uses every cell that cellAt gives without checking it.
QStringList unsafeAnswers(QAccessibleInterface* list)
{
    QStringList unsafe;
    QAccessibleTableInterface* table = list->tableInterface();
    const int rows = table->rowCount();
    for (int row : {INT_MIN, -2, -1, 0, rows - 1, rows, rows + 1, INT_MAX}) {
        for (int column : {INT_MIN, -1, 0, 1, 2}) {
            const QString place =
                QStringLiteral(" at (%1, %2) of %3").arg(row).arg(column).arg(rows);
            QAccessibleInterface* cell = table->cellAt(row, column);
            QAccessibleTableCellInterface* answer = cell ? cell->tableCellInterface() : nullptr;
            if (!answer) {
                unsafe << QStringLiteral("no cell") + place;
            } else if (row >= 0 && row < rows && column == 0) {
                if (!cell->isValid() || answer->rowIndex() != row || answer->rowExtent() != 1)
                    unsafe << QStringLiteral("a wrong cell") + place;
            } else if (cell->isValid() || answer->isSelected() || answer->rowExtent() != 0 ||
                       answer->columnExtent() != 0 || answer->rowIndex() != -1 ||
                       list->indexOfChild(cell) != -1 || cell->state().focused ||
                       (column == 0 && table->isRowSelected(row)) ||
                       (column != 0 && table->isColumnSelected(column))) {
                unsafe << QStringLiteral("an answer as if there were a cell") + place;
            }
        }
    }
    for (QAccessibleInterface* cell : table->selectedCells())
        if (!cell->isValid())
            unsafe << QStringLiteral("a selected cell that is not there");
    for (int row : table->selectedRows())
        if (row < 0 || row >= rows)
            unsafe << QStringLiteral("selected row %1 of %2").arg(row).arg(rows);
    return unsafe;
}

} // namespace

class TestRowListAccessible : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void listIsANamedTableWithACellPerRow();
    void focusAndSelectionFollowClicksAndKeys();
    void addEditAndDeleteMoveTheItems();
    void damagedRowIsReadWithoutAnErrorBox();
    void lastOfAMillionRowsIsAsQuickAsTheFirst();

private:
    void openWindow(const QByteArray& stored);
    QAccessibleInterface* listInterface() const;
    QString itemText(int row) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TForm1> m_form;
    QAbstractItemView* m_list = nullptr;
};

void TestRowListAccessible::initTestCase()
{
    QApplication::setApplicationName(QStringLiteral("Nuvalora Sex Planner"));
    setDisplayDatePattern(QStringLiteral("M/d/yy"));
    // Qt switches its accessibility on once the AT-SPI bus answers.
    QTRY_VERIFY2_WITH_TIMEOUT(QAccessible::isActive(), "no AT-SPI bus: run through with_atspi.sh",
                              10000);
    // The recorder is installed before the main window installs the program's
    // handler, which passes what it lets through on to Qt with the recorder
    // in place of the platform's bridge: it records what the bridge would get.
    QAccessible::installUpdateHandler(recordEvent);
}

void TestRowListAccessible::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    seenEvents().clear();
    g_fromHiddenWidgets = 0;
}

void TestRowListAccessible::cleanup()
{
    g_list = nullptr;
    if (m_form)
        m_form->hide();
    m_form.reset();
}

void TestRowListAccessible::openWindow(const QByteArray& stored)
{
    const QString store = m_dir->filePath(QStringLiteral("month.dat"));
    writeAll(store, stored);
    m_form = std::make_unique<TForm1>(store);
    m_list = m_form->findChild<QAbstractItemView*>(QStringLiteral("lbxdates"));
    g_list = m_list;
    // A box at load that nobody expects fails the test at once, with its
    // text, instead of waiting for an answer.
    ModalAnswers nothingExpected;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QTest::qWait(50); // a row that cannot be drawn is reported after the paint
    QVERIFY2(nothingExpected.problems().isEmpty(), qPrintable(nothingExpected.report()));
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

QAccessibleInterface* TestRowListAccessible::listInterface() const
{
    return QAccessible::queryAccessibleInterface(m_list);
}

QString TestRowListAccessible::itemText(int row) const
{
    QAccessibleInterface* item = listInterface()->child(row);
    return item ? item->text(QAccessible::Name) : QStringLiteral("<no item>");
}

void TestRowListAccessible::listIsANamedTableWithACellPerRow()
{
    openWindow("36994\r\n36964\r\n37024\r\n"); // 13 April, 14 March, 13 May 2001
    QAccessibleInterface* list = listInterface();
    QCOMPARE(list->role(), QAccessible::Table);
    QCOMPARE(list->tableInterface()->rowCount(), 3);
    QCOMPARE(list->tableInterface()->columnCount(), 1);
    QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Dates of Start of Period"));
    QCOMPARE(list->childCount(), 3);
    QCOMPARE(itemText(0), QStringLiteral(" 3/14/01"));
    QCOMPARE(itemText(1), QStringLiteral(" 4/13/01   (Menstrual cycle length: 30 days)"));
    QCOMPARE(itemText(2), QStringLiteral(" 5/13/01   (Menstrual cycle length: 30 days)"));
    QAccessibleInterface* item = list->child(2);
    QCOMPARE(item->role(), QAccessible::Cell);
    QCOMPARE(item->parent(), list);
    QCOMPARE(list->indexOfChild(item), 2);
    QCOMPARE(list->child(2), item); // asked again, the same item
    QVERIFY(!list->child(3));
    // The item lies where the row is drawn.
    const QRect rowRect = m_list->visualRect(m_list->model()->index(2, 0));
    QCOMPARE(item->rect().topLeft(), m_list->viewport()->mapToGlobal(rowRect.topLeft()));
    QCOMPARE(list->childAt(item->rect().center().x(), item->rect().center().y()), item);
    QVERIFY(!item->state().selected);
}

void TestRowListAccessible::focusAndSelectionFollowClicksAndKeys()
{
    openWindow("36964\r\n36994\r\n37024\r\n");
    QAccessibleInterface* list = listInterface();
    // Tab from Add Date... into the list: its first row becomes the focus,
    // announced after the list itself, so that the listener is left on it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_list);
    QTRY_COMPARE(countOf(QAccessible::Focus, 0), 1);
    QCOMPARE(list->focusChild(), list->child(0));
    QVERIFY(list->child(0)->state().focused);
    QVERIFY(!list->child(0)->state().selected);

    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, QPoint(20, 13 + 5));
    QVERIFY(list->child(1)->state().selected);
    QVERIFY(list->child(1)->state().focused);
    QVERIFY(!list->child(0)->state().focused);
    QCOMPARE(countOf(QAccessible::SelectionAdd, 1), 1);
    QCOMPARE(countOf(QAccessible::Focus, 1), 1);
    QVERIFY(list->tableInterface()->isRowSelected(1));
    QCOMPARE(list->tableInterface()->selectedRows(), QList<int>{1});

    QTest::keyClick(m_list, Qt::Key_Down);
    QVERIFY(list->child(2)->state().selected);
    QVERIFY(!list->child(1)->state().selected);
    QCOMPARE(countOf(QAccessible::SelectionRemove, 1), 1);
    QCOMPARE(countOf(QAccessible::SelectionAdd, 2), 1);
    QCOMPARE(seenEvents().last().type, QAccessible::Focus);
    QCOMPARE(seenEvents().last().child, 2);

    // Away from the list, no row is the focus any more.
    QTest::keyClick(m_list, Qt::Key_Tab);
    QVERIFY(!list->child(2)->state().focused);
    QVERIFY(!list->focusChild());
}

void TestRowListAccessible::addEditAndDeleteMoveTheItems()
{
    openWindow("36964\r\n37024\r\n37055\r\n"); // 14 March, 13 May, 13 June
    QAccessibleInterface* list = listInterface();
    // Questions out of range, asked as the rows change under the list's feet
    // and after every change, are answered safely.
    QStringList unsafe = unsafeAnswers(list);
    const auto askDuringChanges = [list, &unsafe] { unsafe << unsafeAnswers(list); };
    QAbstractItemModel* model = m_list->model();
    const QObject asking;
    for (const auto change :
         {&QAbstractItemModel::rowsAboutToBeInserted, &QAbstractItemModel::rowsInserted,
          &QAbstractItemModel::rowsAboutToBeRemoved, &QAbstractItemModel::rowsRemoved})
        connect(model, change, &asking, askDuringChanges);
    connect(model, &QAbstractItemModel::dataChanged, &asking, askDuringChanges);
    QAccessibleInterface* may = list->child(1);
    QAccessibleInterface* june = list->child(2);
    const QAccessible::Id juneId = QAccessible::uniqueId(june);

    // Add 13 April through Add Date...: it goes in at row 1, and the items
    // made before stay with their dates.
    ModalAnswers answers;
    answerDateDialog(answers, QDate(2001, 4, 13));
    m_form->findChild<QPushButton*>(QStringLiteral("btnAdd"))->click();
    unsafe << unsafeAnswers(list);
    QCOMPARE(list->childCount(), 4);
    QCOMPARE(list->child(2), may);
    QCOMPARE(may->tableCellInterface()->rowIndex(), 2);
    QCOMPARE(may->text(QAccessible::Name),
             QStringLiteral(" 5/13/01   (Menstrual cycle length: 30 days)"));
    QCOMPARE(itemText(1), QStringLiteral(" 4/13/01   (Menstrual cycle length: 30 days)"));
    QCOMPARE(list->child(3), june);

    // Edit the selected row (13 May) to 20 May: the row below tells the new gap.
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, QPoint(20, 2 * 13 + 5));
    answerDateDialog(answers, QDate(2001, 5, 20));
    m_form->findChild<QPushButton*>(QStringLiteral("btnEdit"))->click();
    unsafe << unsafeAnswers(list);
    QCOMPARE(may->text(QAccessible::Name),
             QStringLiteral(" 5/20/01   (Menstrual cycle length: 37 days)"));
    QCOMPARE(june->text(QAccessible::Name),
             QStringLiteral(" 6/13/01   (Menstrual cycle length: 24 days)"));

    // Delete it: its item goes, the one below moves up.
    m_form->findChild<QPushButton*>(QStringLiteral("btnDelete"))->click();
    unsafe << unsafeAnswers(list);
    QCOMPARE(list->childCount(), 3);
    QCOMPARE(list->child(2), june);
    QCOMPARE(QAccessible::uniqueId(june), juneId);
    QCOMPARE(june->text(QAccessible::Name),
             QStringLiteral(" 6/13/01   (Menstrual cycle length: 61 days)"));
    QVERIFY(!list->child(3));
    // The selection went with its row: no item is selected now.
    QCOMPARE(list->tableInterface()->selectedRows(), QList<int>());
    QVERIFY(!june->state().selected);
    QVERIFY2(answers.problems().isEmpty(), qPrintable(answers.report()));
    QVERIFY(!list->focusChild()); // the list does not have the focus
    QVERIFY2(unsafe.isEmpty(), qPrintable(unsafe.join(QLatin1Char('\n'))));
    QCOMPARE(g_fromHiddenWidgets, 0);
}

void TestRowListAccessible::damagedRowIsReadWithoutAnErrorBox()
{
    const QString store = m_dir->filePath(QStringLiteral("month.dat"));
    writeAll(store, "36994\r\n37001x\r\n");
    m_form = std::make_unique<TForm1>(store);
    m_list = m_form->findChild<QAbstractItemView*>(QStringLiteral("lbxdates"));
    try {
        m_form->FormShow(); // the report fails on the damaged row; the list is loaded
    } catch (...) {
    }
    QAccessibleInterface* list = listInterface();
    QCOMPARE(list->childCount(), 2);
    QCOMPARE(itemText(0), QStringLiteral(" 4/13/01"));
    QCOMPARE(itemText(1), QStringLiteral("37001x")); // as stored, since it cannot be shown
    QTest::qWait(50);
    QVERIFY(!anyMessageBoxShown());
}

void TestRowListAccessible::lastOfAMillionRowsIsAsQuickAsTheFirst()
{
    QByteArray stored;
    stored.reserve(7 * 1000000);
    for (int i = 0; i < 1000000; ++i)
        stored += QByteArray::number(10000 + i) + "\r\n";
    openWindow(stored);
    QAccessibleInterface* list = listInterface();
    QCOMPARE(list->childCount(), 1000000);
    QCOMPARE(itemText(999999), m_form->rowDisplayText(999999));

    // Each item asked for the first time, at the start and at the end.
    int unnamed = 0;
    auto timeItems = [list, &unnamed](int first) {
        QElapsedTimer timer;
        timer.start();
        for (int row = first; row < first + 200; ++row) {
            QAccessibleInterface* item = list->child(row);
            if (item->text(QAccessible::Name).isEmpty() || item->state().invalid)
                ++unnamed;
        }
        return timer.nsecsElapsed();
    };
    const qint64 atStart = std::max<qint64>(timeItems(1), 1);
    const qint64 atEnd = timeItems(999800);
    QCOMPARE(unnamed, 0);
    qInfo("200 items at the start: %lld us, at the end: %lld us", atStart / 1000, atEnd / 1000);
    // Anything that walked the rows up to the one asked for would be
    // thousands of times slower at the end.
    QVERIFY2(atEnd < 10 * atStart + 5'000'000, "the last rows are much slower than the first");

    // Memory stays bounded: once many more items have been asked for, the
    // ones asked for least recently are let go.
    const QAccessible::Id early = QAccessible::uniqueId(list->child(1));
    for (int row = 2; row < 30000; ++row)
        list->child(row);
    QVERIFY(!QAccessible::accessibleInterface(early));
}

QTEST_MAIN(TestRowListAccessible)
#include "tst_rowlistaccessible.moc"
