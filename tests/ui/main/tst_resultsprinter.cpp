// Print Results through the real print system: the print dialog is shown
// and answered, the job goes through CUPS to its cups-pdf queue, and the PDF
// that comes out is read back. A second run of this program, with CUPS out
// of reach, checks what happens when there is no printer at all.

#include "error.h"
#include "errorbox.h"
#include "programfont.h"
#include "resultsprinter.h"

#include "modalanswers.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <QtTest>

#include <functional>
#include <pwd.h>
#include <unistd.h>

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return QString();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// cups-pdf writes into PDF in the home folder of the user who sent the job.
QString pdfFolder()
{
    const passwd* user = getpwuid(getuid());
    return QString::fromLocal8Bit(user ? user->pw_dir : "/root") + QStringLiteral("/PDF");
}

QString pdfText(const QString& pdf)
{
    return run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
}

// One field of pdfinfo's report, such as "Pages" or "Title".
QString pdfInfo(const QString& pdf, const QString& field)
{
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    return QRegularExpression(QStringLiteral("^%1:\\s+(.*)$").arg(field),
                              QRegularExpression::MultilineOption)
        .match(info)
        .captured(1);
}

int pdfPages(const QString& pdf)
{
    return pdfInfo(pdf, QStringLiteral("Pages")).toInt();
}

// cups-pdf names its file after the job: "<title>-job_<id>.pdf", blanks
// made underscores. The job id, or an empty text.
QString jobId(const QString& pdf)
{
    return QRegularExpression(QStringLiteral("job_(\\d+)\\.pdf$")).match(pdf).captured(1);
}

// Whether CUPS has finished the job that made this PDF.
bool jobCompleted(const QString& pdf)
{
    const QString id = jobId(pdf);
    if (id.isEmpty())
        return false;
    const QString done =
        run(QStringLiteral("lpstat"),
            {QStringLiteral("-W"), QStringLiteral("completed"), QStringLiteral("-o")});
    return done.contains(QRegularExpression(QStringLiteral("\\S+-%1\\s").arg(id)));
}

// The name CUPS gave the job that made this PDF, exactly as the program
// sent it. The scheduler is the one CUPS_SERVER names, whose socket's path
// goes into the address as its host name.
QString jobName(const QString& pdf)
{
    const QString id = jobId(pdf);
    if (id.isEmpty())
        return QString();
    const QString host =
        QString::fromLatin1(QUrl::toPercentEncoding(qEnvironmentVariable("CUPS_SERVER")));
    const QString answer =
        run(QStringLiteral("ipptool"),
            {QStringLiteral("-tv"), QStringLiteral("ipp://%1/jobs/%2").arg(host, id),
             QFINDTESTDATA("jobname.test")});
    return QRegularExpression(QStringLiteral("job-name \\(nameWithoutLanguage\\) = (.*)$"),
                              QRegularExpression::MultilineOption)
        .match(answer)
        .captured(1);
}

// The PDFs that the tests took for theirs, removed when each test ends.
QStringList& pdfsMade()
{
    static QStringList made;
    return made;
}

// Waits for the PDF of a finished job made since the given moment that
// the test accepts. Other people's jobs may come out of the same queue
// meanwhile; a marker in the text tells ours apart.
QString waitForPdf(const QDateTime& since, const std::function<bool(const QString&)>& ours,
                   int timeoutMs = 60000)
{
    QSet<QString> looked;
    QElapsedTimer clock;
    clock.start();
    do {
        const QFileInfoList files =
            QDir(pdfFolder())
                .entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time | QDir::Reversed);
        for (const QFileInfo& file : files) {
            const QString pdf = file.filePath();
            if (file.lastModified() < since.addSecs(-1) || looked.contains(pdf) ||
                !jobCompleted(pdf))
                continue;
            looked.insert(pdf);
            if (ours(pdf)) {
                pdfsMade().append(pdf);
                return pdf;
            }
        }
        QTest::qWait(250);
    } while (clock.elapsed() < timeoutMs);
    return QString();
}

QString waitForPdfHolding(const QString& marker, const QDateTime& since, int timeoutMs = 60000)
{
    return waitForPdf(
        since, [&](const QString& pdf) { return pdfText(pdf).contains(marker); }, timeoutMs);
}

// A word of a PDF with its box, in points from the page's top-left corner.
struct PdfWord {
    int page;
    QString text;
    QRectF box;
};

