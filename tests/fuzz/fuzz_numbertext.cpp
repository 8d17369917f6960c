// Fuzzes the readings of texts as numbers and what is made of the numbers
// read: readInteger, readNumber with either decimal separator, the rounding,
// and the display date of whatever was read.
//
// A reading may fail only with NuvaloraError and its exact message; anything
// else that escapes, every sanitizer report and every disagreement with the
// plain readings in reference.h stops the fuzzer.

#include "daynumber.h"
#include "error.h"
#include "numbertext.h"
#include "reference.h"

#include <QDate>
#include <QRegularExpression>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

using reference::check;

namespace {

const QString kPattern = QStringLiteral("yyyy-MM-dd");

QString integerMessage(const QByteArray& text)
{
    return QStringLiteral("'") + QString::fromLocal8Bit(text) +
           QStringLiteral("' is not a valid integer value");
}

QString numberMessage(const QByteArray& text)
{
    return QStringLiteral("'") + QString::fromLocal8Bit(text) +
           QStringLiteral("' is not a valid floating point value");
}

std::optional<std::int32_t> tryReadInteger(const QByteArray& text)
{
    try {
        return readInteger(text);
    } catch (const NuvaloraError& error) {
        check(error.message() == integerMessage(text), "readInteger: wrong message");
        return std::nullopt;
    }
}

std::optional<double> tryReadNumber(const QByteArray& text, QChar separator)
{
    try {
        const double value = readNumber(text, separator);
        check(std::isfinite(value), "readNumber: gave a value that is not finite");
        return value;
    } catch (const NuvaloraError& error) {
        check(error.message() == numberMessage(text), "readNumber: wrong message");
        return std::nullopt;
    }
}

// The same text with the two separators swapped: what one separator accepts
// in the one, the other must accept in the other, with the same value.
QByteArray swapSeparators(QByteArray text)
{
    for (char& c : text) {
        if (c == '.')
            c = ',';
        else if (c == ',')
            c = '.';
    }
    return text;
}

// The display date of a day: in the years 1 to 9999 the pattern's text, and
// outside them the extended ISO form, which must name the same day.
void checkDisplayDate(std::int64_t day)
{
    const QString shown = displayDate(DayNumber(day));
    check(!shown.isEmpty(), "displayDate: empty text");
    const QDate date = dateOfDay(day);
    check(date.isValid(), "dateOfDay: invalid date for a 32-bit day");
    check(dayOfDate(date) == day, "dayOfDate does not undo dateOfDay");
    if (date.year() >= 1 && date.year() <= 9999) {
        check(shown == date.toString(Qt::ISODate), "displayDate: not the pattern's text");
        return;
    }
    static const QRegularExpression iso(QStringLiteral("^([+-])(\\d{4,})-(\\d\\d)-(\\d\\d)$"));
    const QRegularExpressionMatch match = iso.match(shown);
    check(match.hasMatch(), "displayDate: outside 1..9999 not in the extended ISO form");
    const int isoYear =
        (match.captured(1) == QStringLiteral("-") ? -1 : 1) * match.captured(2).toInt();
    // ISO year 0 is the year before 1, which QDate numbers -1.
    const int year = isoYear <= 0 ? isoYear - 1 : isoYear;
    check(QDate(year, match.captured(3).toInt(), match.captured(4).toInt()) == date,
          "displayDate: the extended ISO form names another day");
}

void checkRounding(double value)
{
    std::optional<std::int32_t> rounded;
    try {
        rounded = roundHalfEven(value);
    } catch (const NuvaloraError& error) {
        check(error.message() == QStringLiteral("Invalid floating point operation"),
              "roundHalfEven: wrong message");
    }
    const double expected = reference::roundHalfEven(value);
    const bool fits = expected >= INT32_MIN && expected <= INT32_MAX;
    check(rounded.has_value() == fits, "roundHalfEven: refused a value that fits, or the reverse");
    if (rounded)
        check(double(*rounded) == expected, "roundHalfEven: wrong whole number");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setDisplayDatePattern(kPattern);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));

    // Integers.
    const std::optional<std::int32_t> integer = tryReadInteger(text);
    const std::optional<std::int32_t> expected =
        reference::readInteger(std::string_view(text.constData(), std::size_t(text.size())));
    check(integer.has_value() == expected.has_value(), "readInteger: accepts what it should not, "
                                                       "or refuses what it should accept");
    if (integer) {
        check(*integer == *expected, "readInteger: wrong value");
        // The texts the program writes read back as what they were made from.
        check(readInteger(integerText(*integer).toLatin1()) == *integer,
              "integerText does not read back");
        check(dayText(*integer) == integerText(*integer).toLatin1(),
              "dayText differs from integerText");
        checkDisplayDate(*integer);
        checkRounding(double(*integer));
    }

    // Floating-point numbers, with either separator.
    const std::optional<double> withPoint = tryReadNumber(text, QChar(u'.'));
    const QByteArray swapped = swapSeparators(text);
    const std::optional<double> withComma = tryReadNumber(swapped, QChar(u','));
    check(withPoint.has_value() == withComma.has_value(),
          "readNumber: the separators disagree on acceptance");
    if (withPoint)
        check(std::memcmp(&*withPoint, &*withComma, sizeof(double)) == 0,
              "readNumber: the separators disagree on the value");
    // Every integer text is a number too, of the same value.
    if (integer && !text.contains('x') && !text.contains('X') && !text.contains('$'))
        check(withPoint && *withPoint == double(*integer), "readNumber: an integer text refused");

    // The shape decides acceptance, and the C library's strtod the value;
    // texts beyond the range of doubles are refused. Only where strtod
    // underflows to a tiny or zero value may the reading go either way.
    const std::optional<std::string> shape = reference::numberInCLocale(
        std::string_view(text.constData(), std::size_t(text.size())), '.');
    if (!shape) {
        check(!withPoint, "readNumber: accepted a text that is not a number");
    } else {
        errno = 0;
        const double value = std::strtod(shape->c_str(), nullptr);
        const bool underflow = errno == ERANGE && std::fabs(value) <= DBL_MIN;
        if (!std::isfinite(value) || (errno == ERANGE && !underflow))
            check(!withPoint, "readNumber: accepted a number beyond the range of doubles");
        else if (!underflow)
            check(withPoint && *withPoint == value, "readNumber: refused a number, or misread it");
        else if (withPoint)
            check(*withPoint == value || (*withPoint == 0 && std::fabs(value) < DBL_MIN),
                  "readNumber: misread a tiny number");
    }

    if (withPoint) {
        checkRounding(*withPoint);
        check(!displayDate(*withPoint).isEmpty(), "displayDate: empty text for a number");
        if (std::floor(*withPoint) == *withPoint && std::fabs(*withPoint) <= 1e15)
            check(displayDate(*withPoint) == displayDate(DayNumber(*withPoint)),
                  "displayDate: a whole number shows unlike its day");
    }
    return 0;
}
