#pragma once

#include <QDate>

// The program's one source of today's date. Tests pin it to a fixed day, so
// that whatever is drawn or decided from "today" can be checked at any hour.
namespace Clock {

// The local date, or the pinned day while one is set.
QDate today();

// Pins today to the given day; an invalid date hands back to the system clock.
void setFixedToday(QDate day);

} // namespace Clock
