#include "datelist.h"
#include "datestore.h"
#include "error.h"
#include "filelock.h"
#include "overwrite.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool endedWell(pid_t child)
{
    int status = -1;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

QList<QByteArray> rowsOf(const DateList& list)
{
    QList<QByteArray> rows;
    for (int i = 0; i < list.count(); ++i)
        rows << list.text(i);
    return rows;
}

} // namespace

class TestDateStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void splitsLines_data();
    void splitsLines();
    void loadSortsAndReplacesTheList();
    void missingFileLeavesTheList();
    void unreadableFileFails();
    void saveWritesEveryRowWithCrLf();
    void emptyListSavesAnEmptyFile();
    void everyByteButLineEndsSurvives();
    void replacedRowIsSortedAgainAfterReload();
    void saveThatCannotCreateLeavesOldFile();
    void saveFailingHalfWayLeavesOldFileWhole_data();
    void saveFailingHalfWayLeavesOldFileWhole();
    void writersInPlaceTakeTurns();
    void datesOfAFailedLoadNeverReplaceTheFile();
    void pathIsBesideTheExecutable();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestDateStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("month.dat"));
}

void TestDateStore::splitsLines_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QList<QByteArray>>("lines");
    using L = QList<QByteArray>;
    QTest::newRow("empty") << QByteArray() << L{};
    QTest::newRow("LF, no final end") << QByteArray("36950\n36994") << L{"36950", "36994"};
    QTest::newRow("CR, CR LF") << QByteArray("36950\r\r\n36994\r\n") << L{"36950", "", "36994"};
    QTest::newRow("CR only") << QByteArray("1\r2\r") << L{"1", "2"};
    QTest::newRow("LF CR is two ends") << QByteArray("1\n\r2") << L{"1", "", "2"};
    QTest::newRow("only a line end") << QByteArray("\r\n") << L{""};
    QTest::newRow("two line ends") << QByteArray("\n\n") << L{"", ""};
    QTest::newRow("NUL ends contents") << QByteArray("1\r\n2\0003\r\n", 9) << L{"1", "2"};
    QTest::newRow("NUL first") << QByteArray("\0001\r\n", 4) << L{};
    QTest::newRow("CR before NUL") << QByteArray("1\r\0\n", 4) << L{"1"};
    QTest::newRow("not trimmed") << QByteArray(" 1 \r\n\t2") << L{" 1 ", "\t2"};
}

void TestDateStore::splitsLines()
{
    QFETCH(QByteArray, contents);
    QFETCH(QList<QByteArray>, lines);
    const std::vector<QByteArrayView> views = DateStore::splitLines(contents);
    QList<QByteArray> split;
    for (QByteArrayView view : views)
        split << view.toByteArray();
    QCOMPARE(split, lines);
}

void TestDateStore::loadSortsAndReplacesTheList()
{
    writeAll(m_path, "37022\r\n36966\r\n36994\r\n");
    DateList list;
    list.add("12345");
    DateStore::load(m_path, list);
    QCOMPARE(rowsOf(list), (QList<QByteArray>{"36966", "36994", "37022"}));
}

void TestDateStore::missingFileLeavesTheList()
{
    DateList list;
    list.add("36994");
    DateStore::load(m_path, list);
    QCOMPARE(list.count(), 1);
    QVERIFY(!QFile::exists(m_path));
}

void TestDateStore::unreadableFileFails()
{
    // A folder in the file's place exists but cannot be read as a file.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("month.dat")));
    DateList list;
    list.add("36994");
    try {
        DateStore::load(m_path, list);
        QFAIL("loading a folder succeeded");
    } catch (const NuvaloraError& error) {
        QCOMPARE(error.message(), QStringLiteral("Cannot open file ") + m_path);
    }
    QCOMPARE(list.count(), 1);
}

void TestDateStore::saveWritesEveryRowWithCrLf()
{
    DateList list;
    list.add("36994");
    list.add("36966");
    DateStore::save(m_path, list);
    QCOMPARE(readAll(m_path), QByteArray("36966\r\n36994\r\n"));
    QCOMPARE(readAll(m_path).size(), 14);
}

void TestDateStore::emptyListSavesAnEmptyFile()
{
    writeAll(m_path, "36994\r\n");
    DateStore::save(m_path, DateList());
    QVERIFY(QFile::exists(m_path));
    QCOMPARE(readAll(m_path), QByteArray());
}

