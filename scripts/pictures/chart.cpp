#include "chart.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>
#include <array>

namespace {

constexpr int kWidth = 295;
constexpr int kHeight = 260;
constexpr double kLeft = 50;
constexpr double kRight = 284;
constexpr double kTop = 16;
constexpr double kBottom = 204;

const QColor kRed(220, 20, 20);
const QColor kYellow(255, 240, 80);
const QColor kGrid(205, 205, 205);
const QColor kZona(252, 228, 236);
const QColor kEgg(246, 196, 170);
const QColor kNucleus(196, 112, 112);
const QColor kSperm(80, 100, 160);

double xOfDay(double day)
{
    return kLeft + (day + 6) * (kRight - kLeft) / 7;
}

double yOfPercent(double percent)
{
    return kBottom - percent * (kBottom - kTop) / 40;
}

QFont chartFont(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void drawAxes(QPainter& p)
{
    p.setFont(chartFont(10));
    for (int percent = 0; percent <= 40; percent += 10) {
        const double y = yOfPercent(percent);
        p.setPen(percent == 0 ? QPen(Qt::black) : QPen(kGrid));
        p.drawLine(QPointF(kLeft, y), QPointF(kRight, y));
        p.setPen(Qt::black);
        p.drawText(QRectF(kLeft - 34, y - 7, 30, 14), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("%1%").arg(percent));
    }
    p.drawLine(QPointF(kLeft, kTop), QPointF(kLeft, kBottom));
    for (int day = -6; day <= 1; ++day) {
        const double x = xOfDay(day);
        p.drawLine(QPointF(x, kBottom), QPointF(x, kBottom + 3));
        const QString label = day > 0 ? QStringLiteral("+%1").arg(day) : QString::number(day);
        p.drawText(QRectF(x - 15, kBottom + 4, 30, 14), Qt::AlignCenter, label);
    }
    p.drawText(QRectF(kLeft, kBottom + 18, kRight - kLeft, 14), Qt::AlignCenter,
               QStringLiteral("Day of intercourse relative to ovulation"));

    p.save();
    p.translate(9, (kTop + kBottom) / 2);
    p.rotate(-90);
    p.drawText(QRectF(-90, -7, 180, 14), Qt::AlignCenter, QStringLiteral("Chance of conception"));
    p.restore();

    p.setFont(chartFont(9));
    p.setPen(QColor(60, 60, 60));
    p.drawText(QRectF(0, kHeight - 20, kWidth, 14), Qt::AlignCenter,
               QStringLiteral("Source: Family Health News, study of 221 women"));
}

void drawCurve(QPainter& p)
{
    // Estimated chance of conception for intercourse on each day.
    const std::array<double, 8> percent{0, 10, 15, 18, 25, 30, 33, 0};
    QPolygonF curve;
    for (int i = 0; i < int(percent.size()); ++i)
        curve << QPointF(xOfDay(i - 6), yOfPercent(percent[i]));
    p.setPen(QPen(kRed, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(curve);
    p.setBrush(kRed);
    p.setPen(Qt::NoPen);
    for (const QPointF& point : curve)
        p.drawEllipse(point, 2.8, 2.8);
}

void drawCallout(QPainter& p)
{
    const QPointF peak(xOfDay(0), yOfPercent(33));
    const QRectF box(peak.x() - 78, peak.y() - 34, 62, 18);
    QPainterPath callout;
    callout.addRoundedRect(box, 4, 4);
    QPolygonF pointer;
    pointer << QPointF(box.right() - 16, box.bottom() - 1) << QPointF(peak.x() - 4, peak.y() - 4)
            << QPointF(box.right() - 4, box.bottom() - 1);
    callout.addPolygon(pointer);
    callout = callout.simplified();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(kYellow);
    p.drawPath(callout);
    p.setFont(chartFont(10, true));
    p.drawText(box, Qt::AlignCenter, QStringLiteral("Ovulation"));
}

// One sperm cell: its head at the given point, swimming in the given direction.
void drawSperm(QPainter& p, QPointF head, double degrees)
{
    p.save();
    p.translate(head);
    p.rotate(degrees);
    QPainterPath tail;
    tail.moveTo(-3, 0);
    for (int i = 1; i <= 5; ++i)
        tail.quadTo(-3 - 4 * i + 2, (i % 2 ? 3.0 : -3.0), -3 - 4 * i, 0);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kSperm, 1));
    p.drawPath(tail);
    p.setBrush(kSperm);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(0, 0), 4, 2.6);
    p.restore();
}

void drawEgg(QPainter& p)
{
    const QPointF centre(112, 72);
    p.setPen(QPen(QColor(220, 170, 180), 1));
    p.setBrush(kZona);
    p.drawEllipse(centre, 25, 25);
    p.setPen(QPen(QColor(205, 140, 120), 1));
    p.setBrush(kEgg);
    p.drawEllipse(centre, 18, 18);
    // Two nuclei: the egg has been fertilised.
    p.setPen(Qt::NoPen);
    p.setBrush(kNucleus);
    p.drawEllipse(centre + QPointF(-6, -2), 5, 5);
    p.drawEllipse(centre + QPointF(6, 2), 5, 5);

    // The sperm cells around it, heads towards the egg; one is at its surface.
    const std::array<double, 7> angles{-160, -115, -60, -10, 35, 150, 200};
    const std::array<double, 7> distances{27, 38, 35, 42, 37, 44, 34};
    for (std::size_t i = 0; i < angles.size(); ++i) {
        const double a = qDegreesToRadians(angles[i]);
        const QPointF head = centre + distances[i] * QPointF(std::cos(a), std::sin(a));
        drawSperm(p, head, angles[i] + 180);
    }
}

QVector<QRgb> chartColours()
{
    // Every colour the drawing uses, and the blends its smooth edges make.
    const QColor white(Qt::white);
    const QColor black(Qt::black);
    const std::array<std::pair<QColor, QColor>, 14> blends{{
        {white, black},
        {white, kRed},
        {kGrid, kRed},
        {white, kYellow},
        {kYellow, black},
        {white, kGrid},
        {kGrid, black},
        {white, kZona},
        {kZona, kEgg},
        {kEgg, kNucleus},
        {white, kSperm},
        {kZona, kSperm},
        {kEgg, kSperm},
        {white, QColor(60, 60, 60)},
    }};
    QVector<QRgb> colours;
    auto add = [&colours](QRgb colour) {
        if (!colours.contains(colour))
            colours << colour;
    };
    const int steps = 17;
    for (const auto& [from, to] : blends) {
        for (int i = 0; i <= steps; ++i) {
            const double t = double(i) / steps;
            add(qRgb(qRound(from.red() + t * (to.red() - from.red())),
                     qRound(from.green() + t * (to.green() - from.green())),
                     qRound(from.blue() + t * (to.blue() - from.blue()))));
        }
    }
    add(QColor(220, 170, 180).rgb());
    add(QColor(205, 140, 120).rgb());
    while (colours.size() < 256)
        colours << qRgb(0, 0, 0);
    colours.resize(256);
    return colours;
}

} // namespace

QImage chartPicture()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        drawAxes(p);
        drawEgg(p);
        drawCurve(p);
        drawCallout(p);
    }
    return image.convertToFormat(QImage::Format_Indexed8, chartColours(), Qt::ThresholdDither);
}
