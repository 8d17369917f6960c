// Writes the program icon as a PNG file, the format desktop icon themes take,
// at its own size or enlarged to a larger one. An enlarged icon repeats each
// pixel of the picture as a whole block, without smoothing, so that it stays
// as crisp as the picture. Run at build time: pngicon <picture> <png> [size]

#include <QImage>
#include <QString>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s <picture> <png> [size]\n", argv[0]);
        return 2;
    }
    QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    if (argc == 4) {
        bool number = false;
        const int size = QString::fromLocal8Bit(argv[3]).toInt(&number);
        if (!number || icon.width() != icon.height() || size < icon.width() ||
            size % icon.width() != 0) {
            std::fprintf(stderr, "%s: %s is not a whole multiple of the %dx%d picture\n", argv[0],
                         argv[3], icon.width(), icon.height());
            return 2;
        }
        icon = icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    if (!icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
