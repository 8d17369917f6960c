#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <cstdint>

// Day numbers count whole days from 30 December 1899 (day 0).
using DayNumber = qint64;

QDate dateOfDay(DayNumber day);
DayNumber dayOfDate(QDate date);

// The text a day is kept under in the date list and in month.dat.
QByteArray dayText(DayNumber day);

// The day as the user sees it, in the short date pattern.
QString displayDate(DayNumber day);
QString displayDate(double day);

// The short date pattern used for display dates. It is read once from the
// user's locale at start-up; the C locale supplies none, so "M/d/yy" applies.
QString displayDatePattern();
void setDisplayDatePattern(const QString& pattern);
QString localeShortDatePattern();