void TestDateStore::everyByteButLineEndsSurvives()
{
    // Every byte value but CR, LF and NUL, in lines already in order.
    QByteArray line;
    for (int c = 1; c < 256; ++c) {
        if (c != '\r' && c != '\n')
            line += char(c);
    }
    const QByteArray contents = line + "\r\n  padded \r\n" + line.right(100) + "\r\n";
    writeAll(m_path, contents);
    DateList list;
    DateStore::load(m_path, list);
    QCOMPARE(list.count(), 3);
    const QString copy = m_dir->filePath(QStringLiteral("copy.dat"));
    DateStore::save(copy, list);
    QCOMPARE(readAll(copy), contents);
}

void TestDateStore::replacedRowIsSortedAgainAfterReload()
{
    DateList list;
    list.add("36966");
    list.add("36994");
    list.replace(0, "37022");
    DateStore::save(m_path, list);
    QCOMPARE(readAll(m_path), QByteArray("37022\r\n36994\r\n"));
    DateList reloaded;
    DateStore::load(m_path, reloaded);
    QCOMPARE(rowsOf(reloaded), (QList<QByteArray>{"36994", "37022"}));
}

void TestDateStore::saveThatCannotCreateLeavesOldFile()
{
    DateList list;
    list.add("36994");
    const QString nowhere = m_dir->filePath(QStringLiteral("no such folder/month.dat"));
    try {
        DateStore::save(nowhere, list);
        QFAIL("saving into a missing folder succeeded");
    } catch (const NuvaloraError& error) {
        QCOMPARE(error.message(), QStringLiteral("Cannot create file ") + nowhere);
    }

    // A folder standing where the file should be cannot be replaced either.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("month.dat")));
    QVERIFY_THROWS_EXCEPTION(NuvaloraError, DateStore::save(m_path, list));
    QVERIFY(QFileInfo(m_path).isDir());
}

void TestDateStore::saveFailingHalfWayLeavesOldFileWhole_data()
{
    // A large list is written while it is saved; a short one only when the
    // file is finished, which must fail just the same. In a folder that
    // refuses a new file, month.dat is written in place, where a failure must
    // not cut it: not when nothing can be written, not part of the way, and
    // not when the new list is shorter than the old one.
    QTest::addColumn<bool>("inPlace");
    QTest::addColumn<int>("oldRows");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("limit");
    QTest::newRow("large list") << false << 2 << 100000 << 64 * 1024;
    QTest::newRow("short list") << false << 2 << 5 << 10;
    QTest::newRow("in place, nothing written") << true << 3 << 5 << 0;
    QTest::newRow("in place, large list") << true << 2 << 100000 << 64 * 1024;
    QTest::newRow("in place, shorter than the old") << true << 200 << 50 << 64;
}

void TestDateStore::saveFailingHalfWayLeavesOldFileWhole()
{
    QFETCH(bool, inPlace);
    QFETCH(int, oldRows);
    QFETCH(int, rows);
    QFETCH(int, limit);
    if (inPlace && geteuid() == 0)
        QSKIP("root may make files in any folder; the test runs again as an ordinary user");
    QByteArray old;
    for (int i = 0; i < oldRows; ++i)
        old += QByteArray::number(36900 + i) + "\r\n";
    writeAll(m_path, old);
    DateList list;
    list.assign(std::vector<QByteArrayView>(std::size_t(rows), "37000"));
    const QFileDevice::Permissions open = QFile::permissions(m_dir->path());
    const auto reopen = qScopeGuard([&] { QFile::setPermissions(m_dir->path(), open); });
    if (inPlace) {
        QVERIFY(QFile::setPermissions(m_dir->path(),
                                      open & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser)));
        QVERIFY(!QFile(m_dir->filePath(QStringLiteral("new"))).open(QIODevice::WriteOnly));
    }
    {
        const FileSizeLimit sizeLimit{rlim_t(limit)}; // less than the new list needs
        try {
            DateStore::save(m_path, list);
            QFAIL("a save beyond the size limit succeeded");
        } catch (const NuvaloraError& error) {
            QCOMPARE(error.message(), QStringLiteral("Cannot create file ") + m_path);
        }
    }
    QCOMPARE(readAll(m_path), old);
    // Nothing is left lying beside it either.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("month.dat")});
    // And once writing works again, the save goes through.
    DateStore::save(m_path, list);
    QCOMPARE(readAll(m_path), QByteArray("37000\r\n").repeated(rows));
}

