// Save to File through the real save dialog: what the dialog offers, what
// the file holds, and what is left when the file cannot be written.

#include "error.h"
#include "modalanswers.h"
#include "resultsfile.h"
#include "testfiles.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

const QString kEmptyListLine =
    QStringLiteral("Please enter the date of the start of your last period");

QStringList fiveLineReport()
{
    return {QStringLiteral("Using a typical length of menstrual cycle of 28"),
            QStringLiteral("Next Period: 5/27/01"), QStringLiteral(" "),
            QStringLiteral("Recommended dates for sex:  Everyday from 5/8/01 to 5/14/01"),
            QStringLiteral("Best day for sex:  5/13/01  (1 chance in 3 of conceiving)")};
}

// What the save dialog showed when it opened.
struct Offered {
    QString directory;
    QString fileName;
    QString title;
    QStringList filters;
    bool sizeGrip = false;
    QRect frame;
};

enum class Press { Save, Cancel };

} // namespace

class TestResultsFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void dialogLooksAsDesigned();
    void savedBytes_data();
    void savedBytes();
    void nameIsUsedExactlyAsChosen();
    void existingFileIsReplacedWithoutQuestion();
    void nextOpeningOffersRememberedPathAndCancelKeepsIt();
    void uncreatableFileIsReportedWithItsFullPath();
    void failedWriteLeavesEarlierFileWhole_data();
    void failedWriteLeavesEarlierFileWhole();

private:
    // Runs a save while the dialog is answered: the text is typed into the
    // file name box and the button pressed. Returns the error message, empty
    // on success.
    QString saveAnswering(const QStringList& lines, const QString& typed, Press press,
                          Offered* offered = nullptr);

    QWidget m_window;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ResultsSaver> m_saver;
    QFileDialog* m_lastDialog = nullptr;
    QStringList m_problems; // what went wrong inside the dialog's event loop
};

void TestResultsFile::initTestCase()
{
    // Keep Qt's own dialog settings out of the user's configuration.
    QStandardPaths::setTestModeEnabled(true);
    m_window.resize(594, 541);
    m_window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_window));
}

void TestResultsFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_saver = std::make_unique<ResultsSaver>();
    m_problems.clear();
}

void TestResultsFile::cleanup()
{
    m_saver.reset();
}

QString TestResultsFile::saveAnswering(const QStringList& lines, const QString& typed, Press press,
                                       Offered* offered)
{
    // Any other window that comes up (a question, say) is a failure, noted
    // with its text, and closed at once.
    ModalAnswers answers;
    answers.expect<QFileDialog>([&](QWidget* modal) {
        auto* dialog = static_cast<QFileDialog*>(modal);
        auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QVERIFY(nameBox && buttons);
        // Typing goes to the file name box once the dialog is active, as it
        // is for the user.
        QVERIFY(QTest::qWaitFor([&] {
            dialog->activateWindow();
            return nameBox->hasFocus();
        }));
        m_lastDialog = dialog;
        if (offered) {
            offered->directory = dialog->directory().absolutePath();
            offered->fileName = nameBox->text();
            offered->title = dialog->windowTitle();
            offered->filters = dialog->nameFilters();
            offered->sizeGrip = dialog->isSizeGripEnabled();
            offered->frame = dialog->frameGeometry();
        }
        nameBox->selectAll();
        QTest::keyClicks(nameBox, typed);
        const auto role =
            press == Press::Save ? QDialogButtonBox::AcceptRole : QDialogButtonBox::RejectRole;
        for (QAbstractButton* button : buttons->buttons()) {
            if (buttons->buttonRole(button) == role) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        QFAIL("no button to press");
    });
    QString message;
    try {
        m_saver->save(&m_window, lines);
    } catch (const NuvaloraError& error) {
        message = error.message();
    }
    m_problems << answers.problems();
    return message;
}

void TestResultsFile::dialogLooksAsDesigned()
{
    Offered offered;
    QCOMPARE(saveAnswering({kEmptyListLine}, QString(), Press::Cancel, &offered), QString());
    QCOMPARE(offered.title, QStringLiteral("Save As"));
    QCOMPARE(offered.filters, QStringList{QStringLiteral("Text File (*.txt)")});
    QCOMPARE(offered.fileName, QStringLiteral("nuvalora.txt"));
    QVERIFY(offered.sizeGrip);
    const QRect monitor = m_window.screen()->geometry();
    QCOMPARE(offered.frame.topLeft(),
             QPoint(monitor.left() + (monitor.width() - offered.frame.width()) / 2,
                    monitor.top() + (monitor.height() - offered.frame.height()) / 3));

    // One dialog serves the whole run.
    QFileDialog* first = m_lastDialog;
    QCOMPARE(first->objectName(), QStringLiteral("SaveDialog1"));
    QCOMPARE(saveAnswering({}, QString(), Press::Cancel), QString());
    QCOMPARE(m_lastDialog, first);
    QVERIFY2(m_problems.isEmpty(), qPrintable(m_problems.join(QStringLiteral("; "))));
}

void TestResultsFile::savedBytes_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty results box") << QStringList() << QByteArray();
    QTest::newRow("empty-list report, 56 bytes")
        << QStringList{kEmptyListLine}
        << QByteArray("Please enter the date of the start of your last period\r\n");
    QTest::newRow("five-line report")
        << fiveLineReport()
        << QByteArray("Using a typical length of menstrual cycle of 28\r\n"
                      "Next Period: 5/27/01\r\n"
                      " \r\n"
                      "Recommended dates for sex:  Everyday from 5/8/01 to 5/14/01\r\n"
                      "Best day for sex:  5/13/01  (1 chance in 3 of conceiving)\r\n");
    // The locale's date may bring letters outside ASCII; they are written in
    // the system's 8-bit encoding (UTF-8 here), with no byte-order mark.
    QTest::newRow("accented date") << QStringList{QStringLiteral("Next Period: 27 f\u00e9vr. 2001")}
                                   << QByteArray("Next Period: 27 f\xc3\xa9vr. 2001\r\n");
}

