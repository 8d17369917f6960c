#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

// One of the program's pictures, the BMP files compiled in as resources, or a
// null image when there is none at the path.
QImage resourcePicture(const QString& path);

// The same picture ready to draw. It is decoded once and then kept in Qt's
// pixmap cache, as the windows built anew at each opening show the same
// pictures every time.
QPixmap resourcePixmap(const QString& path);

// The program icon: 16 by 16 pixels, a face in shades of grey.
QIcon programIcon();
