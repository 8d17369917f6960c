#pragma once

#include <QString>
#include <cstdint>

class DateList;

// Where the results report goes: the main window's results box and length box.
class ReportSink {
public:
    virtual ~ReportSink() = default;
    virtual void clearLines() = 0;
    virtual void addLine(const QString& line) = 0;
    virtual QString lengthText() const = 0;
    virtual void setLengthText(const QString& text) = 0;
};

enum class CycleMode { Automatic, Manual };

// Days in a typical cycle, used while fewer than two dates are known.
constexpr std::int32_t kTypicalCycleLength = 28;

// The average of the gaps between the rows, which equals (last - first) /
// (n - 1), rounded half to even. Every row is read; an unreadable row throws.
// The running sum is 32-bit and wraps around on overflow (well-defined here),
// so only absurd rows far outside the calendar can make it wrap.
std::int32_t averageCycleLength(const DateList& list);

// Builds the results report line by line into the sink. A failed reading
// throws and leaves whatever lines were already written.
void buildReport(const DateList& list, CycleMode mode, ReportSink& sink);
