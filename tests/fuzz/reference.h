#pragma once

// Plain, slow second readings of the rules the fuzz targets check the planner
// core against. They are written for clarity, not speed, and share no code
// with the core: where the two disagree, one of them is wrong.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reference {

// Stops the fuzzer with a message; libFuzzer keeps the input that did it.
[[noreturn]] inline void failed(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline void check(bool condition, const char* what)
{
    if (!condition)
        failed(what);
}

// A 32-bit integer as the user may type it: blanks (spaces only) first, then
// either an optional sign and decimal digits, or one of the prefixes $ x X 0x
// 0X and hexadecimal digits; nothing after the digits; the value in the
// signed 32-bit range.
inline std::optional<std::int32_t> readInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::string_view rest = text.substr(i);

    bool negative = false;
    bool hex = false;
    std::string_view digits;
    if (rest.starts_with('+') || rest.starts_with('-')) {
        negative = rest.front() == '-';
        digits = rest.substr(1);
    } else if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
        hex = true;
        digits = rest.substr(1);
    } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
        hex = true;
        digits = rest.substr(2);
    } else {
        digits = rest;
    }
    if (digits.empty())
        return std::nullopt;
    const auto isDigit = [hex](char c) {
        return (c >= '0' && c <= '9') ||
               (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
    };
    if (!std::all_of(digits.begin(), digits.end(), isDigit))
        return std::nullopt;

    // Leading zeros add nothing; what is left must be short enough to fit.
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    const std::string significant =
        firstNonZero == std::string_view::npos ? "0" : std::string(digits.substr(firstNonZero));
    if (significant.size() > (hex ? 8u : 10u))
        return std::nullopt;
    const long long value = std::strtoll(significant.c_str(), nullptr, hex ? 16 : 10);
    const long long signedValue = negative ? -value : value;
    if (signedValue < INT32_MIN || signedValue > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(signedValue);
}

// A number in the locale's notation: blanks (spaces only) around it allowed,
// an optional sign, digits with at most one decimal separator among or after
// or before them (at least one digit), and an optional exponent: e or E, an
// optional sign and digits. Gives the number rewritten for strtod (C locale),
// or nothing when the text has another shape.
inline std::optional<std::string> numberInCLocale(std::string_view text, char separator)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);

    std::string plain;
    std::size_t i = 0;
    const auto digitsFrom = [&]() {
        std::size_t count = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            plain += text[i++];
            ++count;
        }
        return count;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        plain += text[i++];
    std::size_t mantissa = digitsFrom();
    if (i < text.size() && text[i] == separator) {
        plain += '.';
        ++i;
        mantissa += digitsFrom();
    }
    if (mantissa == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        if (digitsFrom() == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    return plain;
}

// Rounds to the nearest whole number, an exact half to the even one.
inline double roundHalfEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

// The lines of month.dat: the contents end at the first NUL; a line ends at
// CR, LF or CR LF; a line end at the very end starts no further line.
inline std::vector<std::string> lines(std::string_view contents)
{
    contents = contents.substr(0, contents.find('\0'));
    std::vector<std::string> result;
    std::string line;
    for (std::size_t i = 0; i < contents.size(); ++i) {
        const char c = contents[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        result.push_back(line);
        line.clear();
        if (c == '\r' && i + 1 < contents.size() && contents[i + 1] == '\n')
            ++i;
    }
    if (!line.empty())
        result.push_back(line);
    return result;
}

// The order of the date list: byte by byte as unsigned values, ASCII letters
// without regard to case, a text before any longer text that begins with it.
inline bool listLess(const std::string& a, const std::string& b)
{
    const auto fold = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
    };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return fold(x) < fold(y); });
}

// The rows a load gives: the lines added one by one at their sorted place,
// each after the rows equal to it.
inline std::vector<std::string> loadedRows(std::string_view contents)
{
    std::vector<std::string> rows = lines(contents);
    std::stable_sort(rows.begin(), rows.end(), listLess);
    return rows;
}

} // namespace reference
