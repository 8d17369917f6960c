#include "clock.h"
#include "daynumber.h"
#include "getdate.h"
#include "monthcalendar.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

namespace {

constexpr int kLeftOpen = 99; // what runDialog returns when the steps left the dialog open

// A main window and its date dialog, as the frame creates them.
struct Windows {
    Windows()
    {
        main.setGeometry(100, 80, 594, 541);
        main.show();
        dialog = new TForm2(&main);
    }
    QWidget main;
    TForm2* dialog;
};

MonthCalendar* calendarOf(TForm2& dialog)
{
    return dialog.findChild<MonthCalendar*>(QStringLiteral("cal"));
}

QTableView* daysOf(TForm2& dialog)
{
    return calendarOf(dialog)->findChild<QTableView*>();
}

QPushButton* button(TForm2& dialog, const char* name)
{
    return dialog.findChild<QPushButton*>(QLatin1String(name));
}

// Runs the dialog modally, as asking for a date does, with the steps done
// while it is open. Steps that leave it open get kLeftOpen, so that a
// failing check ends the run instead of hanging it.
int runDialog(TForm2& dialog, const std::function<void()>& steps)
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

void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key, modifiers);
}

// The centre of the cell showing the given day of the month in view, in
// the coordinates of the grid's viewport. The month before shows at most its
// last seven days, 22 and later, while this month's 22nd is in the fourth
// week at the earliest, so the first cell with the number from there is it.
QPoint dayCellCentre(TForm2& dialog, int day)
{
    QTableView* days = daysOf(dialog);
    const QAbstractItemModel* model = days->model();
    for (int row = day < 22 ? 1 : 4; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex cell = model->index(row, column);
            if (cell.data().toInt() == day)
                return days->visualRect(cell).center();
        }
    }
    return {};
}

void clickDay(TForm2& dialog, int day)
{
    const QPoint centre = dayCellCentre(dialog, day);
    QVERIFY(!centre.isNull());
    QTest::mouseClick(daysOf(dialog)->viewport(), Qt::LeftButton, {}, centre);
}

QImage cellPicture(MonthCalendar* calendar, QTableView* days, int day, TForm2& dialog)
{
    const QRect cell = days->visualRect(days->indexAt(dayCellCentre(dialog, day)));
    const QPoint offset = days->viewport()->mapTo(calendar, QPoint(0, 0));
    return calendar->grab(cell.translated(offset)).toImage();
}

} // namespace

class TestGetDate : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { Clock::setFixedToday(QDate(2024, 2, 29)); }
    void cleanup() { Clock::setFixedToday(QDate()); }

    void layout();
    void monthColours();
    void firstOpeningOffersTheDayOfTheLayout_data();
    void firstOpeningOffersTheDayOfTheLayout();
    void cancelKeepsTheSelectionForTheNextOpening();
    void enterInTheCalendarGivesOkAndEscapeGivesCancel();
    void closeRequestGivesCancel();
    void tabMovesOnlyBetweenTheButtons();
    void focusReturnsToTheControlOfTheLastClose();
    void doubleClickOnADayDoesNotClose();
    void monthArrowsCarryTheSelection_data();
    void monthArrowsCarryTheSelection();
    void yearBoxCarriesTheSelection();
    void farDatesStayWholeDays();
    void todayIsRingedOnlyWhileItsMonthIsInView();
    void centredOnMainWindow_data();
    void centredOnMainWindow();
    void firstOpeningIsCentredOnTheMainWindow_data();
    void firstOpeningIsCentredOnTheMainWindow();
    void laterOpeningsKeepThePlace();
};

void TestGetDate::layout()
{
    Windows windows;
    TForm2& dialog = *windows.dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select Date"));
    QCOMPARE(dialog.size(), QSize(306, 194));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowSystemMenuHint));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
             QStringLiteral("Please select the date of the first day of your period"));
    QCOMPARE(calendarOf(dialog)->geometry(), QRect(10, 29, 209, 161));
    QPushButton* ok = button(dialog, "BitBtn1");
    QPushButton* cancel = button(dialog, "BitBtn4");
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->geometry(), QRect(224, 128, 75, 25));
    QVERIFY(ok->isDefault());
    QVERIFY(!ok->icon().isNull());
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(cancel->geometry(), QRect(224, 160, 75, 25));
    QVERIFY(!cancel->icon().isNull());
    QCOMPARE(calendarOf(dialog)->verticalHeaderFormat(), QCalendarWidget::NoVerticalHeader);
    QCOMPARE(calendarOf(dialog)->firstDayOfWeek(), QLocale::system().firstDayOfWeek());
}

