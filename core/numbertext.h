#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <cstdint>

// Conversions between texts and numbers. Texts are the raw 8-bit row texts of
// the date list or what the user typed; a failed reading throws NuvaloraError.

// Reads a 32-bit signed integer: leading spaces, then an optional sign and
// decimal digits, or one of the prefixes $ x X 0x 0X and hexadecimal digits.
// Nothing may follow the digits.
std::int32_t readInteger(const QByteArray& text);

// Reads a floating-point number in the locale's notation (leading and trailing
// spaces allowed, the given decimal separator, an optional exponent).
double readNumber(const QByteArray& text, QChar decimalSeparator);
double readNumber(const QByteArray& text); // the system locale's separator

// Rounds to the nearest integer, an exact half to the even neighbour.
// Throws when the value is not a number or does not fit 32 bits.
std::int32_t roundHalfEven(double value);

QString integerText(std::int32_t value);
