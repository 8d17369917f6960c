// Draws the program's pictures into the given folder (resources/pictures).

#include "chart.h"
#include "smallpictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

namespace {

bool save(const QImage& image, const QDir& folder, const char* name)
{
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (!image.save(path, "BMP")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s: %d x %d\n", name, image.width(), image.height());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv); // fonts for the chart's lettering
    if (argc != 2) {
        std::fprintf(stderr, "usage: makepictures <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool ok =
        save(iconPicture(), folder, "icon.bmp") && save(closePicture(), folder, "close.bmp") &&
        save(questionPicture(), folder, "question.bmp") &&
        save(helpBookPicture(), folder, "helpbook.bmp") &&
        save(checkPicture(), folder, "check.bmp") && save(crossPicture(), folder, "cross.bmp") &&
        save(chartPicture(), folder, "chart.bmp");
    return ok ? 0 : 1;
}