void TestGetDate::monthColours()
{
    Windows windows;
    TForm2& dialog = *windows.dialog;
    const QAbstractItemModel* model = daysOf(dialog)->model();
    const QColor text = calendarOf(dialog)->palette().color(QPalette::WindowText);
    // April 2001 shows the end of March in its first row and the start of
    // May in its last; weekends are drawn like the other days.
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex cell = model->index(row, column);
            const int day = cell.data().toInt();
            const bool neighbour = (row == 1 && day > 22) || (row == 6 && day < 8);
            QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
            QVERIFY(!cell.data(Qt::FontRole).value<QFont>().bold());
            QCOMPARE(cell.data(Qt::ForegroundRole).value<QColor>() == text, !neighbour);
        }
    }
}

void TestGetDate::firstOpeningOffersTheDayOfTheLayout_data()
{
    QTest::addColumn<QDate>("today");
    QTest::newRow("system clock") << QDate();
    QTest::newRow("the same day") << QDate(2001, 4, 13);
    QTest::newRow("leap day") << QDate(2024, 2, 29);
    QTest::newRow("new year's eve 1899") << QDate(1899, 12, 31);
}

void TestGetDate::firstOpeningOffersTheDayOfTheLayout()
{
    QFETCH(QDate, today);
    Clock::setFixedToday(today);
    Windows windows;
    TForm2& dialog = *windows.dialog;
    MonthCalendar* calendar = calendarOf(dialog);

    int shownYear = 0;
    int shownMonth = 0;
    const int result = runDialog(dialog, [&] {
        shownYear = calendar->yearShown();
        shownMonth = calendar->monthShown();
        pressKey(Qt::Key_Return); // OK has the focus
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(shownYear, 2001);
    QCOMPARE(shownMonth, 4);
    QCOMPARE(dialog.selectedDay(), DayNumber(36994));
}

void TestGetDate::cancelKeepsTheSelectionForTheNextOpening()
{
    Windows windows;
    TForm2& dialog = *windows.dialog;
    MonthCalendar* calendar = calendarOf(dialog);

    int result = runDialog(dialog, [&] {
        QTest::mouseClick(
            calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_nextmonth")),
            Qt::LeftButton);
        QCOMPARE(calendar->monthShown(), 5);
        clickDay(dialog, 2);
        QCOMPARE(calendar->selectedDate(), QDate(2001, 5, 2));
        QTest::mouseClick(button(dialog, "BitBtn4"), Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Rejected));

    int shownMonth = 0;
    QDate shownSelection;
    result = runDialog(dialog, [&] {
        shownMonth = calendar->monthShown();
        shownSelection = calendar->selectedDate();
        QTest::mouseClick(button(dialog, "BitBtn1"), Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(shownMonth, 5);
    QCOMPARE(shownSelection, QDate(2001, 5, 2));
    QCOMPARE(dialog.selectedDay(), DayNumber(37013));
}

void TestGetDate::enterInTheCalendarGivesOkAndEscapeGivesCancel()
{
    Windows windows;
    TForm2& dialog = *windows.dialog;
    QTableView* days = daysOf(dialog);

    int result = runDialog(dialog, [&] {
        clickDay(dialog, 20);
        QCOMPARE(QApplication::focusWidget(), days);
        pressKey(Qt::Key_Right);
        pressKey(Qt::Key_Return);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.selectedDay(), dayOfDate(QDate(2001, 4, 21)));

    result = runDialog(dialog, [&] {
        QCOMPARE(QApplication::focusWidget(), days);
        pressKey(Qt::Key_Down);
        pressKey(Qt::Key_Enter, Qt::KeypadModifier);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.selectedDay(), dayOfDate(QDate(2001, 4, 28)));

    result = runDialog(dialog, [&] {
        QCOMPARE(QApplication::focusWidget(), days);
        pressKey(Qt::Key_Up);
        pressKey(Qt::Key_Escape);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    // The selection made before Escape stays for the next opening.
    QCOMPARE(calendarOf(dialog)->selectedDate(), QDate(2001, 4, 21));
}

void TestGetDate::closeRequestGivesCancel()
{
    Windows windows;
    TForm2& dialog = *windows.dialog;
    const int result = runDialog(dialog, [&] { QVERIFY(dialog.close()); });
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
}

void TestGetDate::tabMovesOnlyBetweenTheButtons()
{
    Windows windows;
    TForm2& dialog = *windows.dialog;
    QPushButton* ok = button(dialog, "BitBtn1");
    QPushButton* cancel = button(dialog, "BitBtn4");

    const int result = runDialog(dialog, [&] {
        QCOMPARE(QApplication::focusWidget(), ok);
        pressKey(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), cancel);
        pressKey(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), ok);
        pressKey(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), cancel);
        pressKey(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), ok);
        // Once clicked into, the calendar hands Tab on to a button again.
        clickDay(dialog, 10);
        QCOMPARE(QApplication::focusWidget(), daysOf(dialog));
        pressKey(Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() == ok || QApplication::focusWidget() == cancel);
        dialog.reject();
    });
    QCOMPARE(result, int(QDialog::Rejected));
}

void TestGetDate::focusReturnsToTheControlOfTheLastClose()
{
    Windows windows;
    TForm2& dialog = *windows.dialog;
    QPushButton* ok = button(dialog, "BitBtn1");
    QPushButton* cancel = button(dialog, "BitBtn4");
    QWidget* focusAtOpening = nullptr;
    const auto noteFocusThen = [&](const std::function<void()>& close) {
        return [&focusAtOpening, close] {
            focusAtOpening = QApplication::focusWidget();
            close();
        };
    };

    // Enter on the focused Cancel button cancels.
    int result = runDialog(dialog, noteFocusThen([] {
                               pressKey(Qt::Key_Tab);
                               pressKey(Qt::Key_Return);
                           }));
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(focusAtOpening, ok);

    result = runDialog(dialog, noteFocusThen([&] {
                           clickDay(dialog, 5);
                           pressKey(Qt::Key_Escape);
                       }));
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(focusAtOpening, cancel);

    result = runDialog(dialog, noteFocusThen([&] { pressKey(Qt::Key_Tab); }));
    QCOMPARE(result, kLeftOpen);
    QCOMPARE(focusAtOpening, daysOf(dialog));

    runDialog(dialog, noteFocusThen([] {}));
    QCOMPARE(focusAtOpening, ok); // the Tab above went from the calendar to OK
}

void TestGetDate::doubleClickOnADayDoesNotClose()
{
    Windows windows;
    TForm2& dialog = *windows.dialog;
    bool openAfterDoubleClick = false;
    const int result = runDialog(dialog, [&] {
        const QPoint centre = dayCellCentre(dialog, 13); // the day already selected
        QTest::mouseDClick(daysOf(dialog)->viewport(), Qt::LeftButton, {}, centre);
        QTest::qWait(50);
        openAfterDoubleClick = dialog.isVisible();
        const QPoint other = dayCellCentre(dialog, 18);
        QTest::mouseClick(daysOf(dialog)->viewport(), Qt::LeftButton, {}, other);
        QTest::mouseDClick(daysOf(dialog)->viewport(), Qt::LeftButton, {}, other);
        QTest::qWait(50);
    });
    QVERIFY(openAfterDoubleClick);
    QCOMPARE(result, kLeftOpen);
    QCOMPARE(dialog.selectedDay(), dayOfDate(QDate(2001, 4, 18)));
}

void TestGetDate::monthArrowsCarryTheSelection_data()
{
    QTest::addColumn<QDate>("selected");
    QTest::addColumn<QString>("arrow");
    QTest::addColumn<QDate>("expected");
    const QString next = QStringLiteral("qt_calendar_nextmonth");
    const QString previous = QStringLiteral("qt_calendar_prevmonth");
    QTest::newRow("same day next month") << QDate(2001, 4, 13) << next << QDate(2001, 5, 13);
    QTest::newRow("31st into June") << QDate(2001, 5, 31) << next << QDate(2001, 6, 30);
    QTest::newRow("31st into February") << QDate(2001, 3, 31) << previous << QDate(2001, 2, 28);
    QTest::newRow("29th into a leap February") << QDate(2000, 1, 29) << next << QDate(2000, 2, 29);
    QTest::newRow("across the year") << QDate(2001, 1, 6) << previous << QDate(2000, 12, 6);
}

void TestGetDate::monthArrowsCarryTheSelection()
{
    QFETCH(QDate, selected);
    QFETCH(QString, arrow);
    QFETCH(QDate, expected);
    Windows windows;
    TForm2& dialog = *windows.dialog;
    MonthCalendar* calendar = calendarOf(dialog);
    calendar->setSelectedDate(selected);

    const int result = runDialog(dialog, [&] {
        QTest::mouseClick(calendar->findChild<QToolButton*>(arrow), Qt::LeftButton);
        QCOMPARE(calendar->yearShown(), expected.year());
        QCOMPARE(calendar->monthShown(), expected.month());
        pressKey(Qt::Key_Return);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.selectedDay(), dayOfDate(expected));
}

void TestGetDate::yearBoxCarriesTheSelection()
{
    Windows windows;
    TForm2& dialog = *windows.dialog;
    MonthCalendar* calendar = calendarOf(dialog);

    const int result = runDialog(dialog, [&] {
        QTest::mouseClick(
            calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_yearbutton")),
            Qt::LeftButton);
        auto* year = calendar->findChild<QSpinBox*>(QStringLiteral("qt_calendar_yearedit"));
        QTRY_COMPARE(QApplication::focusWidget(), year);
        QTest::keyClicks(year, QStringLiteral("1999"));
        // Enter ends the typing and, as anywhere in the calendar, gives OK.
        pressKey(Qt::Key_Return);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.selectedDay(), dayOfDate(QDate(1999, 4, 13)));
}

void TestGetDate::farDatesStayWholeDays()
{
    Windows windows;
    TForm2& dialog = *windows.dialog;
    MonthCalendar* calendar = calendarOf(dialog);
    QToolButton* previous =
        calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_prevmonth"));
    QToolButton* next = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_nextmonth"));

    const int result = runDialog(dialog, [&] {
        // Before year 1 comes year -1; the day numbers run on without a gap.
        calendar->setSelectedDate(QDate(1, 1, 1));
        clickDay(dialog, 1);
        pressKey(Qt::Key_Left);
        QCOMPARE(calendar->selectedDate(), QDate(-1, 12, 31));
        QCOMPARE(dialog.selectedDay(), dayOfDate(QDate(1, 1, 1)) - 1);

        // At either end of the calendar, keys and arrows stop at the last day.
        calendar->setSelectedDate(calendar->minimumDate());
        pressKey(Qt::Key_PageUp);
        pressKey(Qt::Key_Left);
        previous->click();
        QCOMPARE(calendar->selectedDate(), calendar->minimumDate());
        QCOMPARE(dateOfDay(dialog.selectedDay()), calendar->minimumDate());

        calendar->setSelectedDate(QDate(9999, 12, 31));
        pressKey(Qt::Key_PageDown);
        pressKey(Qt::Key_Right);
        next->click();
        QCOMPARE(calendar->selectedDate(), QDate(9999, 12, 31));
        QCOMPARE(dialog.selectedDay(), dayOfDate(QDate(9999, 12, 31)));
        pressKey(Qt::Key_Return);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dateOfDay(dialog.selectedDay()), QDate(9999, 12, 31));
}

void TestGetDate::todayIsRingedOnlyWhileItsMonthIsInView()
{
    Windows windows;
    TForm2& dialog = *windows.dialog;
    MonthCalendar* calendar = calendarOf(dialog);
    QTableView* days = daysOf(dialog);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    Clock::setFixedToday(QDate(2001, 4, 20));
    QVERIFY(calendar->marksToday(QDate(2001, 4, 20)));
    QVERIFY(!calendar->marksToday(QDate(2001, 4, 21)));
    const QImage ringed = cellPicture(calendar, days, 20, dialog);
    const QImage otherWithToday = cellPicture(calendar, days, 21, dialog);

    Clock::setFixedToday(QDate(2001, 6, 20));
    QVERIFY(!calendar->marksToday(QDate(2001, 4, 20)));
    const QImage plain = cellPicture(calendar, days, 20, dialog);
    QVERIFY(ringed != plain);
    QCOMPARE(cellPicture(calendar, days, 21, dialog), otherWithToday);

    // 1 May shows in April's last row, but only May's page rings it.
    Clock::setFixedToday(QDate(2001, 5, 1));
    QVERIFY(!calendar->marksToday(QDate(2001, 5, 1)));
    calendar->setSelectedDate(QDate(2001, 5, 13));
    QVERIFY(calendar->marksToday(QDate(2001, 5, 1)));
    dialog.reject();
}

void TestGetDate::centredOnMainWindow_data()
{
    QTest::addColumn<QRect>("main");
    QTest::addColumn<QSize>("dialog");
    QTest::addColumn<QPoint>("expected");
    const QSize dialog(306, 194);
    QTest::newRow("even differences") << QRect(100, 80, 594, 540) << dialog << QPoint(244, 253);
    QTest::newRow("halves dropped") << QRect(0, 0, 601, 401) << dialog << QPoint(147, 103);
    // (101 - 306) / 2 is -102.5: the fraction goes, leaving -102, not -103.
    QTest::newRow("negative halves dropped")
        << QRect(500, 400, 101, 93) << dialog << QPoint(398, 350);
    QTest::newRow("near the top-left corner") << QRect(0, 0, 200, 100) << dialog << QPoint(0, 0);
    QTest::newRow("only the left edge clipped")
        << QRect(10, 300, 100, 600) << dialog << QPoint(0, 503);
    QTest::newRow("main window partly off screen")
        << QRect(-300, -20, 594, 541) << dialog << QPoint(0, 153);
    QTest::newRow("framed sizes") << QRect(98, 78, 598, 545) << QSize(310, 198) << QPoint(242, 251);
}

void TestGetDate::centredOnMainWindow()
{
    QFETCH(QRect, main);
    QFETCH(QSize, dialog);
    QFETCH(QPoint, expected);
    QCOMPARE(::centredOnMainWindow(main, dialog), expected);
}

void TestGetDate::firstOpeningIsCentredOnTheMainWindow_data()
{
    QTest::addColumn<QRect>("mainFrame");
    QTest::newRow("middle of the screen") << QRect(100, 80, 598, 545);
    QTest::newRow("odd sizes") << QRect(40, 30, 601, 401);
    QTest::newRow("near the top-left corner") << QRect(0, 0, 200, 100);
}

void TestGetDate::firstOpeningIsCentredOnTheMainWindow()
{
    QFETCH(QRect, mainFrame);
    Windows windows;
    QVERIFY(QTest::qWaitForWindowExposed(&windows.main));
    // Place the main window by its outer frame, as the user sees it.
    windows.main.resize(mainFrame.size() -
                        (windows.main.frameGeometry().size() - windows.main.size()));
    windows.main.move(mainFrame.topLeft());
    QTRY_COMPARE(windows.main.frameGeometry(), mainFrame);

    TForm2& dialog = *windows.dialog;
    QRect dialogFrame;
    runDialog(dialog, [&] { dialogFrame = dialog.frameGeometry(); });
    QCOMPARE(dialogFrame.topLeft(), ::centredOnMainWindow(mainFrame, dialogFrame.size()));
}

void TestGetDate::laterOpeningsKeepThePlace()
{
    Windows windows;
    TForm2& dialog = *windows.dialog;
    QPoint first;
    runDialog(dialog, [&] { first = dialog.pos(); });

    // The main window moves: the dialog stays where it was.
    windows.main.move(300, 200);
    QPoint second;
    runDialog(dialog, [&] {
        second = dialog.pos();
        dialog.move(37, 41); // the user drags it away
    });
    QCOMPARE(second, first);

    QPoint third;
    runDialog(dialog, [&] { third = dialog.pos(); });
    QCOMPARE(third, QPoint(37, 41));
}

QTEST_MAIN(TestGetDate)
#include "tst_getdate.moc"
