#include "buttonpicture.h"
#include "resourcepicture.h"

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray resourceBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The texts and pictures compiled into the program, as stored.
class TestHelpResources : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textLines_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("lines");
        QTest::newRow("usage") << QStringLiteral(":/texts/usage.txt") << 58;
        QTest::newRow("reference") << QStringLiteral(":/texts/reference.txt") << 33;
        QTest::newRow("licence") << QStringLiteral(":/texts/licence.txt") << 40;
        QTest::newRow("freeware") << QStringLiteral(":/texts/freeware.txt") << 16;
    }

    void textLines()
    {
        QFETCH(QString, path);
        QFETCH(int, lines);
        const QByteArray text = resourceBytes(path);
        QVERIFY(text.endsWith('\n'));
        QCOMPARE(int(text.count('\n')), lines);
        QVERIFY(!text.contains('\r'));
        for (char c : text)
            QVERIFY2(c == '\n' || (c >= ' ' && c < 0x7f), "plain 8-bit text, no control codes");
    }

    void pictures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("bitsPerPixel");
        QTest::newRow("icon") << QStringLiteral(":/pictures/icon.bmp") << QSize(16, 16) << 24;
        QTest::newRow("close") << QStringLiteral(":/pictures/close.bmp") << QSize(36, 18) << 4;
        QTest::newRow("question") << QStringLiteral(":/pictures/question.bmp") << QSize(36, 18)
                                  << 4;
        QTest::newRow("help book")
            << QStringLiteral(":/pictures/helpbook.bmp") << QSize(16, 16) << 4;
        QTest::newRow("check") << QStringLiteral(":/pictures/check.bmp") << QSize(18, 18) << 4;
        QTest::newRow("cross") << QStringLiteral(":/pictures/cross.bmp") << QSize(18, 18) << 4;
        QTest::newRow("chart") << QStringLiteral(":/pictures/chart.bmp") << QSize(295, 260) << 8;
    }

    void pictures()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QFETCH(int, bitsPerPixel);
        const QByteArray bytes = resourceBytes(path);
        QVERIFY(bytes.size() > 54);
        QVERIFY(bytes.startsWith("BM"));
        QCOMPARE(int(qFromLittleEndian<quint16>(bytes.constData() + 28)), bitsPerPixel);

        // As the program reads it.
        const QImage image = resourcePicture(path);
        QCOMPARE(image.size(), size);
        if (bitsPerPixel <= 8)
            QCOMPARE(image.format(), QImage::Format_Indexed8);
        if (bitsPerPixel == 8)
            QCOMPARE(image.colorCount(), 256);

        // A picture is more than its background colour.
        const QRgb background = image.pixel(0, image.height() - 1);
        bool drawn = false;
        for (int y = 0; y < image.height() && !drawn; ++y) {
            for (int x = 0; x < image.width() && !drawn; ++x)
                drawn = image.pixel(x, y) != background;
        }
        QVERIFY(drawn);
    }

    // A button shows each image of its strip with the image's bottom-left
    // colour transparent, the second image when disabled; the same again at
    // the next window's opening, when the picture comes from the cache.
    void buttonPictures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("close, two images") << QStringLiteral(":/pictures/close.bmp");
        QTest::newRow("check, one image") << QStringLiteral(":/pictures/check.bmp");
    }

    void buttonPictures()
    {
        QFETCH(QString, path);
        const QImage strip = resourcePicture(path);
        const int side = strip.height();
        const QList<QIcon::Mode> modes = strip.width() / side > 1
                                             ? QList<QIcon::Mode>{QIcon::Normal, QIcon::Disabled}
                                             : QList<QIcon::Mode>{QIcon::Normal};
        for (int opening = 0; opening < 2; ++opening) {
            const QIcon icon = buttonPicture(path);
            for (int image = 0; image < modes.size(); ++image) {
                const QImage shown = icon.pixmap(QSize(side, side), modes[image]).toImage();
                QCOMPARE(shown.size(), QSize(side, side));
                const QRgb background = strip.pixel(image * side, side - 1);
                for (int y = 0; y < side; ++y) {
                    for (int x = 0; x < side; ++x) {
                        const QRgb stored = strip.pixel(image * side + x, y);
                        const QRgb expected = stored == background ? 0u : stored;
                        QCOMPARE(shown.pixel(x, y), expected);
                    }
                }
            }
        }
    }

    void iconIsOpaqueGrey()
    {
        const QImage icon = programIcon().pixmap(16).toImage();
        QCOMPARE(icon.size(), QSize(16, 16));
        QVERIFY(!icon.hasAlphaChannel());
        for (int y = 0; y < icon.height(); ++y) {
            for (int x = 0; x < icon.width(); ++x) {
                const QRgb pixel = icon.pixel(x, y);
                QCOMPARE(qAlpha(pixel), 255);
                QVERIFY(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel));
            }
        }
    }
};

QTEST_MAIN(TestHelpResources)
#include "tst_helpresources.moc"
