#include "daynumber.h"
#include "getdate.h"
#include "main.h"
#include "programfont.h"

#include "testfiles.h"
#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

const QString kAskLine = QStringLiteral("Please enter the date of the start of your last period");

// Runs the action on the next modal window of the given kind to come up,
// as a person would answer it.
template <typename Kind = QWidget>
void answerNextModal(std::function<void(QWidget*)> action, const QString& objectName = QString())
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [action, poll, objectName] {
        QWidget* modal = QApplication::activeModalWidget();
        if (qobject_cast<Kind*>(modal) &&
            (objectName.isEmpty() || modal->objectName() == objectName))
            action(modal);
        else
            QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

// Answers the next message box with OK, keeping its text.
void answerMessageBox(QString* text)
{
    answerNextModal<QMessageBox>([text](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY2(box, qPrintable(modal->objectName()));
        *text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
}

// Picks a day in the date dialog and presses OK, or Cancel.
void answerDateDialog(QDate date, bool ok)
{
    answerNextModal<TForm2>([date, ok](QWidget* modal) {
        auto* dialog = qobject_cast<TForm2*>(modal);
        QVERIFY(dialog);
        if (date.isValid())
            dialog->findChild<QCalendarWidget*>(QStringLiteral("cal"))->setSelectedDate(date);
        dialog->findChild<QPushButton*>(ok ? QStringLiteral("BitBtn1") : QStringLiteral("BitBtn4"))
            ->click();
    });
}

// Types into the input box of Set Manually and presses OK, or Cancel.
void answerInputBox(const QString& typed, bool ok, QString* offered = nullptr)
{
    answerNextModal(
        [typed, ok, offered](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral("Length of Cycle"));
            auto* edit = modal->findChild<QLineEdit*>(QStringLiteral("edit"));
            if (offered)
                *offered = edit->text();
            edit->setText(typed);
            modal->findChild<QPushButton*>(ok ? QStringLiteral("ok") : QStringLiteral("cancel"))
                ->click();
        },
        QStringLiteral("inputBox"));
}

// While it lives, answers every message box that comes up with OK, and
// closes any other modal window, noting what it saw.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                texts << box->text();
                box->button(QMessageBox::Ok)->click();
            } else if (modal) {
                others << modal->objectName();
                modal->close();
            }
        });
        m_timer.start(10);
    }
    QStringList texts;
    QStringList others;

private:
    QTimer m_timer;
};

// Counts the close requests a window gets.
class CloseCounter : public QObject {
public:
    int closes = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Close)
            ++closes;
        return false;
    }
};

constexpr DayNumber d = 36994; // 13 April 2001

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void firstViewWithoutStoredDates();
    void layoutAndFrame_data();
    void layoutAndFrame();
    void captionsFitTheirDesignedWidths();
    void storedDatesAreShownWithTheirCycles();
    void badStoreIsReportedBeforeTheWindowAppears();
    void unwritableStoreKeepsTheWindowOpen();
    void closeButtonClosesOnceAndKeepsTheDates();
    void tabOrderAndFocus();
    void letterAloneOnAButtonPressesIt();
    void sessionEndKeepsTheDatesQuietly();

    void addedDatesAreSortedAndDuplicatesShowZeroDays();
    void cancelledDateDialogChangesNothing();
    void editWithoutSelectionShowsNoDialog();
    void editLeavesTheListOutOfOrder();
    void deleteWithAndWithoutSelection();
    void undrawableRowIsReportedOnce();
    void setManually_data();
    void setManually();
    void setManuallyCancelAndLaterAdd();

private:
    void makeWindow(const QString& storePath);
    void writeStore(const QByteArray& contents);
    QString memoText() const;
    QString lengthText() const;
    QPushButton* button(const char* name) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_store;
    std::unique_ptr<TForm1> m_form;
};

void TestMainWindow::initTestCase()
{
    QApplication::setApplicationName(QStringLiteral("Nuvalora Sex Planner"));
    registerFontSubstitutes(); // as at the program's start-up
    setDisplayDatePattern(QStringLiteral("M/d/yy"));
}

void TestMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = m_dir->filePath(QStringLiteral("month.dat"));
}

void TestMainWindow::cleanup()
{
    if (m_form) {
        // Let a pending close go through without a fuss.
        m_form->hide();
        m_form.reset();
    }
}

