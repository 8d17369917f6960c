#include "contrast.h"

#include <algorithm>
#include <cmath>

namespace {

double relativeLuminance(const QColor& colour)
{
    const auto linear = [](float channel) {
        return channel <= 0.04045f ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor& text, const QColor& background)
{
    const double a = relativeLuminance(text) + 0.05;
    const double b = relativeLuminance(background) + 0.05;
    return std::max(a, b) / std::min(a, b);
}

bool standsOut(const QColor& text, const QColor& background)
{
    return contrastRatio(text, background) >= 3.0;
}

QColor readableOn(const QColor& background, std::initializer_list<QColor> choices)
{
    QColor best;
    for (const QColor& choice : choices) {
        if (standsOut(choice, background))
            return choice;
        if (!best.isValid() || contrastRatio(choice, background) > contrastRatio(best, background))
            best = choice;
    }
    return best;
}
