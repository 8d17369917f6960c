#include "smallpictures.h"

#include "pixelart.h"

#include <QLineF>
#include <QList>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The left half of a symmetric picture, mirrored into the right half.
QByteArrayList mirrored(const QByteArrayList& leftHalves)
{
    QByteArrayList rows;
    for (const QByteArray& half : leftHalves) {
        QByteArray right = half;
        std::reverse(right.begin(), right.end());
        rows << half + right;
    }
    return rows;
}

void fill(QImage& image, int left, int top, int width, int height, char colour)
{
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x)
            image.setPixel(x, y, uint(colourIndex(colour)));
    }
}

QImage blank(int width, int height, char background)
{
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable(sixteenColours());
    image.fill(uint(colourIndex(background)));
    return image;
}

// A thick stroke along line segments: the main colour, with its lower right
// edge in a darker shade so that it stands off the button.
QImage stroked(const QList<QLineF>& segments, double halfWidth, char colour, char shade)
{
    QImage image = blank(18, 18, 'o');
    auto inside = [&](int x, int y) {
        const QPointF p(x, y);
        for (const QLineF& segment : segments) {
            const QPointF d = segment.p2() - segment.p1();
            const double t = std::clamp(
                QPointF::dotProduct(p - segment.p1(), d) / QPointF::dotProduct(d, d), 0.0, 1.0);
            if (QLineF(p, segment.p1() + t * d).length() <= halfWidth)
                return true;
        }
        return false;
    };
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 18; ++x) {
            if (!inside(x, y))
                continue;
            const bool edge = !inside(x + 1, y + 1);
            image.setPixel(x, y, uint(colourIndex(edge ? shade : colour)));
        }
    }
    return image;
}

} // namespace

QImage iconPicture()
{
    return fromGreyMap(mirrored({
        "22223333",
        "22334444",
        "23457888",
        "246ACCCC",
        "25ACDDDD",
        "36C866BD",
        "37DBBBCD",
        "37DE20ED",
        "38DBA9BD",
        "37DDDDDB",
        "36CDDDDA",
        "25CDDC86",
        "24BDDDCB",
        "23ADC855",
        "22ADDB98",
        "228BDDDD",
    }));
}

QImage closePicture()
{
    QImage door = blank(18, 18, 'o');
    fill(door, 6, 1, 6, 3, 'g'); // the sign above the door
    fill(door, 7, 2, 4, 1, 'l');
    fill(door, 5, 5, 8, 11, 'n'); // the frame
    fill(door, 6, 6, 6, 10, 'y'); // daylight through the opening
    // The two leaves stand open towards the viewer: their outer edges are
    // nearer, so they look taller.
    for (int x = 1; x <= 4; ++x) {
        const int top = x + 2;
        const int bottom = std::min(17, 19 - x);
        for (int y = top; y <= bottom; ++y) {
            const bool outline = x == 1 || y == top || y == bottom;
            door.setPixel(x, y, uint(colourIndex(outline ? 'k' : (x + y) % 2 ? 'f' : 'p')));
        }
    }
    for (int x = 13; x <= 16; ++x) {
        const int top = 19 - x;
        const int bottom = std::min(17, x + 2);
        for (int y = top; y <= bottom; ++y) {
            const bool outline = x == 16 || y == top || y == bottom;
            door.setPixel(x, y, uint(colourIndex(outline ? 'k' : (x + y) % 2 ? 'c' : 'w')));
        }
    }
    return withDisabledTwin(door);
}

QImage questionPicture()
{
    const QByteArrayList mask{
        "..................", //
        "......######......", //
        "....##########....", //
        "...####....####...", //
        "...###......###...", //
        "...###......###...", //
        "............###...", //
        "...........####...", //
        ".........#####....", //
        "........####......", //
        ".......###........", //
        ".......###........", //
        ".......###........", //
        "..................", //
        ".......###........", //
        ".......###........", //
        ".......###........", //
        "..................", //
    };
    auto inMask = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < 18 && y < 18 && mask[y][x] == '#';
    };
    QImage mark = blank(18, 18, 'o');
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 18; ++x) {
            if (inMask(x, y)) {
                const bool edge = !inMask(x + 1, y) || !inMask(x, y + 1);
                mark.setPixel(x, y, uint(colourIndex(edge ? 't' : 'c')));
            } else if (inMask(x - 1, y - 1)) {
                mark.setPixel(x, y, uint(colourIndex('n'))); // the shadow
            }
        }
    }
    return withDisabledTwin(mark);
}

QImage helpBookPicture()
{
    return fromColourMap({
        "gggggggggggggggg",
        "gggggkkkkkkkkkkg",
        "gggggkwwwwwwwksk",
        "gggggkwppyyppkak",
        "ggggkwpyppypkskg",
        "ggggkwppppypkakg",
        "ggggkwpppyppkskg",
        "gggkwpppyppkakgg",
        "gggkwppppppkskgg",
        "gggkwpppyppkakgg",
        "ggkwppppppkskggg",
        "ggkwppppppkakggg",
        "ggkkkkkkkkkskggg",
        "gggksasasasakggg",
        "gggkkkkkkkkkkggg",
        "gggggggggggggggg",
    });
}

QImage checkPicture()
{
    return stroked({QLineF(3, 9, 7, 13), QLineF(7, 13, 14, 3)}, 1.5, 'l', 'g');
}

QImage crossPicture()
{
    return stroked({QLineF(4, 4, 13, 13), QLineF(13, 4, 4, 13)}, 1.5, 'r', 'm');
}