void TestMainWindow::makeWindow(const QString& storePath)
{
    m_form = std::make_unique<TForm1>(storePath);
}

void TestMainWindow::writeStore(const QByteArray& contents)
{
    QFile file(m_store);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QString TestMainWindow::memoText() const
{
    return m_form->findChild<QPlainTextEdit*>(QStringLiteral("memo1"))->toPlainText();
}

QString TestMainWindow::lengthText() const
{
    return m_form->findChild<QLineEdit*>(QStringLiteral("edtLength"))->text();
}

QPushButton* TestMainWindow::button(const char* name) const
{
    return m_form->findChild<QPushButton*>(QString::fromLatin1(name));
}

void TestMainWindow::firstViewWithoutStoredDates()
{
    makeWindow(m_store);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QCOMPARE(m_form->dates().count(), 0);
    QCOMPARE(lengthText(), QString());
    QCOMPARE(memoText(), kAskLine);
    QVERIFY(!button("btnEdit")->isEnabled());
    QVERIFY(!button("btnDelete")->isEnabled());
    QVERIFY(!QFile::exists(m_store)); // nothing is written before the close
}

void TestMainWindow::layoutAndFrame_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("GroupBox1") << QStringLiteral("GroupBox1") << QRect(8, 8, 449, 197);
    QTest::newRow("GroupBox2") << QStringLiteral("GroupBox2") << QRect(8, 212, 449, 113);
    QTest::newRow("GroupBox3") << QStringLiteral("GroupBox3") << QRect(8, 332, 449, 201);
    QTest::newRow("BitBtn2") << QStringLiteral("BitBtn2") << QRect(470, 420, 115, 33);
    QTest::newRow("BitBtn3") << QStringLiteral("BitBtn3") << QRect(470, 500, 115, 33);
    QTest::newRow("lbxdates") << QStringLiteral("lbxdates") << QRect(16, 40, 297, 121);
    QTest::newRow("edtLength") << QStringLiteral("edtLength") << QRect(192, 72, 49, 21);
    QTest::newRow("memo1") << QStringLiteral("memo1") << QRect(12, 20, 305, 169);
    QTest::newRow("btnSave") << QStringLiteral("btnSave") << QRect(328, 164, 107, 25);
}

void TestMainWindow::layoutAndFrame()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    makeWindow(m_store);
    QCOMPARE(m_form->findChild<QWidget*>(name)->geometry(), geometry);

    QCOMPARE(m_form->windowTitle(), QStringLiteral("Nuvalora Sex Planner"));
    QCOMPARE(m_form->minimumSize(), QSize(594, 541));
    QCOMPARE(m_form->maximumSize(), QSize(594, 541));
    const Qt::WindowFlags flags = m_form->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));

    // Nine whole rows of 13 pixels fit the list, and no tenth.
    auto* list = m_form->findChild<QAbstractItemView*>(QStringLiteral("lbxdates"));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QCOMPARE(list->viewport()->height() / 13, 9);
    QCOMPARE(button("BitBtn3")->text(), QStringLiteral("About..."));
    QVERIFY(!button("BitBtn3")->icon().isNull());
}

// The one-line captions keep to the widths they were designed for in MS Sans
// Serif, also where a wider substitute stands in for it.
void TestMainWindow::captionsFitTheirDesignedWidths()
{
    makeWindow(m_store);
    for (const char* name : {"Label1", "Label3", "Label4", "Label5"}) {
        const auto* label = m_form->findChild<QLabel*>(QLatin1String(name));
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), name);
    }
}

void TestMainWindow::storedDatesAreShownWithTheirCycles()
{
    // 14 March and 13 April 2001, stored out of order.
    writeStore("36994\r\n36964\r\n");
    makeWindow(m_store);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QCOMPARE(m_form->rowDisplayText(0), QStringLiteral(" 3/14/01"));
    QCOMPARE(m_form->rowDisplayText(1),
             QStringLiteral(" 4/13/01   (Menstrual cycle length: 30 days)"));
    QCOMPARE(lengthText(), QStringLiteral("30"));
    QVERIFY(memoText().startsWith(QStringLiteral("Average Length of Menstrual Cycle: 30\n")));
}

