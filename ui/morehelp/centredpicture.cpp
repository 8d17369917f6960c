#include "centredpicture.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace {

QAccessibleInterface* pictureFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("CentredPicture") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    return nullptr;
}

} // namespace

CentredPicture::CentredPicture(QWidget* parent) : QWidget(parent)
{
    QAccessible::installFactory(pictureFactory); // kept once, however often installed
}

void CentredPicture::setPixmap(const QPixmap& pixmap)
{
    m_pixmap = pixmap;
    update();
}

void CentredPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap((width() - m_pixmap.width()) / 2, 0, m_pixmap);
}
