#include "numbertext.h"

#include "error.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

QString quoted(const QByteArray& text)
{
    return QString::fromLocal8Bit(text);
}

[[noreturn]] void failInteger(const QByteArray& text)
{
    throw NuvaloraError(QStringLiteral("'%1' is not a valid integer value").arg(quoted(text)));
}

[[noreturn]] void failNumber(const QByteArray& text)
{
    throw NuvaloraError(
        QStringLiteral("'%1' is not a valid floating point value").arg(quoted(text)));
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::int32_t readInteger(const QByteArray& text)
{
    const char* p = text.constData();
    const char* const end = p + text.size();
    while (p < end && *p == ' ')
        ++p;

    bool negative = false;
    int base = 10;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    } else if (p < end && *p == '$') {
        base = 16;
        ++p;
    } else if (p < end && (*p == 'x' || *p == 'X')) {
        base = 16;
        ++p;
    } else if (end - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    }
    if (p == end)
        failInteger(text);

    // Accumulate in 64 bits and stop as soon as the 32-bit range is left.
    const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
    std::int64_t value = 0;
    for (; p < end; ++p) {
        const int digit = base == 16 ? hexDigit(*p) : (*p >= '0' && *p <= '9' ? *p - '0' : -1);
        if (digit < 0)
            failInteger(text);
        value = value * base + digit;
        if (value > limit)
            failInteger(text);
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

double readNumber(const QByteArray& text, QChar decimalSeparator)
{
    // Rewrite the text into the form std::from_chars reads, checking the shape
    // as we go: [sign] digits [sep digits] [e [sign] digits], with at least one
    // mantissa digit; spaces around it are allowed.
    std::string plain;
    plain.reserve(static_cast<std::size_t>(text.size()));
    const char* p = text.constData();
    const char* end = p + text.size();
    while (p < end && *p == ' ')
        ++p;
    while (end > p && end[-1] == ' ')
        --end;

    const char separator =
        decimalSeparator.unicode() < 0x80 ? char(decimalSeparator.unicode()) : '.';
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };

    if (p < end && (*p == '+' || *p == '-')) {
        if (*p == '-')
            plain += '-';
        ++p;
    }
    int mantissaDigits = 0;
    while (p < end && isDigit(*p)) {
        plain += *p++;
        ++mantissaDigits;
    }
    if (p < end && *p == separator) {
        plain += '.';
        ++p;
        while (p < end && isDigit(*p)) {
            plain += *p++;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        failNumber(text);
    if (p < end && (*p == 'e' || *p == 'E')) {
        plain += 'e';
        ++p;
        if (p < end && (*p == '+' || *p == '-'))
            plain += *p++;
        int exponentDigits = 0;
        while (p < end && isDigit(*p)) {
            plain += *p++;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            failNumber(text);
    }
    if (p != end)
        failNumber(text);

    double value = 0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value))
        failNumber(text);
    return value;
}

double readNumber(const QByteArray& text)
{
    const QString separator = QLocale::system().decimalPoint();
    return readNumber(text, separator.isEmpty() ? QChar(u'.') : separator.front());
}

std::int32_t roundHalfEven(double value)
{
    // nearbyint rounds in the current mode, which is to-nearest, ties-to-even.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= double(std::numeric_limits<std::int32_t>::min()) &&
          rounded <= double(std::numeric_limits<std::int32_t>::max())))
        throw NuvaloraError(QStringLiteral("Invalid floating point operation"));
    return static_cast<std::int32_t>(rounded);
}

QString integerText(std::int32_t value)
{
    return QString::number(value);
}
