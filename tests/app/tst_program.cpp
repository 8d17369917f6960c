// The program's run as a whole: the end of the desktop session. The session
// manager's two steps go through Qt's own entry points, as they do when a
// real session manager sends them: first the request to keep the data, then
// the end of the program.

#include "main.h"
#include "program.h"

#include "modalanswers.h"
#include "testfiles.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qwindowsysteminterface.h>

#include <unistd.h>

namespace {

// What a code from exec() means when the session end never ended the run.
constexpr int kStillRunning = 99;

// Runs the event loop with the program's windows up, while the session
// manager asks for the data to be kept (unless told not to) and then ends
// the program. Returns exec()'s code.
int runUntilTheSessionEnds(bool askToKeepData, const std::function<void()>& between = {})
{
    QTimer::singleShot(0, [askToKeepData, between] {
        if (askToKeepData)
            QGuiApplicationPrivate::instance()->commitData();
        if (between)
            between();
        QWindowSystemInterface::handleApplicationTermination<
            QWindowSystemInterface::SynchronousDelivery>();
    });
    // A session end that does not end the run would hang the test; the guard
    // goes with this run, so that it cannot end a later one.
    QTimer stillRunning;
    stillRunning.setSingleShot(true);
    QObject::connect(&stillRunning, &QTimer::timeout,
                     [] { QCoreApplication::exit(kStillRunning); });
    stillRunning.start(5000);
    return QApplication::exec();
}

} // namespace

class TestProgram : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void sessionEndThatCannotKeepTheDatesEndsQuietly_data();
    void sessionEndThatCannotKeepTheDatesEndsQuietly();
    void sessionEndKeepsTheDatesOnce();

private:
    // The program on the given store, its main window shown; null, the test
    // failed, when it did not show or a box came up.
    std::unique_ptr<Program> start(const QString& store);

    std::unique_ptr<QTemporaryDir> m_dir;
};

std::unique_ptr<Program> TestProgram::start(const QString& store)
{
    auto program = std::make_unique<Program>(store);
    if (!showAnsweringBoxes(&program->mainWindow(), nullptr, [&program] { program->show(); }))
        return nullptr;
    return program;
}

void TestProgram::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestProgram::sessionEndThatCannotKeepTheDatesEndsQuietly_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("no folder for month.dat") << false;
    // The folder refuses a new file, so month.dat is written in place, and
    // nothing can be written: the old dates must stay whole.
    QTest::newRow("full disk, written in place") << true;
}

void TestProgram::sessionEndThatCannotKeepTheDatesEndsQuietly()
{
    QFETCH(bool, fullDisk);
    if (fullDisk && geteuid() == 0)
        QSKIP("root may make files in any folder; the test runs again as an ordinary user");
    const QString folder = fullDisk ? m_dir->path() : m_dir->filePath(QStringLiteral("missing"));
    const QString store = folder + QStringLiteral("/month.dat");
    const QByteArray old = "36966\r\n36994\r\n37022\r\n";
    if (fullDisk)
        writeAll(store, old);
    const auto program = start(store);
    QVERIFY(program);
    program->mainWindow().dates().add("37050");

    const QFileDevice::Permissions open = QFile::permissions(m_dir->path());
    const auto reopen = qScopeGuard([&] { QFile::setPermissions(m_dir->path(), open); });
    QVERIFY(QFile::setPermissions(m_dir->path(),
                                  open & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser)));
    ModalAnswers answers; // no box may come up: nobody is there to answer it
    {
        const FileSizeLimit full{0};
        QCOMPARE(runUntilTheSessionEnds(true), 0);
    }
    QVERIFY2(answers.problems().isEmpty(), qPrintable(answers.report()));
    QVERIFY(!program->mainWindow().isVisible());
    QCOMPARE(readAll(store), fullDisk ? old : QByteArray("<missing>"));
}

void TestProgram::sessionEndKeepsTheDatesOnce()
{
    const QString store = m_dir->filePath(QStringLiteral("month.dat"));
    writeAll(store, "36994\r\n");
    {
        const auto program = start(store);
        QVERIFY(program);
        program->mainWindow().dates().add("37022");
        // Kept when asked; not written again at the end, when nothing changed.
        QCOMPARE(runUntilTheSessionEnds(true,
                                        [&] {
                                            QCOMPARE(readAll(store), "36994\r\n37022\r\n");
                                            writeAll(store, "marker");
                                        }),
                 0);
        QCOMPARE(readAll(store), QByteArray("marker"));
    }
    {
        // A change after the request is kept at the end.
        writeAll(store, "36994\r\n");
        const auto program = start(store);
        QVERIFY(program);
        QCOMPARE(runUntilTheSessionEnds(true, [&] { program->mainWindow().dates().add("37050"); }),
                 0);
        QCOMPARE(readAll(store), QByteArray("36994\r\n37050\r\n"));
    }
    {
        // Ended without being asked first, the program keeps the dates all the same.
        writeAll(store, "36994\r\n");
        const auto program = start(store);
        QVERIFY(program);
        program->mainWindow().dates().add("37078");
        QCOMPARE(runUntilTheSessionEnds(false), 0);
        QCOMPARE(readAll(store), QByteArray("36994\r\n37078\r\n"));
    }
}

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
