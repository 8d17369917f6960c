#include "clock.h"
#include "contrast.h"
#include "daynumber.h"
#include "getdate.h"
#include "monthcalendar.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

namespace {

constexpr int kLeftOpen = 99; // what runDialog returns when the steps left the dialog open

// A main window and its date dialog, as the frame creates them.
struct Windows {
    Windows()
    {
        main.setGeometry(100, 80, 594, 541);
        main.show();
        dialog = new TForm2(&main);
        calendar = dialog->findChild<MonthCalendar*>(QStringLiteral("cal"));
        days = calendar->findChild<QTableView*>();
        ok = dialog->findChild<QPushButton*>(QStringLiteral("BitBtn1"));
        cancel = dialog->findChild<QPushButton*>(QStringLiteral("BitBtn4"));
    }

    // Runs the dialog modally, as asking for a date does, with the steps done
    // while it is open. Steps that leave it open get kLeftOpen, so that a
    // failing check ends the run instead of hanging it.
    int run(const std::function<void()>& steps)
    {
        QTimer::singleShot(0, dialog, [this, steps] {
            if (QTest::qWaitForWindowActive(dialog))
                steps();
            else
                QTest::qFail("the dialog did not become active", __FILE__, __LINE__);
            if (dialog->isVisible())
                dialog->done(kLeftOpen);
        });
        return dialog->exec();
    }

    // The cell of the given day of the month in view. The month before shows
    // at most its last seven days, 22 and later, while this month's 22nd is in
    // the fourth week at the earliest.
    QRect dayCell(int day) const
    {
        const QAbstractItemModel* model = days->model();
        for (int row = day < 22 ? 1 : 4; row < model->rowCount(); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                if (model->index(row, column).data().toInt() == day)
                    return days->visualRect(model->index(row, column));
            }
        }
        return {};
    }

    void clickDay(int day) const
    {
        QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, dayCell(day).center());
    }

    QImage dayPicture(int day) const
    {
        const QPoint offset = days->viewport()->mapTo(calendar, QPoint(0, 0));
        return calendar->grab(dayCell(day).translated(offset)).toImage();
    }

    QToolButton* navigation(const char* name) const
    {
        return calendar->findChild<QToolButton*>(QLatin1String(name));
    }

    QWidget main;
    TForm2* dialog;
    MonthCalendar* calendar;
    QTableView* days;
    QPushButton* ok;
    QPushButton* cancel;
};

void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key, modifiers);
}

} // namespace

