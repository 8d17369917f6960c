#include "applicationerror.h"
#include "error.h"
#include "errorbox.h"
#include "guardedapplication.h"
#include "modalanswers.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <new>

namespace {

// Answers the next error box with OK and remembers what it said.
class ErrorBoxAnswer {
public:
    ErrorBoxAnswer()
    {
        QTimer::singleShot(0, [this] { answer(); });
    }
    void answer()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, [this] { answer(); });
            return;
        }
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        modality = box->windowModality();
        buttons = box->buttons().size();
        format = box->textFormat();
        onScreen = box->screen()->availableGeometry().contains(box->frameGeometry());
        box->button(QMessageBox::Ok)->click();
    }
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::WindowModality modality = Qt::NonModal;
    qsizetype buttons = 0;
    Qt::TextFormat format = Qt::AutoText;
    bool onScreen = false;
};

// An object whose event handler fails, as a window's handler might.
class FailingReceiver : public QObject {
public:
    int handled = 0;
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User) {
            ++handled;
            throw NuvaloraError(QStringLiteral("Printer selected is not valid"));
        }
        return QObject::event(event);
    }
};

} // namespace

class TestFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fullStopRule_data();
    void fullStopRule();
    void errorBoxLooksRight();
    void handlerErrorReachesTheBoxAndTheLoopGoesOn();
    void anyKindOfErrorIsShown_data();
    void anyKindOfErrorIsShown();
    void errorOutsideAllHandlingEndsTheProgram_data();
    void errorOutsideAllHandlingEndsTheProgram();
};

void TestFrame::fullStopRule_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("letter") << QStringLiteral("value") << QStringLiteral("value.");
    QTest::newRow("digit") << QStringLiteral("line 2") << QStringLiteral("line 2.");
    QTest::newRow("slash, just above the stop") << QStringLiteral("a/") << QStringLiteral("a/.");
    QTest::newRow("colon") << QStringLiteral("a:") << QStringLiteral("a:.");
    QTest::newRow("stop itself") << QStringLiteral("done.") << QStringLiteral("done.");
    QTest::newRow("hyphen, just below") << QStringLiteral("a-") << QStringLiteral("a-");
    QTest::newRow("parenthesis") << QStringLiteral("(x)") << QStringLiteral("(x)");
    QTest::newRow("quote") << QStringLiteral("'abc'") << QStringLiteral("'abc'");
    QTest::newRow("comma") << QStringLiteral("a,") << QStringLiteral("a,");
    QTest::newRow("blank") << QStringLiteral("a ") << QStringLiteral("a ");
    QTest::newRow("exclamation") << QStringLiteral("a!") << QStringLiteral("a!");
    QTest::newRow("beyond 0x7F") << QStringLiteral("caf\u00E9") << QStringLiteral("caf\u00E9.");
    QTest::newRow("integer message") << QStringLiteral("'abc' is not a valid integer value")
                                     << QStringLiteral("'abc' is not a valid integer value.");
    QTest::newRow("path") << QStringLiteral("Cannot create file /x/month.dat")
                          << QStringLiteral("Cannot create file /x/month.dat.");
}

void TestFrame::fullStopRule()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(errorBoxText(message), shown);
}

void TestFrame::errorBoxLooksRight()
{
    ErrorBoxAnswer answer;
    showErrorBox(QStringLiteral("There is no default printer currently selected"));
    QCOMPARE(answer.text, QStringLiteral("There is no default printer currently selected."));
    QCOMPARE(answer.title, QStringLiteral("Nuvalora Sex Planner"));
    QCOMPARE(answer.icon, QMessageBox::Critical);
    QCOMPARE(answer.modality, Qt::ApplicationModal);
    QCOMPARE(answer.buttons, 1);

    // A message quoting a row that looks like markup shows it as it stands.
    ErrorBoxAnswer markup;
    showErrorBox(QStringLiteral("'<b>36994</b>' is not a valid integer value"));
    QCOMPARE(markup.text, QStringLiteral("'<b>36994</b>' is not a valid integer value."));
    QCOMPARE(markup.format, Qt::PlainText);

    // A row of megabytes is quoted by its start and end only.
    const QString row(5'000'000, QLatin1Char('7'));
    const QString shown =
        errorBoxShownText(QStringLiteral("'%1x' is not a valid integer value").arg(row));
    QCOMPARE(shown.size(), 901);
    QVERIFY(shown.startsWith(QStringLiteral("'777")));
    QVERIFY(shown.endsWith(QStringLiteral("7x' is not a valid integer value.")));
    QCOMPARE(shown[700], QChar(0x2026));
    QCOMPARE(errorBoxShownText(row.left(899)), row.left(899) + QLatin1Char('.'));

    // One too tall for the screen keeps less of its middle: the box fits.
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QString::number(i);
    ErrorBoxAnswer tall;
    showErrorBox(lines.join(QLatin1Char('\n')));
    QVERIFY(tall.onScreen);
    QVERIFY(tall.text.startsWith(QStringLiteral("0\n1\n")));
    QVERIFY(tall.text.endsWith(QStringLiteral("198\n199.")));
}