void TestDateStore::writersInPlaceTakeTurns()
{
    // Two copies writing month.dat in place at the same moment (two logins,
    // a folder that refuses new files), round after round: the file ends up
    // holding one of the two lists whole, never a mix or one cut by the other.
    const QByteArray lists[] = {QByteArray("36954\r\n").repeated(400000),
                                QByteArray("37000\r\n").repeated(300000)};
    int go[2];
    QCOMPARE(::pipe(go), 0);
    const auto closePipe = qScopeGuard([&] {
        ::close(go[0]);
        ::close(go[1]);
    });
    for (int round = 0; round < 20; ++round) {
        writeAll(m_path, lists[round % 2]);
        pid_t writers[2];
        for (int i = 0; i < 2; ++i) {
            writers[i] = ::fork();
            if (writers[i] == 0) {
                char byte = 0;
                ::_exit(::read(go[0], &byte, 1) == 1 && overwriteInPlace(m_path, lists[i]) ? 0 : 1);
            }
            QVERIFY(writers[i] > 0);
        }
        QCOMPARE(::write(go[1], "xx", 2), 2); // off they go together
        for (pid_t writer : writers)
            QVERIFY(endedWell(writer));
        const QByteArray result = readAll(m_path);
        QVERIFY2(
            result == lists[0] || result == lists[1],
            qPrintable(
                QStringLiteral("round %1: %2 bytes, neither list").arg(round).arg(result.size())));
    }
    // A last round with a copy loading the file while a writer in place is
    // half way through (locked as overwriteInPlace locks): the load waits.
    QFile writer(m_path);
    QVERIFY(writer.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    waitForFileLock(writer.handle(), FileLock::Exclusive);
    QCOMPARE(writer.write(lists[0].first(70000)), 70000);
    const pid_t reader = ::fork();
    if (reader == 0) {
        ::close(writer.handle()); // the writer's lock stays with the writer
        DateList loaded;
        DateStore::load(m_path, loaded);
        ::_exit(DateStore::joinLines(loaded) == lists[0] ? 0 : 1);
    }
    ::usleep(300000);    // the reader is at the lock, or would have read by now
    QFile other(m_path); // a writer that never lets go is waited for only so long
    QVERIFY(other.open(QIODevice::ReadOnly) &&
            !waitForFileLock(other.handle(), FileLock::Shared, 50));
    QCOMPARE(writer.write(lists[0].sliced(70000)), lists[0].size() - 70000);
    writer.close();
    QVERIFY(endedWell(reader));
}

void TestDateStore::datesOfAFailedLoadNeverReplaceTheFile()
{
    // month.dat cannot be read (a folder stands in its place): the dates go
    // into new files beside it, each save its own, never over an earlier one.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("month.dat")));
    const auto kept = [this](int n) {
        return m_dir->filePath(QStringLiteral("month_kept_%1.dat").arg(n));
    };
    DateList list;
    list.add("36994");
    QVERIFY(!DateStore::addStoredRows(m_path, list));
    QCOMPARE(rowsOf(list), QList<QByteArray>{"36994"});
    const mode_t usual = ::umask(022); // readable by all: for its user only all the same
    QCOMPARE(DateStore::keepBeside(m_path, list), kept(1));
    ::umask(usual);
    QCOMPARE(QFile::permissions(kept(1)),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    list.add("37022");
    QCOMPARE(DateStore::keepBeside(m_path, list), kept(2));
    QCOMPARE(readAll(kept(1)), QByteArray("36994\r\n"));
    QCOMPARE(readAll(kept(2)), QByteArray("36994\r\n37022\r\n"));
    QVERIFY(QFileInfo(m_path).isDir());
    // Where not even that can be written, keeping them fails, naming the
    // file, and leaves nothing behind.
    try {
        const FileSizeLimit full{0};
        DateStore::keepBeside(m_path, list);
        QFAIL("keeping the dates on a full disk succeeded");
    } catch (const NuvaloraError& error) {
        QCOMPARE(error.message(), QStringLiteral("Cannot create file ") + kept(3));
    }
    QVERIFY(!QFile::exists(kept(3)));

    // Once month.dat reads again, the dates join its rows.
    QVERIFY(QDir(m_dir->path()).rmdir(QStringLiteral("month.dat")));
    writeAll(m_path, "37050\n36954\n");
    QVERIFY(DateStore::addStoredRows(m_path, list));
    QCOMPARE(rowsOf(list), (QList<QByteArray>{"36954", "36994", "37022", "37050"}));
}

void TestDateStore::pathIsBesideTheExecutable()
{
    int argc = 1;
    char name[] = "tst_datestore";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QCOMPARE(DateStore::defaultPath(),
             QCoreApplication::applicationDirPath() + QStringLiteral("/month.dat"));
}

QTEST_APPLESS_MAIN(TestDateStore)
#include "tst_datestore.moc"
