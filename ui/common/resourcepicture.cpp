#include "resourcepicture.h"

#include <QImageReader>
#include <QPixmap>

QImage resourcePicture(const QString& path)
{
    // Read as BMP outright: left to guess the format, Qt would load every
    // image plugin, and the JPEG library with them, to look at the file.
    QImageReader reader(path, "bmp");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon programIcon()
{
    return QIcon(QPixmap::fromImage(resourcePicture(QStringLiteral(":/pictures/icon.bmp"))));
}
