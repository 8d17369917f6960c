// Times the planner core on large date lists: loading month.dat (read,
// split, sort) with the first report, saving it, and one report.

#include "datelist.h"
#include "datestore.h"
#include "report.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

class NullSink : public ReportSink {
public:
    void clearLines() override { lines = 0; }
    void addLine(const QString&) override { ++lines; }
    QString lengthText() const override { return length; }
    void setLengthText(const QString& text) override { length = text; }
    int lines = 0;
    QString length;
};

// A month.dat of random five-digit day texts, in no particular order.
void writeRandomStore(const QString& path, int rows)
{
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> day(10000, 99999);
    QByteArray contents;
    contents.reserve(qsizetype(rows) * 7);
    for (int i = 0; i < rows; ++i) {
        contents += QByteArray::number(day(random));
        contents += "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

template <typename Work> double bestSeconds(int runs, Work&& work)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

double loadAndReport(const QString& path)
{
    return bestSeconds(3, [&] {
        DateList list;
        DateStore::load(path, list);
        NullSink sink;
        buildReport(list, CycleMode::Automatic, sink);
    });
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString small = dir.filePath(QStringLiteral("small.dat"));
    const QString large = dir.filePath(QStringLiteral("month.dat"));
    writeRandomStore(small, 100000);
    writeRandomStore(large, 1000000);

    const double smallLoad = loadAndReport(small);
    const double largeLoad = loadAndReport(large);
    const double nlogn = (1e6 * std::log(1e6)) / (1e5 * std::log(1e5));
    std::printf("load + sort + first report, 100,000 rows:   %8.1f ms\n", smallLoad * 1e3);
    std::printf("load + sort + first report, 1,000,000 rows: %8.1f ms   (target < 1000 ms)\n",
                largeLoad * 1e3);
    std::printf("growth 1,000,000 / 100,000 rows: %.1f x   (n log n would be %.1f x)\n",
                largeLoad / smallLoad, nlogn);

    DateList list;
    DateStore::load(large, list);
    const QString saved = dir.filePath(QStringLiteral("saved.dat"));
    const double save = bestSeconds(3, [&] { DateStore::save(saved, list); });
    std::printf("save, 1,000,000 rows:                       %8.1f ms   (target < 500 ms)\n",
                save * 1e3);

    NullSink sink;
    const double report = bestSeconds(5, [&] { buildReport(list, CycleMode::Automatic, sink); });
    std::printf("one automatic report, 1,000,000 rows:       %8.2f ms   (target < 50 ms)\n",
                report * 1e3);
    std::printf("report: %d lines, cycle length %s\n", sink.lines, qPrintable(sink.length));
    return 0;
}
