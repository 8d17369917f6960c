#pragma once

#include <QFont>

// The program's font: MS Sans Serif, 8 points (11 pixels at 96 dpi). Where the
// font is missing, a substitute of similar metrics is registered for it.
QFont programFont();
void registerFontSubstitutes();
