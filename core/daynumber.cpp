#include "daynumber.h"

#include <QLocale>
#include <cmath>

namespace {

// Julian day of 30 December 1899.
constexpr std::int64_t kJulianDayOfDayZero = 2415019;

const QString kFallbackPattern = QStringLiteral("M/d/yy");

QString& currentPattern()
{
    static QString pattern = localeShortDatePattern();
    return pattern;
}

// Dates outside the years 1 to 9999 have no place in a locale pattern (a
// two-digit year would be ambiguous, a negative one garbled), so they are
// shown in the extended ISO 8601 form, e.g. +10000-01-01 or -0001-12-31.
QString extendedIsoText(QDate date)
{
    const int year = date.year(); // never 0: the year before 1 is -1
    // ISO counts the year before 1 as 0, so negative years move up by one.
    const int isoYear = year < 0 ? year + 1 : year;
    const QString sign = isoYear < 0 ? QStringLiteral("-") : QStringLiteral("+");
    return QStringLiteral("%1%2-%3-%4")
        .arg(sign)
        .arg(std::abs(isoYear), 4, 10, QChar(u'0'))
        .arg(date.month(), 2, 10, QChar(u'0'))
        .arg(date.day(), 2, 10, QChar(u'0'));
}

} // namespace

QDate dateOfDay(DayNumber day)
{
    return QDate::fromJulianDay(kJulianDayOfDayZero + day);
}

DayNumber dayOfDate(QDate date)
{
    return date.toJulianDay() - kJulianDayOfDayZero;
}

QByteArray dayText(DayNumber day)
{
    return QByteArray::number(static_cast<qlonglong>(day));
}

QString displayDate(DayNumber day)
{
    // Far beyond any calendar QDate can hold: show the number itself.
    constexpr DayNumber kLimit = 1'000'000'000'000'000;
    if (day > kLimit || day < -kLimit)
        return QStringLiteral("day %1").arg(day);
    const QDate date = dateOfDay(day);
    if (!date.isValid())
        return QStringLiteral("day %1").arg(day);
    if (date.year() < 1 || date.year() > 9999)
        return extendedIsoText(date);
    return QLocale::system().toString(date, displayDatePattern());
}

QString displayDate(double day)
{
    // Report arithmetic is done on whole-valued doubles; anything beyond the
    // range QDate can hold is shown by its number.
    if (!std::isfinite(day) || std::fabs(day) > 1e15)
        return QStringLiteral("day %1").arg(day, 0, 'g', 15);
    return displayDate(static_cast<DayNumber>(std::floor(day)));
}

QString localeShortDatePattern()
{
    const QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        return kFallbackPattern;
    const QString pattern = locale.dateFormat(QLocale::ShortFormat);
    return pattern.isEmpty() ? kFallbackPattern : pattern;
}

QString displayDatePattern()
{
    return currentPattern();
}

void setDisplayDatePattern(const QString& pattern)
{
    currentPattern() = pattern.isEmpty() ? kFallbackPattern : pattern;
}
