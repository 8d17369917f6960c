#include "centredpicture.h"

#include <QPainter>

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
