#pragma once

#include <QFont>

// The program's font: MS Sans Serif, 8 points (11 pixels at 96 dpi). Where the
// font is missing, a substitute of similar metrics is registered for it.
QFont programFont();
void registerFontSubstitutes();

// While it lives, the program's font is the application's default font, so
// that a window built meanwhile loads no font it does not draw with: a line
// edit, for one, lays out its empty text in the default font before it takes
// its window's font. The default font is given back at the end.
class ProgramFontAsDefault {
public:
    ProgramFontAsDefault();
    ~ProgramFontAsDefault();
    ProgramFontAsDefault(const ProgramFontAsDefault&) = delete;
    ProgramFontAsDefault& operator=(const ProgramFontAsDefault&) = delete;

private:
    QFont m_default;
};