struct PdfLayout {
    QList<QSizeF> pages;
    QList<PdfWord> words;
};

PdfLayout pdfLayout(const QString& pdf)
{
    PdfLayout layout;
    const QString boxes =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression item(
        QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">|"
                       "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (const auto& match : item.globalMatch(boxes)) {
        if (!match.captured(1).isEmpty()) {
            layout.pages << QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble());
            continue;
        }
        const QPointF topLeft(match.captured(3).toDouble(), match.captured(4).toDouble());
        const QPointF bottomRight(match.captured(5).toDouble(), match.captured(6).toDouble());
        layout.words << PdfWord{int(layout.pages.size()) - 1, match.captured(7),
                                QRectF(topLeft, bottomRight)};
    }
    return layout;
}

QString numberedLine(int number, const QString& marker)
{
    return QStringLiteral("Line %1 of the plan %2")
        .arg(number, 3, 10, QLatin1Char('0'))
        .arg(marker);
}

// Dialog facts gathered while it was open.
struct PrintDialogSeen {
    bool shown = false;
    QString objectName;
    QRect frame;
    QString printerName;
    QStringList printerEntries;
    bool printAllChecked = false;
    QStringList rangeChoicesOffered; // visible choices other than "Print all"
    bool copiesOffered = false;
    bool collateOffered = false;
    int copiesShown = 0;
};

} // namespace

// With the tests' own CUPS scheduler and its default cups-pdf queue, which
// CUPS_SERVER names (the test_printer fixture).
class TestResultsPrinter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void reportIsPrintedAsOneNamedJob();
    void longTextFillsSeveralPagesLosingNoLine();
    void emptyTextPrintsOneEmptyPage();
    void cancelPrintsNothing();
    void copiesChosenStayForTheRun();
    void secondPrintWhileSendingIsRefused();

private:
    // Answers the next print dialog: notes what it shows, lets the caller
    // change it, then presses Print (or Cancel).
    void answerPrintDialog(PrintDialogSeen* seen, bool print,
                           std::function<void(QPrintDialog*)> change = {});

    QWidget m_window;
    std::unique_ptr<ModalAnswers> m_answers; // this test's dialog answers, gone with it
    std::unique_ptr<ResultsPrinter> m_printer;
    QFont m_font;
    QString m_marker;
    QDateTime m_started;
};

void TestResultsPrinter::initTestCase()
{
    // Never the system's printers: whatever this prints would come out there.
    if (!qEnvironmentVariable("CUPS_SERVER").startsWith(QLatin1Char('/')))
        QFAIL("CUPS_SERVER names no scheduler of the tests' own: run this test through ctest.");
    const QString scheduler = run(QStringLiteral("lpstat"), {QStringLiteral("-r")});
    if (!scheduler.contains(QStringLiteral("scheduler is running")))
        QFAIL("The tests' CUPS scheduler is not running (see the test test_printer_start).");
    if (QPrinterInfo::defaultPrinterName().isEmpty())
        QFAIL("The tests' CUPS scheduler has no default printer.");
    const QString options = run(QStringLiteral("lpoptions"),
                                {QStringLiteral("-p"), QPrinterInfo::defaultPrinterName()});
    if (!options.contains(QStringLiteral("pdftops-renderer=pdftocairo")))
        QFAIL("The default queue would lose the text of what it prints.");
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QFAIL("pdfinfo and pdftotext are missing: install poppler-utils.");

    registerFontSubstitutes();
    m_font = programFont(); // the results box's font
    m_window.resize(594, 541);
    m_window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_window));
}

void TestResultsPrinter::init()
{
    m_answers = std::make_unique<ModalAnswers>();
    m_printer = std::make_unique<ResultsPrinter>();
    m_marker = QUuid::createUuid().toString(QUuid::Id128).left(12);
    m_started = QDateTime::currentDateTime();
}

void TestResultsPrinter::cleanup()
{
    for (const QString& pdf : std::as_const(pdfsMade()))
        QFile::remove(pdf);
    pdfsMade().clear();
    // Nothing came up that the test did not expect, and all it expected came.
    QVERIFY2(m_answers->problems().isEmpty(), qPrintable(m_answers->report()));
    m_answers.reset();
}