class TestGetDate : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { Clock::setFixedToday(QDate(2024, 2, 29)); }
    void cleanup()
    {
        Clock::setFixedToday(QDate());
        QLocale::setDefault(QLocale::system());
        QApplication::setPalette(QPalette()); // the theme's again
    }

    void windowAndMonthLook_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light theme") << false;
        QTest::newRow("dark theme") << true;
    }

    void windowAndMonthLook()
    {
        QFETCH(bool, dark);
        if (dark)
            QApplication::setPalette(QPalette(QColor(0x42, 0x42, 0x45), QColor(0x22, 0x20, 0x20)));
        Windows w;
        QCOMPARE(w.dialog->windowTitle(), QStringLiteral("Select Date"));
        QCOMPARE(w.dialog->size(), QSize(306, 194));
        QCOMPARE(w.dialog->minimumSize(), w.dialog->maximumSize());
        QVERIFY(!(w.dialog->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(w.ok->isDefault() && !w.ok->icon().isNull() && !w.cancel->icon().isNull());
        QCOMPARE(w.calendar->firstDayOfWeek(), QLocale::system().firstDayOfWeek());

        // April 2001 shows the end of March in its first row and the start of
        // May in its last; weekends are drawn like the other days, none bold.
        // The month on white as designed; in a dark theme, on the theme's base.
        const QAbstractItemModel* model = w.days->model();
        const QColor text = w.calendar->palette().color(QPalette::WindowText);
        for (int row = 0; row < model->rowCount(); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex cell = model->index(row, column);
                const int day = cell.data().toInt();
                const bool neighbour = (row == 1 && day > 22) || (row == 6 && day < 8);
                const QColor background = cell.data(Qt::BackgroundRole).value<QColor>();
                const QColor foreground = cell.data(Qt::ForegroundRole).value<QColor>();
                QCOMPARE(background == Qt::white, !dark);
                QVERIFY(neighbour || standsOut(foreground, background));
                QVERIFY(!cell.data(Qt::FontRole).value<QFont>().bold());
                QCOMPARE(foreground == text, !neighbour);
            }
        }

        // All six weeks fit the calendar's designed height, the last whole.
        w.run([&w] {
            const QRect lastWeek = w.days->visualRect(w.days->model()->index(6, 0));
            QVERIFY(lastWeek.height() > 0);
            QVERIFY2(lastWeek.bottom() < w.days->viewport()->height(),
                     qPrintable(QStringLiteral("last week ends at %1 of %2")
                                    .arg(lastWeek.bottom())
                                    .arg(w.days->viewport()->height())));
        });
    }

    void firstOpeningOffersTheDayOfTheLayout_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::newRow("system clock") << QDate();
        QTest::newRow("the same day") << QDate(2001, 4, 13);
        QTest::newRow("leap day") << QDate(2024, 2, 29);
        QTest::newRow("before day 1") << QDate(1899, 12, 30);
    }

    void firstOpeningOffersTheDayOfTheLayout()
    {
        QFETCH(QDate, today);
        Clock::setFixedToday(today);
        Windows w;
        QPoint page;
        const int result = w.run([&] {
            page = {w.calendar->monthShown(), w.calendar->yearShown()};
            pressKey(Qt::Key_Return); // OK has the focus
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(page, QPoint(4, 2001));
        QCOMPARE(w.dialog->selectedDay(), DayNumber(36994));
    }

    void cancelKeepsTheSelectionForTheNextOpening()
    {
        Windows w;
        int result = w.run([&] {
            QTest::mouseClick(w.navigation("qt_calendar_nextmonth"), Qt::LeftButton);
            w.clickDay(2);
            QCOMPARE(w.calendar->selectedDate(), QDate(2001, 5, 2));
            QTest::mouseClick(w.cancel, Qt::LeftButton);
        });
        QCOMPARE(result, int(QDialog::Rejected));

        QDate shown;
        result = w.run([&] {
            shown = w.calendar->selectedDate();
            QCOMPARE(w.calendar->monthShown(), 5);
            QTest::mouseClick(w.ok, Qt::LeftButton);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(shown, QDate(2001, 5, 2));
        QCOMPARE(w.dialog->selectedDay(), DayNumber(37013));
    }

    void enterEscapeAndCloseRequest()
    {
        Windows w;
        int result = w.run([&] {
            w.clickDay(20);
            QCOMPARE(QApplication::focusWidget(), w.days);
            pressKey(Qt::Key_Right);
            pressKey(Qt::Key_Enter, Qt::KeypadModifier);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(w.dialog->selectedDay(), dayOfDate(QDate(2001, 4, 21)));

        result = w.run([&] {
            pressKey(Qt::Key_Down);
            pressKey(Qt::Key_Escape);
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(w.calendar->selectedDate(), QDate(2001, 4, 28)); // kept for next time

        result = w.run([&] { QVERIFY(w.dialog->close()); });
        QCOMPARE(result, int(QDialog::Rejected));
    }

    void tabMovesOnlyBetweenTheButtons()
    {
        Windows w;
        QList<QWidget*> focusPath;
        w.run([&] {
            focusPath << QApplication::focusWidget();
            for (int i = 0; i < 3; ++i) {
                pressKey(Qt::Key_Tab);
                focusPath << QApplication::focusWidget();
            }
            pressKey(Qt::Key_Backtab, Qt::ShiftModifier);
            focusPath << QApplication::focusWidget();
        });
        QCOMPARE(focusPath, (QList<QWidget*>{w.ok, w.cancel, w.ok, w.cancel, w.ok}));
    }

    void focusReturnsToTheControlOfTheLastClose()
    {
        Windows w;
        QList<QWidget*> focusAtOpening;
        const auto noteFocusThen = [&focusAtOpening](const std::function<void()>& close) {
            return [&focusAtOpening, close] {
                focusAtOpening << QApplication::focusWidget();
                close();
            };
        };
        // Enter on the focused Cancel button cancels.
        QCOMPARE(w.run(noteFocusThen([] {
            pressKey(Qt::Key_Tab);
            pressKey(Qt::Key_Return);
        })),
                 int(QDialog::Rejected));
        w.run(noteFocusThen([&] {
            w.clickDay(5);
            pressKey(Qt::Key_Escape);
        }));
        w.run(noteFocusThen([] { pressKey(Qt::Key_Tab); })); // from the calendar to OK
        w.run(noteFocusThen([] {}));
        QCOMPARE(focusAtOpening, (QList<QWidget*>{w.ok, w.cancel, w.days, w.ok}));
    }

    // The calendar's keys pressed on OK or Cancel move its day and give it the
    // focus, where Enter is OK. Arabic runs right to left.
    void calendarKeysMoveTheDayFromTheButtons_data()
    {
        QTest::addColumn<QString>("keys"); // sent to the dialog, to Cancel after Tab
        QTest::addColumn<QDate>("expected");
        QTest::addColumn<QString>("locale");
        QTest::newRow("arrows") << "Left, Left, Left, Up" << QDate(2001, 4, 3) << "en_US";
        QTest::newRow("pages") << "Tab, PgDown, Home" << QDate(2001, 5, 1) << "en_US";
        QTest::newRow("others") << "Tab, PgUp, Ctrl+End" << QDate(2001, 3, 31) << "en_US";
        QTest::newRow("Arabic") << "Right, Down" << QDate(2001, 4, 19) << "ar_EG";
    }

    void calendarKeysMoveTheDayFromTheButtons()
    {
        QFETCH(QString, keys);
        QFETCH(QDate, expected);
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        Windows w;
        const int result = w.run([&] {
            const QWidget* next = w.navigation("qt_calendar_nextmonth");
            QCOMPARE(w.navigation("qt_calendar_prevmonth")->x() > next->x(), locale == "ar_EG");
            QVERIFY(w.dialog->isLeftToRight());
            QTest::keySequence(w.dialog->windowHandle(), QKeySequence(keys));
            QCOMPARE(QApplication::focusWidget(), w.days);
            QTest::keyClick(w.dialog->windowHandle(), Qt::Key_Return);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(w.calendar->selectedDate(), expected);
    }

    void doubleClickOnADayDoesNotClose()
    {
        Windows w;
        bool stillOpen = false;
        const int result = w.run([&] {
            // 13 is selected already, so this is a double-click on the selection.
            QTest::mouseDClick(w.days->viewport(), Qt::LeftButton, {}, w.dayCell(13).center());
            QTest::qWait(50);
            stillOpen = w.dialog->isVisible();
        });
        QVERIFY(stillOpen);
        QCOMPARE(result, kLeftOpen);
    }

    void monthArrowsCarryTheSelection_data()
    {
        QTest::addColumn<QDate>("selected");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("31st into June") << QDate(2001, 5, 31) << true << QDate(2001, 6, 30);
        QTest::newRow("29th into leap February")
            << QDate(2000, 1, 29) << true << QDate(2000, 2, 29);
        QTest::newRow("back across the year") << QDate(2001, 1, 6) << false << QDate(2000, 12, 6);
    }

    void monthArrowsCarryTheSelection()
    {
        QFETCH(QDate, selected);
        QFETCH(bool, forward);
        QFETCH(QDate, expected);
        Windows w;
        w.calendar->setSelectedDate(selected);
        const int result = w.run([&] {
            QTest::mouseClick(
                w.navigation(forward ? "qt_calendar_nextmonth" : "qt_calendar_prevmonth"),
                Qt::LeftButton);
            pressKey(Qt::Key_Return); // the click put the focus in the calendar
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(w.calendar->monthShown(), expected.month());
        QCOMPARE(w.dialog->selectedDay(), dayOfDate(expected));
    }

    void farDatesStayWholeDays()
    {
        Windows w;
        w.run([&] {
            // Before year 1 comes year -1; the day numbers run on without a gap.
            w.calendar->setSelectedDate(QDate(1, 1, 1));
            w.clickDay(1);
            pressKey(Qt::Key_Left);
            QCOMPARE(w.dialog->selectedDay(), dayOfDate(QDate(1, 1, 1)) - 1);
            // At either end of the calendar, keys and arrows stop at the last day.
            w.calendar->setSelectedDate(w.calendar->minimumDate());
            pressKey(Qt::Key_PageUp);
            w.navigation("qt_calendar_prevmonth")->click();
            QCOMPARE(dateOfDay(w.dialog->selectedDay()), w.calendar->minimumDate());
            w.calendar->setSelectedDate(QDate(9999, 12, 31));
            pressKey(Qt::Key_Right);
            w.navigation("qt_calendar_nextmonth")->click();
            QCOMPARE(dateOfDay(w.dialog->selectedDay()), QDate(9999, 12, 31));
        });
    }

    void todayIsRingedOnlyWhileItsMonthIsInView()
    {
        Windows w;
        w.dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.dialog));
        Clock::setFixedToday(QDate(2001, 4, 20));
        QVERIFY(w.calendar->marksToday(QDate(2001, 4, 20)));
        const QImage ringed = w.dayPicture(20);
        const QImage neighbourOfToday = w.dayPicture(21);

        Clock::setFixedToday(QDate(2001, 6, 20));
        QVERIFY(!w.calendar->marksToday(QDate(2001, 4, 20)));
        QVERIFY(w.dayPicture(20) != ringed);
        QCOMPARE(w.dayPicture(21), neighbourOfToday);

        // 1 May shows in April's last row, but only May's page rings it.
        Clock::setFixedToday(QDate(2001, 5, 1));
        QVERIFY(!w.calendar->marksToday(QDate(2001, 5, 1)));
        w.calendar->setSelectedDate(QDate(2001, 5, 13));
        QVERIFY(w.calendar->marksToday(QDate(2001, 5, 1)));
        w.dialog->reject();
    }

    // The names heading the day columns are whole in every locale: the short
    // names where they fit, as in English and German, else the narrow ones.
    void dayNamesFitTheirColumns_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QLocale::FormatType>("names");
        QTest::newRow("English") << "en_US" << QLocale::ShortFormat;
        QTest::newRow("German") << "de_DE" << QLocale::ShortFormat;
        QTest::newRow("Arabic") << "ar_EG" << QLocale::NarrowFormat;
    }

    void dayNamesFitTheirColumns()
    {
        QFETCH(QString, locale);
        QFETCH(QLocale::FormatType, names);
        QLocale::setDefault(QLocale(locale));
        Windows w;
        w.run([&] {
            const QAbstractItemModel* model = w.days->model();
            // An item view leaves this room on either side of a cell's text.
            const int margin =
                w.days->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, w.days) + 1;
            for (int column = 0; column < 7; ++column) {
                const QModelIndex cell = model->index(0, column);
                const int day = (w.calendar->firstDayOfWeek() - 1 + column) % 7 + 1;
                const QString text = cell.data().toString();
                QCOMPARE(text, QLocale().dayName(day, names));
                const QFont font = cell.data(Qt::FontRole).value<QFont>();
                QVERIFY2(QFontMetrics(font).horizontalAdvance(text) <=
                             w.days->visualRect(cell).width() - 2 * margin,
                         qPrintable(text));
            }
        });
    }

    void centredOnMainWindow_data()
    {
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QPoint>("expected");
        // For a dialog of 306 by 194.
        QTest::newRow("halves dropped") << QRect(0, 0, 601, 401) << QPoint(147, 103);
        // (101 - 306) / 2 is -102.5: the fraction goes, leaving -102, not -103.
        QTest::newRow("negative halves dropped") << QRect(500, 400, 101, 93) << QPoint(398, 350);
        QTest::newRow("near the top-left corner") << QRect(0, 0, 200, 100) << QPoint(0, 0);
        QTest::newRow("left edge clipped") << QRect(10, 300, 100, 600) << QPoint(0, 503);
        QTest::newRow("partly off screen") << QRect(-300, -20, 594, 541) << QPoint(0, 153);
    }

    void centredOnMainWindow()
    {
        QFETCH(QRect, main);
        QFETCH(QPoint, expected);
        QCOMPARE(::centredOnMainWindow(main, QSize(306, 194)), expected);
    }

    void firstOpeningIsCentredOnTheMainWindow_data()
    {
        QTest::addColumn<QRect>("mainFrame");
        QTest::newRow("middle of the screen") << QRect(100, 80, 598, 545);
        QTest::newRow("near the top-left corner") << QRect(0, 0, 200, 100);
    }

    void firstOpeningIsCentredOnTheMainWindow()
    {
        QFETCH(QRect, mainFrame);
        Windows w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.main));
        // Place the main window by its outer frame, as the user sees it.
        w.main.resize(mainFrame.size() - (w.main.frameGeometry().size() - w.main.size()));
        w.main.move(mainFrame.topLeft());
        QTRY_COMPARE(w.main.frameGeometry(), mainFrame);

        QRect dialogFrame;
        w.run([&] { dialogFrame = w.dialog->frameGeometry(); });
        QCOMPARE(dialogFrame.topLeft(), ::centredOnMainWindow(mainFrame, dialogFrame.size()));
    }

    void laterOpeningsKeepThePlace()
    {
        Windows w;
        QList<QPoint> places;
        w.run([&] { places << w.dialog->pos(); });
        w.main.move(300, 200); // the dialog does not follow
        w.run([&] {
            places << w.dialog->pos();
            w.dialog->move(37, 41); // the user drags it away
        });
        w.run([&] { places << w.dialog->pos(); });
        QCOMPARE(places, (QList<QPoint>{places.first(), places.first(), QPoint(37, 41)}));
    }
};

QTEST_MAIN(TestGetDate)
#include "tst_getdate.moc"
