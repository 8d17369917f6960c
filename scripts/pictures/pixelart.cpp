#include "pixelart.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>

namespace {

const char kLetters[] = "kmgonptsarlybfcw";

[[noreturn]] void badMap(const char* why)
{
    std::fprintf(stderr, "bad picture map: %s\n", why);
    std::exit(1);
}

void checkRows(const QByteArrayList& rows)
{
    if (rows.isEmpty())
        badMap("no rows");
    for (const QByteArray& row : rows) {
        if (row.size() != rows.first().size())
            badMap(row.constData());
    }
}

} // namespace

QVector<QRgb> sixteenColours()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

int colourIndex(char letter)
{
    for (int i = 0; kLetters[i]; ++i) {
        if (kLetters[i] == letter)
            return i;
    }
    badMap("unknown colour letter");
}

QImage fromColourMap(const QByteArrayList& rows)
{
    checkRows(rows);
    QImage image(int(rows.first().size()), int(rows.size()), QImage::Format_Indexed8);
    image.setColorTable(sixteenColours());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, uint(colourIndex(rows[y][x])));
    }
    return image;
}

QImage fromGreyMap(const QByteArrayList& rows)
{
    checkRows(rows);
    QImage image(int(rows.first().size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            bool ok = false;
            const int level = QByteArray(1, rows[y][x]).toInt(&ok, 16) * 17;
            if (!ok)
                badMap("not a hex digit");
            image.setPixel(x, y, qRgb(level, level, level));
        }
    }
    return image;
}

QImage withDisabledTwin(const QImage& picture)
{
    const int w = picture.width();
    const int h = picture.height();
    const uint background = uint(picture.pixelIndex(0, h - 1));
    // Like a desktop's greyed button picture: the dark parts turn grey, with a
    // white edge one pixel down and right; the light parts disappear.
    auto marked = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return false;
        const uint index = uint(picture.pixelIndex(x, y));
        return index != background && qGray(picture.color(int(index))) < 128;
    };
    QImage strip(2 * w, h, QImage::Format_Indexed8);
    strip.setColorTable(picture.colorTable());
    strip.fill(background);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            strip.setPixel(x, y, uint(picture.pixelIndex(x, y)));
            if (marked(x, y))
                strip.setPixel(w + x, y, uint(colourIndex('a')));
            else if (marked(x - 1, y - 1))
                strip.setPixel(w + x, y, uint(colourIndex('w')));
        }
    }
    return strip;
}