void TestResultsPrinter::answerPrintDialog(PrintDialogSeen* seen, bool print,
                                           std::function<void(QPrintDialog*)> change)
{
    m_answers->expect<QPrintDialog>([=](QWidget* modal) {
        auto* dialog = static_cast<QPrintDialog*>(modal);
        seen->shown = true;
        seen->objectName = dialog->objectName();
        seen->frame = dialog->frameGeometry();
        if (auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"))) {
            seen->printerName = printers->currentText();
            for (int i = 0; i < printers->count(); ++i)
                seen->printerEntries << printers->itemText(i);
        }
        // Open the options part, where the range and copies are chosen.
        for (auto* button : dialog->findChildren<QPushButton*>()) {
            if (button->text().startsWith(QStringLiteral("&Options")))
                button->click();
        }
        if (auto* all = dialog->findChild<QRadioButton*>(QStringLiteral("printAll")))
            seen->printAllChecked = all->isChecked() && all->isVisibleTo(dialog);
        for (const char* name : {"printRange", "pagesRadioButton", "printSelection",
                                 "printCurrentPage", "pageSetCombo"}) {
            auto* choice = dialog->findChild<QWidget*>(QLatin1String(name));
            if (choice && choice->isVisibleTo(dialog) && choice->isEnabled())
                seen->rangeChoicesOffered << QLatin1String(name);
        }
        if (auto* copies = dialog->findChild<QSpinBox*>(QStringLiteral("copies"))) {
            seen->copiesOffered = copies->isVisibleTo(dialog) && copies->isEnabled();
            seen->copiesShown = copies->value();
        }
        if (auto* collate = dialog->findChild<QWidget*>(QStringLiteral("collate")))
            seen->collateOffered = collate->isVisibleTo(dialog) && collate->isEnabled();
        if (change)
            change(dialog);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QAbstractButton* press =
            buttons ? buttons->button(print ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
                    : nullptr;
        if (press)
            QTest::mouseClick(press, Qt::LeftButton);
        else
            dialog->reject();
    });
}

void TestResultsPrinter::reportIsPrintedAsOneNamedJob()
{
    const QStringList report{
        QStringLiteral("Using a typical length of menstrual cycle of 28 ") + m_marker,
        QStringLiteral("Next Period: 5/27/01"), QStringLiteral(" "),
        QStringLiteral("Recommended dates for sex:  Everyday from 5/8/01 to 5/14/01"),
        QStringLiteral("Best day for sex:  5/13/01  (1 chance in 3 of conceiving)")};
    PrintDialogSeen seen;
    answerPrintDialog(&seen, true);
    m_printer->print(&m_window, report.join(QLatin1Char('\n')), m_font);

    QVERIFY(seen.shown);
    QCOMPARE(seen.objectName, QStringLiteral("PrintDialog1"));
    QCOMPARE(seen.printerName, QPrinterInfo::defaultPrinterName());
    QVERIFY2(!seen.printerEntries.join(QLatin1Char(' ')).contains(QStringLiteral("File")),
             "the dialog offers printing to a file");
    QVERIFY(seen.printAllChecked);
    QCOMPARE(seen.rangeChoicesOffered, QStringList());
    QVERIFY(seen.copiesOffered);
    QVERIFY(seen.collateOffered);
    const QRect monitor = m_window.screen()->geometry();
    QCOMPARE(seen.frame.topLeft(),
             QPoint(monitor.left() + (monitor.width() - seen.frame.width()) / 2,
                    monitor.top() + (monitor.height() - seen.frame.height()) / 3));
    QVERIFY(!m_printer->isPrinting());
    QVERIFY(m_printer->currentPrinter());

    const QString pdf = waitForPdfHolding(m_marker, m_started);
    QVERIFY2(!pdf.isEmpty(), "no finished job with the report came out of the queue");
    // The job's name, as the print system holds it, is exactly the program's.
    QCOMPARE(jobName(pdf), QStringLiteral("Nuvalora Sex Plan"));
    QCOMPARE(pdfPages(pdf), 1);
    // pdftotext gives runs of blanks as one.
    const QString text = pdfText(pdf).simplified();
    qsizetype at = 0;
    for (const QString& line : report) {
        const qsizetype found = text.indexOf(line.simplified(), at);
        QVERIFY2(found >= 0, qPrintable(QStringLiteral("missing or out of order: ") + line));
        at = found + line.simplified().size();
    }

    // The text starts at the printable area's top-left corner (the whole
    // page on this queue) in 8-point type.
    const PdfLayout layout = pdfLayout(pdf);
    QVERIFY(!layout.words.isEmpty());
    const PdfWord& first = layout.words.first();
    QCOMPARE(first.text, QStringLiteral("Using"));
    QVERIFY2(first.box.left() < 1, qPrintable(QString::number(first.box.left())));
    QVERIFY2(first.box.top() < 3, qPrintable(QString::number(first.box.top())));
    QVERIFY2(first.box.height() > 6 && first.box.height() < 10,
             qPrintable(QString::number(first.box.height())));
}

void TestResultsPrinter::longTextFillsSeveralPagesLosingNoLine()
{
    QStringList lines;
    for (int i = 1; i <= 300; ++i)
        lines << numberedLine(i, m_marker);
    // One line far wider than the page: it wraps, and none of it is cut off.
    QStringList words;
    for (int i = 1; i <= 80; ++i)
        words << QStringLiteral("w%1x").arg(i);
    lines.insert(150, words.join(QLatin1Char(' ')));

    PrintDialogSeen seen;
    answerPrintDialog(&seen, true);
    m_printer->print(&m_window, lines.join(QLatin1Char('\n')), m_font);
    QVERIFY(seen.shown);

    const QString pdf = waitForPdfHolding(m_marker, m_started);
    QVERIFY2(!pdf.isEmpty(), "no finished job with the text came out of the queue");
    const int pages = pdfPages(pdf);
    qInfo("300 lines came out on %d pages", pages);
    QVERIFY(pages > 1);
    const QString text = pdfText(pdf);
    qsizetype at = 0;
    for (int i = 1; i <= 300; ++i) {
        const QString line = numberedLine(i, m_marker);
        QCOMPARE(text.count(line), 1);
        const qsizetype found = text.indexOf(line);
        QVERIFY2(found >= at, qPrintable(QStringLiteral("out of order: ") + line));
        at = found + 1;
    }
    for (const QString& word : words)
        QCOMPARE(text.count(QRegularExpression(QStringLiteral("\\b%1\\b").arg(word))), 1);

    const PdfLayout layout = pdfLayout(pdf);
    QCOMPARE(layout.pages.size(), pages);
    for (const PdfWord& word : layout.words) {
        // The wide line wrapped within the page instead of running off it.
        QVERIFY2(word.box.right() <= layout.pages.at(word.page).width(), qPrintable(word.text));
    }
    // Every page but the last is filled: its last line ends close to the
    // bottom, less than two lines' height above it.
    const qreal lineHeight = layout.words.first().box.height();
    for (int page = 0; page + 1 < pages; ++page) {
        qreal bottom = 0;
        for (const PdfWord& word : layout.words) {
            if (word.page == page)
                bottom = qMax(bottom, word.box.bottom());
        }
        QVERIFY2(layout.pages.at(page).height() - bottom < 2 * lineHeight,
                 qPrintable(QStringLiteral("page %1 ends at %2").arg(page + 1).arg(bottom)));
    }
}

void TestResultsPrinter::emptyTextPrintsOneEmptyPage()
{
    PrintDialogSeen seen;
    answerPrintDialog(&seen, true);
    m_printer->print(&m_window, QString(), m_font);
    QVERIFY(seen.shown);

    // An empty job carries no marker: take the next finished job of this
    // program whose text is empty.
    const QString pdf = waitForPdf(m_started, [](const QString& candidate) {
        return QFileInfo(candidate).fileName().startsWith(QStringLiteral("Nuvalora_Sex_Plan")) &&
               pdfText(candidate).remove(QChar(0x0c)).trimmed().isEmpty();
    });
    QVERIFY2(!pdf.isEmpty(), "no finished empty job came out of the queue");
    QCOMPARE(pdfPages(pdf), 1);
}

void TestResultsPrinter::cancelPrintsNothing()
{
    PrintDialogSeen seen;
    answerPrintDialog(&seen, false);
    m_printer->print(&m_window, numberedLine(1, m_marker), m_font);
    QVERIFY(seen.shown);
    // Nothing became current: the next print offers the default printer again.
    QVERIFY(!m_printer->currentPrinter());

    QVERIFY2(waitForPdfHolding(m_marker, m_started, 5000).isEmpty(), "a cancelled print came out");
}

void TestResultsPrinter::copiesChosenStayForTheRun()
{
    PrintDialogSeen first;
    answerPrintDialog(&first, true, [](QPrintDialog* dialog) {
        dialog->findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(3);
    });
    m_printer->print(&m_window, numberedLine(1, m_marker), m_font);
    QCOMPARE(first.copiesShown, 1);
    QVERIFY(m_printer->currentPrinter());
    QCOMPARE(m_printer->currentPrinter()->copyCount(), 3);
    const QString printerName = m_printer->currentPrinter()->printerName();

    // The next dialog starts from the current printer and its settings.
    PrintDialogSeen second;
    answerPrintDialog(&second, false);
    m_printer->print(&m_window, numberedLine(2, m_marker), m_font);
    QCOMPARE(second.copiesShown, 3);
    QCOMPARE(second.printerName, printerName);
    QCOMPARE(m_printer->currentPrinter()->copyCount(), 3);

    const QString pdf = waitForPdfHolding(numberedLine(1, m_marker), m_started);
    QVERIFY2(!pdf.isEmpty(), "the job with three copies did not come out");
    QCOMPARE(pdfPages(pdf), 3); // cups-pdf puts each copy on a page of its own
}

void TestResultsPrinter::secondPrintWhileSendingIsRefused()
{
    QStringList lines;
    for (int i = 1; i <= 300; ++i)
        lines << numberedLine(i, m_marker);

    // Once the job is being sent, the event loop it keeps running between
    // pages lets the user press Print Results again and confirm the dialog.
    const QString secondText = QStringLiteral("second ") + m_marker;
    const QPrinter* printerDuringJob = nullptr;
    PrintDialogSeen second;
    QString refusal;
    QTimer duringJob;
    duringJob.setInterval(1);
    connect(&duringJob, &QTimer::timeout, this, [&] {
        if (!m_printer->isPrinting())
            return;
        duringJob.stop();
        printerDuringJob = m_printer->currentPrinter();
        answerPrintDialog(&second, true, [](QPrintDialog* dialog) {
            dialog->findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(7);
        });
        try {
            m_printer->print(&m_window, secondText, m_font);
        } catch (const NuvaloraError& error) {
            refusal = error.message();
        }
    });
    duringJob.start();

    PrintDialogSeen first;
    answerPrintDialog(&first, true);
    m_printer->print(&m_window, lines.join(QLatin1Char('\n')), m_font);
    duringJob.stop();

    QVERIFY2(printerDuringJob, "the job kept no events going while it was sent");
    QVERIFY(second.shown);
    QCOMPARE(refusal, QStringLiteral("Printing in progress"));
    QVERIFY(!m_printer->isPrinting());
    // The current printer is still the one the first job went to, unchanged.
    QCOMPARE(m_printer->currentPrinter(), printerDuringJob);
    QCOMPARE(m_printer->currentPrinter()->copyCount(), 1);

    const QString pdf = waitForPdfHolding(m_marker, m_started);
    QVERIFY2(!pdf.isEmpty(), "the first job did not come out");
    const QString text = pdfText(pdf);
    for (int i = 1; i <= 300; ++i)
        QCOMPARE(text.count(numberedLine(i, m_marker)), 1);
    // And the refused print sent nothing, on its own or within the first job.
    QVERIFY2(waitForPdfHolding(secondText, m_started, 3000).isEmpty(),
             "the refused print came out");
}

// With CUPS out of reach (CUPS_SERVER naming a socket that is not there).
class TestNoPrinter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void noDefaultPrinterShowsOnlyTheErrorBox();
};

void TestNoPrinter::noDefaultPrinterShowsOnlyTheErrorBox()
{
    QVERIFY2(QPrinterInfo::defaultPrinter().isNull(),
             "a default printer is reachable; this test expects CUPS_SERVER to point nowhere");

    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ResultsPrinter printer;

    // Every window shown meanwhile is noted; only the error box may appear.
    QStringList shown;
    QString boxText;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, &window, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        shown << QString::fromLatin1(modal->metaObject()->className());
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            boxText = box->text();
        modal->close();
    });
    poll.start();
    for (int attempt = 0; attempt < 2; ++attempt) {
        runGuarded([&] { printer.print(&window, QStringLiteral("report"), programFont()); });
        QCOMPARE(shown, QStringList{QStringLiteral("QMessageBox")});
        QCOMPARE(boxText, QStringLiteral("There is no default printer currently selected."));
        shown.clear();
    }
    QVERIFY(!printer.currentPrinter());
}

int main(int argc, char** argv)
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("NUVALORA_TEST_NO_PRINTER")) {
        TestNoPrinter test;
        return QTest::qExec(&test, argc, argv);
    }
    TestResultsPrinter test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_resultsprinter.moc"
