#include "resourcepicture.h"

#include <QImageReader>
#include <QPixmapCache>

QImage resourcePicture(const QString& path)
{
    // Read as BMP outright: left to guess the format, Qt would load every
    // image plugin, and the JPEG library with them, to look at the file.
    QImageReader reader(path, "bmp");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QPixmap resourcePixmap(const QString& path)
{
    const QString key = QStringLiteral("nuvalora-picture:") + path;
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = QPixmap::fromImage(resourcePicture(path));
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

QIcon programIcon()
{
    return QIcon(resourcePixmap(QStringLiteral(":/pictures/icon.bmp")));
}