void TestMainWindow::badStoreIsReportedBeforeTheWindowAppears()
{
    writeStore("abc\r\n");
    makeWindow(m_store);
    QString first;
    bool windowShownDuringBox = true;
    answerNextModal<QMessageBox>([&](QWidget* modal) {
        windowShownDuringBox = m_form->windowHandle() && m_form->windowHandle()->isVisible();
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        first = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    QString second;
    answerMessageBox(&second); // the row cannot be drawn either
    m_form->show();
    QCOMPARE(first, QStringLiteral("'abc' is not a valid integer value."));
    QVERIFY(!windowShownDuringBox);
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QTRY_COMPARE(second, QStringLiteral("'abc' is not a valid floating point value."));
    // The window is usable: deleting the bad row leaves a good report.
    m_form->dates().remove(0);
    button("btnDelete")->setEnabled(true);
    button("btnDelete")->click();
    QCOMPARE(memoText(), kAskLine);
}

void TestMainWindow::unwritableStoreKeepsTheWindowOpen()
{
    const QString folder = m_dir->filePath(QStringLiteral("later"));
    const QString store = folder + QStringLiteral("/month.dat");
    makeWindow(store);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));

    QString message;
    answerMessageBox(&message);
    QVERIFY(!m_form->close());
    QCOMPARE(message, QStringLiteral("Cannot create file %1.").arg(store));
    QVERIFY(m_form->isVisible());

    // Once the folder is there, a later close goes through and keeps the list.
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(m_form->close());
    QVERIFY(!m_form->isVisible());
    QCOMPARE(readAll(store), QByteArray());
}

void TestMainWindow::closeButtonClosesOnceAndKeepsTheDates()
{
    writeStore("36994\n36964");
    makeWindow(m_store);
    CloseCounter counter;
    m_form->installEventFilter(&counter);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QTest::mouseClick(button("BitBtn2"), Qt::LeftButton);
    QTRY_VERIFY(!m_form->isVisible());
    QCOMPARE(counter.closes, 1);
    QCOMPARE(readAll(m_store), QByteArray("36964\r\n36994\r\n"));
}

void TestMainWindow::tabOrderAndFocus()
{
    makeWindow(m_store);
    m_form->show();
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("btnAdd"));

    auto visit = [this](int steps) {
        QStringList names;
        for (int i = 0; i < steps; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            names << QApplication::focusWidget()->objectName();
        }
        return names;
    };
    QCOMPARE(visit(9), (QStringList{"lbxdates", "btnSetLength", "btnPrint", "btnSave", "BitBtn2",
                                    "BitBtn1", "BitBtn3", "btnAdd", "lbxdates"}));
    button("btnEdit")->setEnabled(true);
    button("btnDelete")->setEnabled(true);
    button("btnAdd")->setFocus();
    QCOMPARE(visit(3), (QStringList{"btnEdit", "btnDelete", "lbxdates"}));
    // Escape presses nothing.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(m_form->isVisible());
}

void TestMainWindow::letterAloneOnAButtonPressesIt()
{
    makeWindow(m_store);
    m_form->show();
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTest::keyClick(button("btnAdd"), Qt::Key_C);
    QTRY_VERIFY(!m_form->isVisible());
    QVERIFY(QFile::exists(m_store));
}

void TestMainWindow::sessionEndKeepsTheDatesQuietly()
{
    makeWindow(m_dir->filePath(QStringLiteral("missing/month.dat")));
    m_form->dates().add("36994");
    m_form->saveForSessionEnd(); // no box, no error: the session must end
    QVERIFY(!QApplication::activeModalWidget());

    makeWindow(m_store);
    m_form->dates().add("36994");
    m_form->saveForSessionEnd();
    QCOMPARE(readAll(m_store), QByteArray("36994\r\n"));
}

void TestMainWindow::addedDatesAreSortedAndDuplicatesShowZeroDays()
{
    makeWindow(m_store);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    // A press that comes before the date dialog was made still gets it.
    QVERIFY(!m_form->findChild<TForm2*>());
    answerDateDialog(QDate(2001, 4, 13), true);
    button("btnAdd")->click();
    QCOMPARE(m_form->findChildren<TForm2*>().size(), 1);
    QCOMPARE(memoText().section(QLatin1Char('\n'), 0, 0),
             QStringLiteral("Using a typical length of menstrual cycle of 28"));
    answerDateDialog(QDate(2001, 3, 14), true);
    button("btnAdd")->click();
    answerDateDialog(QDate(2001, 4, 13), true);
    button("btnAdd")->click();
    QCOMPARE(m_form->dates().count(), 3);
    QCOMPARE(m_form->dates().text(0), QByteArray("36964"));
    QCOMPARE(m_form->rowDisplayText(2),
             QStringLiteral(" 4/13/01   (Menstrual cycle length: 0 days)"));
    QCOMPARE(lengthText(), QStringLiteral("15")); // 30 / 2
}