void TestFrame::handlerErrorReachesTheBoxAndTheLoopGoesOn()
{
    FailingReceiver receiver;
    ErrorBoxAnswer answer;
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    QTRY_COMPARE(answer.text, QStringLiteral("Printer selected is not valid."));
    // The event loop carries on: later events are handled as usual.
    ErrorBoxAnswer second;
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    QTRY_COMPARE(receiver.handled, 2);
    QTRY_VERIFY(!second.text.isEmpty());
}

void TestFrame::anyKindOfErrorIsShown_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("shown");
    QTest::newRow("program error") << 0 << QStringLiteral("Unable to insert a line.");
    QTest::newRow("out of memory") << 1 << QStringLiteral("Out of memory.");
    QTest::newRow("standard error") << 2 << QStringLiteral("vector::_M_range_check.");
    QTest::newRow("anything else") << 3 << QStringLiteral("Unknown error.");
}

void TestFrame::anyKindOfErrorIsShown()
{
    QFETCH(int, kind);
    QFETCH(QString, shown);
    ModalAnswers answers; // one box, and only one
    QString text;
    answers.expectMessageBox(&text);
    runGuarded([&] {
        switch (kind) {
        case 0:
            throw NuvaloraError(QStringLiteral("Unable to insert a line"));
        case 1:
            throw std::bad_alloc();
        case 2:
            throw std::out_of_range("vector::_M_range_check");
        default:
            throw 42;
        }
    });
    QCOMPARE(text, shown);
    QVERIFY2(answers.problems().isEmpty(), qPrintable(answers.report()));
}

void TestFrame::errorOutsideAllHandlingEndsTheProgram_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("pattern");
    // The program's own error knows where it was raised: in this test's
    // executable, at an offset into it.
    QTest::newRow("program error")
        << 0
        << QStringLiteral("^Exception NuvaloraError in module tst_frame at ([0-9A-F]{16})\\.\n"
                          "Cannot open file /x/month\\.dat\\.$");
    // Other errors carry no address; the module is the program's own, and a
    // message that ends in a full stop gets no second one.
    QTest::newRow("standard error")
        << 1
        << QStringLiteral("^Exception std::runtime_error in module tst_frame at 0{16}\\.\n"
                          "Nothing works\\.$");
}

void TestFrame::errorOutsideAllHandlingEndsTheProgram()
{
    QFETCH(int, kind);
    QFETCH(QString, pattern);
    ModalAnswers answers;
    QString text, title;
    answers.expect<QMessageBox>([&](QWidget* modal) {
        auto* box = static_cast<QMessageBox*>(modal);
        text = box->text();
        title = box->windowTitle();
        QCOMPARE(box->icon(), QMessageBox::Critical);
        QCOMPARE(box->buttons().size(), 1);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    const int code = runApplication([kind]() -> int {
        if (kind == 0)
            throw NuvaloraError(QStringLiteral("Cannot open file /x/month.dat"));
        throw std::runtime_error("Nothing works.");
    });
    QCOMPARE(code, 1);
    QCOMPARE(title, QStringLiteral("Application Error"));
    const QRegularExpressionMatch match = QRegularExpression(pattern).match(text);
    QVERIFY2(match.hasMatch(), qPrintable(text));
    if (kind == 0) {
        // The offset lies inside this executable's file.
        const qulonglong offset = match.captured(1).toULongLong(nullptr, 16);
        QVERIFY(offset > 0);
        QVERIFY(offset < qulonglong(QFileInfo(QCoreApplication::applicationFilePath()).size()));
    }
    QVERIFY2(answers.problems().isEmpty(), qPrintable(answers.report()));
    // A program that ends normally gives its own exit code.
    QCOMPARE(runApplication([] { return 0; }), 0);
}

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Nuvalora Sex Planner"));
    TestFrame test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frame.moc"
