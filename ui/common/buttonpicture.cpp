#include "buttonpicture.h"

#include "resourcepicture.h"

#include <QImage>
#include <QPixmap>

namespace {

QPixmap withTransparentBackground(const QImage& image)
{
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb background = argb.pixel(0, argb.height() - 1);
    for (int y = 0; y < argb.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (line[x] == background)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return QPixmap::fromImage(argb);
}

} // namespace

QIcon buttonPicture(const QString& resourcePath)
{
    const QImage strip = resourcePicture(resourcePath);
    QIcon icon;
    if (strip.isNull())
        return icon;
    const int side = strip.height();
    const int images = side > 0 ? strip.width() / side : 0;
    if (images <= 1) {
        icon.addPixmap(withTransparentBackground(strip), QIcon::Normal);
        return icon;
    }
    // Each image has its own bottom-left pixel as its background colour.
    icon.addPixmap(withTransparentBackground(strip.copy(0, 0, side, side)), QIcon::Normal);
    icon.addPixmap(withTransparentBackground(strip.copy(side, 0, side, side)), QIcon::Disabled);
    return icon;
}
