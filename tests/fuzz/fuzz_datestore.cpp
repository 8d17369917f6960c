// Fuzzes month.dat: the input is written as the file, loaded into a date
// list, reported on in both modes, saved and loaded again.
//
// Checked on every input:
// - the rows loaded are the file's lines in the list's order (reference.h);
// - each report leaves exactly the lines, the length box and the error that
//   the rules of the report give for these rows, also when a row fails;
// - the saved file is the rows, each followed by CR LF, and loads back as the
//   same rows; every byte of the file before the first NUL other than CR and
//   LF is in it, as often as it was in the input.

#include "datelist.h"
#include "datestore.h"
#include "daynumber.h"
#include "error.h"
#include "reference.h"
#include "report.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

using reference::check;

namespace {

// Stands in for the results box and the length box, and remembers how they
// were written.
class RecordingSink : public ReportSink {
public:
    explicit RecordingSink(QString length) : length(std::move(length)) {}

    void clearLines() override
    {
        lines.clear();
        cleared = true;
    }
    void addLine(const QString& line) override
    {
        check(cleared, "report: a line added before the box was cleared");
        lines << line;
    }
    QString lengthText() const override { return length; }
    void setLengthText(const QString& text) override
    {
        length = text;
        ++lengthWrites;
    }

    QStringList lines{QStringLiteral("line of an earlier report")};
    QString length;
    int lengthWrites = 0;
    bool cleared = false;
};

// What a report should leave behind.
struct Outcome {
    QStringList lines;
    std::optional<QString> length; // written by the report, if at all
    std::optional<QString> error;  // the message it stops with, if any
};

QString integerMessage(const QByteArray& text)
{
    return QStringLiteral("'") + QString::fromLocal8Bit(text) +
           QStringLiteral("' is not a valid integer value");
}

std::optional<std::int32_t> readRow(const std::string& row)
{
    return reference::readInteger(row);
}

void addDateLines(Outcome& outcome, double lastPeriod, std::int32_t length)
{
    const double next = lastPeriod + length;
    const double best = next - 14;
    outcome.lines << QStringLiteral("Next Period: ") + displayDate(next) << QStringLiteral(" ")
                  << QStringLiteral("Recommended dates for sex:  Everyday from ") +
                         displayDate(best - 5) + QStringLiteral(" to ") + displayDate(best + 1)
                  << QStringLiteral("Best day for sex:  ") + displayDate(best) +
                         QStringLiteral("  (1 chance in 3 of conceiving)");
}

// The report, step by step as the rules give it, on the expected rows.
Outcome expectedReport(const std::vector<std::string>& rows, CycleMode mode,
                       const QString& lengthText)
{
    Outcome outcome;
    const std::size_t n = rows.size();
    if (n == 0) {
        outcome.lines << QStringLiteral("Please enter the date of the start of your last period");
        return outcome;
    }
    auto fail = [&outcome](const std::string& text) {
        outcome.error = integerMessage(QByteArray(text.data(), qsizetype(text.size())));
        return outcome;
    };

    std::int32_t length = 28;
    if (mode == CycleMode::Manual) {
        const QByteArray typed = lengthText.toLocal8Bit();
        const std::optional<std::int32_t> value =
            reference::readInteger(std::string_view(typed.constData(), std::size_t(typed.size())));
        if (!value)
            return fail(typed.toStdString());
        length = *value;
        outcome.lines << QStringLiteral("Using a manually set menstrual cycle of ") +
                             QString::number(length);
    } else if (n >= 2) {
        // The gaps are read row i first, then row i-1: rows 1, 0, 2, 3, ...
        std::vector<std::int32_t> values(n);
        for (std::size_t i : {std::size_t(1), std::size_t(0)}) {
            const std::optional<std::int32_t> value = readRow(rows[i]);
            if (!value)
                return fail(rows[i]);
            values[i] = *value;
        }
        for (std::size_t i = 2; i < n; ++i) {
            const std::optional<std::int32_t> value = readRow(rows[i]);
            if (!value)
                return fail(rows[i]);
            values[i] = *value;
        }
        // A 32-bit running sum, wrapping around as such a sum does.
        std::uint32_t sum = 0;
        for (std::size_t i = 1; i < n; ++i)
            sum += std::uint32_t(values[i]) - std::uint32_t(values[i - 1]);
        length = std::int32_t(
            reference::roundHalfEven(double(std::int32_t(sum)) / double(std::int64_t(n) - 1)));
        outcome.lines << QStringLiteral("Average Length of Menstrual Cycle: ") +
                             QString::number(length);
    } else {
        outcome.lines << QStringLiteral("Using a typical length of menstrual cycle of 28");
    }
    outcome.length = QString::number(length);

    const std::optional<std::int32_t> last = readRow(rows.back());
    if (!last)
        return fail(rows.back());
    addDateLines(outcome, double(*last), length);
    return outcome;
}

void checkReport(const DateList& list, const std::vector<std::string>& rows, CycleMode mode,
                 const QString& lengthText)
{
    RecordingSink sink(lengthText);
    std::optional<QString> error;
    try {
        buildReport(list, mode, sink);
    } catch (const NuvaloraError& e) {
        error = e.message();
    }
    const Outcome expected = expectedReport(rows, mode, lengthText);
    check(sink.cleared, "report: the results box was not cleared");
    check(error == expected.error, "report: wrong error, or an error where none belongs");
    check(sink.lines == expected.lines, "report: wrong lines");
    if (expected.length) {
        check(sink.lengthWrites == 1, "report: the length box was not written once");
        check(sink.length == *expected.length, "report: wrong length");
    } else {
        check(sink.lengthWrites == 0, "report: the length box was written");
        check(sink.length == lengthText, "report: the length box changed");
    }
}

std::vector<std::string> rowsOf(const DateList& list)
{
    std::vector<std::string> rows;
    for (int i = 0; i < list.count(); ++i)
        rows.emplace_back(list.text(i).constData(), std::size_t(list.text(i).size()));
    return rows;
}

std::array<std::size_t, 256> byteCounts(std::string_view bytes)
{
    std::array<std::size_t, 256> counts{};
    for (char c : bytes)
        ++counts[static_cast<unsigned char>(c)];
    return counts;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    check(file.open(QIODevice::ReadOnly), "the saved file cannot be read");
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
          "the input cannot be written as month.dat");
}