void TestMainWindow::cancelledDateDialogChangesNothing()
{
    writeStore("36994\r\n");
    makeWindow(m_store);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    auto* memo = m_form->findChild<QPlainTextEdit*>(QStringLiteral("memo1"));
    memo->setPlainText(QStringLiteral("marker")); // a rebuilt report would replace it
    answerDateDialog(QDate(2001, 5, 2), false);
    button("btnAdd")->click();
    auto* list = m_form->findChild<QAbstractItemView*>(QStringLiteral("lbxdates"));
    list->setCurrentIndex(m_form->dates().index(0));
    answerDateDialog(QDate(2001, 5, 2), false);
    button("btnEdit")->click();
    QCOMPARE(memoText(), QStringLiteral("marker"));
    QCOMPARE(m_form->dates().count(), 1);
    QCOMPARE(m_form->dates().text(0), QByteArray("36994"));
}

void TestMainWindow::editWithoutSelectionShowsNoDialog()
{
    makeWindow(m_store);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    MessageBoxAnswerer watcher;
    button("btnEdit")->setEnabled(true);
    button("btnEdit")->click();
    QTest::qWait(50);
    QVERIFY(watcher.others.isEmpty());
    QVERIFY(watcher.texts.isEmpty());
}

void TestMainWindow::editLeavesTheListOutOfOrder()
{
    writeStore("36994\r\n37024\r\n"); // d and d + 30
    makeWindow(m_store);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    auto* list = m_form->findChild<QAbstractItemView*>(QStringLiteral("lbxdates"));
    list->setCurrentIndex(m_form->dates().index(0));
    QVERIFY(button("btnEdit")->isEnabled());
    answerDateDialog(dateOfDay(d + 61), true);
    button("btnEdit")->click();
    QCOMPARE(m_form->dates().text(0), dayText(d + 61));
    QCOMPARE(m_form->dates().text(1), dayText(d + 30));
    QCOMPARE(list->currentIndex().row(), 0);
    QVERIFY(
        m_form->rowDisplayText(1).endsWith(QStringLiteral("(Menstrual cycle length: -31 days)")));
    QCOMPARE(lengthText(), QStringLiteral("-31"));
    QVERIFY(memoText().contains(QStringLiteral("Next Period: ") + displayDate(d + 30 - 31)));
}

void TestMainWindow::deleteWithAndWithoutSelection()
{
    writeStore("36994\r\n");
    makeWindow(m_store);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    auto* list = m_form->findChild<QAbstractItemView*>(QStringLiteral("lbxdates"));
    list->setCurrentIndex(m_form->dates().index(0));
    button("btnDelete")->click();
    QCOMPARE(m_form->dates().count(), 0);
    QVERIFY(list->selectionModel()->selectedRows().isEmpty());
    QCOMPARE(memoText(), kAskLine);
    QCOMPARE(lengthText(), QStringLiteral("28")); // the last length stays

    auto* memo = m_form->findChild<QPlainTextEdit*>(QStringLiteral("memo1"));
    memo->setPlainText(QStringLiteral("marker"));
    button("btnDelete")->click(); // nothing selected: the report is rebuilt all the same
    QCOMPARE(memoText(), kAskLine);
    QVERIFY(button("btnEdit")->isEnabled());
}

