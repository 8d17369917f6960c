#include "report.h"

#include "datelist.h"
#include "daynumber.h"
#include "numbertext.h"

namespace {

// The best day lies this many days before the next period.
constexpr double kDaysFromBestDayToPeriod = 14;
// The recommended window around the best day.
constexpr double kWindowDaysBefore = 5;
constexpr double kWindowDaysAfter = 1;

} // namespace

std::int32_t averageCycleLength(const DateList& list)
{
    const int n = list.count();
    if (n < 2)
        return kTypicalCycleLength;
    // The gaps are taken from each row and the row above; every row is read
    // once, in the order the gaps need them: row 1, row 0, then on down.
    const std::int32_t second = readInteger(list.text(1));
    std::int32_t earlier = readInteger(list.text(0));
    std::int32_t later = second;
    std::uint32_t sum = 0; // unsigned, so that wrapping around is defined
    for (int i = 1;;) {
        sum += static_cast<std::uint32_t>(later) - static_cast<std::uint32_t>(earlier);
        if (++i >= n)
            break;
        earlier = later;
        later = readInteger(list.text(i));
    }
    return roundHalfEven(double(static_cast<std::int32_t>(sum)) / double(n - 1));
}

void buildReport(const DateList& list, CycleMode mode, ReportSink& sink)
{
    sink.clearLines();
    const int n = list.count();
    if (n == 0) {
        sink.addLine(QStringLiteral("Please enter the date of the start of your last period"));
        return;
    }

    std::int32_t length = kTypicalCycleLength;
    if (mode == CycleMode::Manual) {
        length = readInteger(sink.lengthText().toLocal8Bit());
        sink.addLine(QStringLiteral("Using a manually set menstrual cycle of ") +
                     integerText(length));
    } else if (n >= 2) {
        length = averageCycleLength(list);
        sink.addLine(QStringLiteral("Average Length of Menstrual Cycle: ") + integerText(length));
    } else {
        sink.addLine(QStringLiteral("Using a typical length of menstrual cycle of 28"));
    }
    sink.setLengthText(integerText(length));

    const double lastPeriod = readInteger(list.text(n - 1));
    const double nextPeriod = lastPeriod + length;
    const double bestDay = nextPeriod - kDaysFromBestDayToPeriod;

    sink.addLine(QStringLiteral("Next Period: ") + displayDate(nextPeriod));
    sink.addLine(QStringLiteral(" "));
    sink.addLine(QStringLiteral("Recommended dates for sex:  Everyday from ") +
                 displayDate(bestDay - kWindowDaysBefore) + QStringLiteral(" to ") +
                 displayDate(bestDay + kWindowDaysAfter));
    sink.addLine(QStringLiteral("Best day for sex:  ") + displayDate(bestDay) +
                 QStringLiteral("  (1 chance in 3 of conceiving)"));
}