void TestResultsFile::savedBytes()
{
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    const QString path = m_dir->filePath(QStringLiteral("results.txt"));

    QCOMPARE(saveAnswering(lines, path, Press::Save), QString());
    QVERIFY2(m_problems.isEmpty(), qPrintable(m_problems.join(QStringLiteral("; "))));
    QCOMPARE(readAll(path), bytes);
}

void TestResultsFile::nameIsUsedExactlyAsChosen()
{
    const QString plan = m_dir->filePath(QStringLiteral("plan"));
    QCOMPARE(saveAnswering(fiveLineReport(), plan, Press::Save), QString());
    QVERIFY(QFileInfo::exists(plan));
    QVERIFY(!QFileInfo::exists(plan + QStringLiteral(".txt")));
    QCOMPARE(m_saver->rememberedFileName(), plan);

    const QString rtf = m_dir->filePath(QStringLiteral("plan.rtf"));
    QCOMPARE(saveAnswering(fiveLineReport(), rtf, Press::Save), QString());
    QCOMPARE(readAll(rtf), resultsFileContents(fiveLineReport()));
    QCOMPARE(readAll(rtf), readAll(plan));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
             (QStringList{QStringLiteral("plan"), QStringLiteral("plan.rtf")}));
    QVERIFY2(m_problems.isEmpty(), qPrintable(m_problems.join(QStringLiteral("; "))));
}

void TestResultsFile::existingFileIsReplacedWithoutQuestion()
{
    const QString path = m_dir->filePath(QStringLiteral("nuvalora.txt"));
    writeAll(path, QByteArray(500, 'x'));

    QCOMPARE(saveAnswering({kEmptyListLine}, path, Press::Save), QString());
    QVERIFY2(m_problems.isEmpty(),
             qPrintable(m_problems.join(QStringLiteral("; ")))); // no overwrite question was asked
    QCOMPARE(readAll(path), resultsFileContents({kEmptyListLine}));
}

void TestResultsFile::nextOpeningOffersRememberedPathAndCancelKeepsIt()
{
    Offered first;
    QCOMPARE(saveAnswering({}, QString(), Press::Cancel, &first), QString());
    QCOMPARE(first.fileName, QStringLiteral("nuvalora.txt"));
    QCOMPARE(m_saver->rememberedFileName(), QStringLiteral("nuvalora.txt"));

    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("plans")));
    const QString chosen = m_dir->filePath(QStringLiteral("plans/april.txt"));
    QCOMPARE(saveAnswering(fiveLineReport(), chosen, Press::Save), QString());
    QCOMPARE(m_saver->rememberedFileName(), chosen);

    Offered second;
    const QString other = m_dir->filePath(QStringLiteral("other.txt"));
    // Cancel after typing another name: nothing written, nothing remembered.
    QCOMPARE(saveAnswering(fiveLineReport(), other, Press::Cancel, &second), QString());
    QCOMPARE(second.directory, m_dir->filePath(QStringLiteral("plans")));
    QCOMPARE(second.fileName, QStringLiteral("april.txt"));
    QCOMPARE(m_saver->rememberedFileName(), chosen);
    QVERIFY(!QFileInfo::exists(other));

    Offered third;
    QCOMPARE(saveAnswering(fiveLineReport(), QString(), Press::Cancel, &third), QString());
    QCOMPARE(third.directory, second.directory);
    QCOMPARE(third.fileName, second.fileName);
    QVERIFY2(m_problems.isEmpty(), qPrintable(m_problems.join(QStringLiteral("; "))));
}

void TestResultsFile::uncreatableFileIsReportedWithItsFullPath()
{
    const QString path = m_dir->filePath(QStringLiteral("missing/plan.txt"));
    QCOMPARE(saveAnswering(fiveLineReport(), path, Press::Save),
             QStringLiteral("Cannot create file ") + path);
    // The name was taken before the file was tried.
    QCOMPARE(m_saver->rememberedFileName(), path);
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY2(m_problems.isEmpty(), qPrintable(m_problems.join(QStringLiteral("; "))));
}

void TestResultsFile::failedWriteLeavesEarlierFileWhole_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("sizeLimit");

    // A report is short enough to sit in the file's buffer until the end;
    // a long text goes out while it is being written. Both must fail whole.
    QTest::newRow("report") << fiveLineReport() << 20;
    QStringList longText;
    for (int i = 0; i < 4000; ++i)
        longText << fiveLineReport();
    QTest::newRow("long text") << longText << 64 * 1024;
}

void TestResultsFile::failedWriteLeavesEarlierFileWhole()
{
    QFETCH(QStringList, lines);
    QFETCH(int, sizeLimit);
    const QString path = m_dir->filePath(QStringLiteral("plan.txt"));
    const QByteArray earlier = resultsFileContents({kEmptyListLine});
    writeAll(path, earlier);

    QString message;
    {
        const FileSizeLimit limit(sizeLimit);
        message = saveAnswering(lines, path, Press::Save);
    }
    QCOMPARE(message, QStringLiteral("Failed to Save Stream"));
    QCOMPARE(readAll(path), earlier);
    // Nothing half-written is left beside it either.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("plan.txt")});
    QCOMPARE(m_saver->rememberedFileName(), path);
    QVERIFY2(m_problems.isEmpty(), qPrintable(m_problems.join(QStringLiteral("; "))));
}

int main(int argc, char** argv)
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    TestResultsFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_resultsfile.moc"