// A folder of this run's own, removed when the fuzzer ends.
QString g_folder;
QString g_storePath;

void removeFolder()
{
    QDir(g_folder).removeRecursively();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setDisplayDatePattern(QStringLiteral("M/d/yy"));
    std::string folder = QDir::tempPath().toStdString() + "/nuvalora-fuzz-XXXXXX";
    check(mkdtemp(folder.data()) != nullptr, "no temporary folder");
    g_folder = QString::fromStdString(folder);
    g_storePath = g_folder + QStringLiteral("/month.dat");
    std::atexit(removeFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    writeFile(g_storePath, QByteArray(input.data(), qsizetype(size)));

    DateList list;
    list.add("row that the load replaces");
    DateStore::load(g_storePath, list);
    const std::vector<std::string> rows = rowsOf(list);
    check(rows == reference::loadedRows(input), "load: wrong rows or wrong order");

    // The program reports in automatic mode when it starts; Set Manually then
    // reports with whatever the user typed (here: the first row's text).
    checkReport(list, rows, CycleMode::Automatic, QString());
    const QString typed = rows.empty() ? QString() : QString::fromLocal8Bit(list.text(0));
    checkReport(list, rows, CycleMode::Manual, typed);
    checkReport(list, rows, CycleMode::Manual, QStringLiteral("30"));

    DateStore::save(g_storePath, list);
    const QByteArray saved = readFile(g_storePath);
    std::string expectedBytes;
    for (const std::string& row : rows)
        expectedBytes += row + "\r\n";
    check(saved.toStdString() == expectedBytes, "save: not every row followed by CR LF");

    // Every byte but the line ends survives, as often as it came.
    std::array<std::size_t, 256> before = byteCounts(input.substr(0, input.find('\0')));
    std::array<std::size_t, 256> after =
        byteCounts(std::string_view(saved.constData(), std::size_t(saved.size())));
    before['\r'] = before['\n'] = after['\r'] = after['\n'] = 0;
    check(before == after, "save: bytes lost or gained");

    DateList reloaded;
    DateStore::load(g_storePath, reloaded);
    check(rowsOf(reloaded) == rows, "reload: rows differ from the saved ones");
    return 0;
}
