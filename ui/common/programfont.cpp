#include "programfont.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

void registerFontSubstitutes()
{
    // Liberation Sans has Arial's metrics, the nearest to MS Sans Serif and
    // Arial on a Linux desktop; DejaVu Sans is the last resort.
    const QStringList substitutes{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                  QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), substitutes);
    QFont::insertSubstitutions(QStringLiteral("Arial"), substitutes);
}

QFont programFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    // The substitutes run about five per cent wider than MS Sans Serif, which
    // the windows' captions were laid out for; narrow them to fit. Looking the
    // family up in the font list loads no font, as asking a QFontInfo would.
    if (!QFontDatabase::families().contains(font.family(), Qt::CaseInsensitive))
        font.setStretch(95);
    return font;
}

ProgramFontAsDefault::ProgramFontAsDefault() : m_default(QGuiApplication::font())
{
    QGuiApplication::setFont(programFont());
}

ProgramFontAsDefault::~ProgramFontAsDefault()
{
    QGuiApplication::setFont(m_default);
}
