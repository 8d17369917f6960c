#pragma once

#include <QColor>
#include <initializer_list>

// How well text in one colour stands out from a background in another: the
// ratio of their relative luminances, each plus 0.05, as WCAG 2 measures it;
// 1 for equal colours, 21 for black on white.
double contrastRatio(const QColor& text, const QColor& background);

// Whether text in this colour can be told from that background: a contrast of
// at least 3, the least WCAG asks of large text. The designed colours reach 6
// and more on the light themes they were made for; a dark theme's light text
// on the calendar's designed white, or the links' pure blue on a dark or
// mid-grey window, falls to 1 or 2.
bool standsOut(const QColor& text, const QColor& background);

// The first of the choices, best first (the designed colour, then the
// theme's own), that stands out from the background; where none does, the
// one that stands out most.
QColor readableOn(const QColor& background, std::initializer_list<QColor> choices);
