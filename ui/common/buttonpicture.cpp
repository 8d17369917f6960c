#include "buttonpicture.h"

#include "resourcepicture.h"

#include <QImage>
#include <QPixmap>
#include <QPixmapCache>

namespace {

// Makes the bottom-left colour of the image's area transparent throughout it.
void makeBackgroundTransparent(QImage& argb, const QRect& area)
{
    const QRgb background = argb.pixel(area.left(), area.bottom());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            if (line[x] == background)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
}

// The strip with the background of each image made transparent: made once,
// then kept in Qt's pixmap cache for the windows built anew at each opening.
QPixmap transparentStrip(const QString& resourcePath)
{
    const QString key = QStringLiteral("nuvalora-button:") + resourcePath;
    QPixmap strip;
    if (QPixmapCache::find(key, &strip))
        return strip;
    const QImage image = resourcePicture(resourcePath);
    if (image.isNull())
        return strip;
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int side = argb.height();
    if (argb.width() / side <= 1) {
        makeBackgroundTransparent(argb, argb.rect());
    } else {
        // Each image has its own bottom-left pixel as its background colour.
        makeBackgroundTransparent(argb, QRect(0, 0, side, side));
        makeBackgroundTransparent(argb, QRect(side, 0, side, side));
    }
    strip = QPixmap::fromImage(argb);
    QPixmapCache::insert(key, strip);
    return strip;
}

} // namespace

QIcon buttonPicture(const QString& resourcePath)
{
    const QPixmap strip = transparentStrip(resourcePath);
    QIcon icon;
    if (strip.isNull())
        return icon;
    const int side = strip.height();
    if (strip.width() / side <= 1) {
        icon.addPixmap(strip, QIcon::Normal);
        return icon;
    }
    icon.addPixmap(strip.copy(0, 0, side, side), QIcon::Normal);
    icon.addPixmap(strip.copy(side, 0, side, side), QIcon::Disabled);
    return icon;
}