void TestMainWindow::undrawableRowIsReportedOnce()
{
    writeStore("36994\r\n37001x\r\n");
    makeWindow(m_store);
    MessageBoxAnswerer answerer;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    auto* list = m_form->findChild<QAbstractItemView*>(QStringLiteral("lbxdates"));
    for (int i = 0; i < 10; ++i) {
        list->viewport()->repaint();
        QTest::qWait(30);
    }
    // The report's integer error once, and the drawing error once: repaints
    // after the box has gone do not bring it back.
    QCOMPARE(answerer.texts, (QStringList{"'37001x' is not a valid integer value.",
                                          "'37001x' is not a valid floating point value."}));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TestMainWindow::setManually_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("length"); // empty: refused with the warning
    QTest::newRow("leading blank")
        << QByteArray("36994") << QStringLiteral(" 30") << QStringLiteral("30");
    QTest::newRow("plus") << QByteArray("36994") << QStringLiteral("+30") << QStringLiteral("30");
    QTest::newRow("hexadecimal") << QByteArray("36994") << QStringLiteral("$1E")
                                 << QStringLiteral("30");
    QTest::newRow("negative") << QByteArray("36994") << QStringLiteral("-5")
                              << QStringLiteral("-5");
    QTest::newRow("zero") << QByteArray("36994") << QStringLiteral("0") << QStringLiteral("0");
    QTest::newRow("trailing blank") << QByteArray("36994") << QStringLiteral("30 ") << QString();
    QTest::newRow("empty") << QByteArray("36994") << QString() << QString();
    QTest::newRow("fraction") << QByteArray("36994") << QStringLiteral("28.5") << QString();
    QTest::newRow("empty list") << QByteArray() << QStringLiteral("31") << QStringLiteral("31");
    QTest::newRow("bad last row") << QByteArray("36994\r\nzz") << QStringLiteral("31") << QString();
}

void TestMainWindow::setManually()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, typed);
    QFETCH(QString, length);
    if (!stored.isEmpty())
        writeStore(stored);
    makeWindow(m_store);
    if (stored.contains("zz")) {
        // The bad stored row fails the first report and its own drawing.
        MessageBoxAnswerer answerer;
        m_form->show();
        QTRY_COMPARE(answerer.texts.size(), 2);
    }
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QVERIFY(!QApplication::activeModalWidget());
    const QString lengthBefore = lengthText();
    const QString reportBefore = memoText();

    QString offered;
    answerInputBox(typed, true, &offered);
    QString warning;
    QString warningTitle;
    if (length.isEmpty() || stored.contains("zz")) {
        answerNextModal<QMessageBox>([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            warning = box->text();
            warningTitle = box->windowTitle();
            QCOMPARE(box->icon(), QMessageBox::Warning);
            box->button(QMessageBox::Ok)->click();
        });
    }
    button("btnSetLength")->click();
    QCOMPARE(offered, lengthBefore);

    if (stored.contains("zz")) {
        // The number was taken; the report failed on the last row.
        QCOMPARE(warning, QStringLiteral("You did not specify a valid number"));
        QCOMPARE(lengthText(), QStringLiteral("31"));
        QCOMPARE(memoText(), QStringLiteral("Using a manually set menstrual cycle of 31"));
    } else if (length.isEmpty()) {
        QCOMPARE(warning, QStringLiteral("You did not specify a valid number"));
        QCOMPARE(warningTitle, QStringLiteral("Warning"));
        QCOMPARE(lengthText(), lengthBefore);
        QCOMPARE(memoText(), reportBefore);
    } else if (stored.isEmpty()) {
        QCOMPARE(lengthText(), length);
        QCOMPARE(memoText(), kAskLine);
    } else {
        QCOMPARE(lengthText(), length);
        QCOMPARE(memoText().section(QLatin1Char('\n'), 0, 1),
                 QStringLiteral("Using a manually set menstrual cycle of %1\nNext Period: %2")
                     .arg(length, displayDate(d + length.toInt())));
    }
}

void TestMainWindow::setManuallyCancelAndLaterAdd()
{
    writeStore("36994\r\n");
    makeWindow(m_store);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    answerInputBox(QStringLiteral("40"), false);
    button("btnSetLength")->click();
    QCOMPARE(lengthText(), QStringLiteral("28"));

    // OK with the text unchanged turns the report into a manual one.
    answerInputBox(QStringLiteral("28"), true);
    button("btnSetLength")->click();
    QVERIFY(memoText().startsWith(QStringLiteral("Using a manually set menstrual cycle of 28")));

    answerInputBox(QStringLiteral("40"), true);
    button("btnSetLength")->click();
    QCOMPARE(lengthText(), QStringLiteral("40"));
    // The next add works the length out again.
    answerDateDialog(dateOfDay(d + 26), true);
    button("btnAdd")->click();
    QCOMPARE(lengthText(), QStringLiteral("26"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
