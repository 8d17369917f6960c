#pragma once

#include <QPixmap>
#include <QWidget>

// A picture drawn at its own size, never stretched, at the top of the control
// and centred across it: the left offset is (width - picture width) / 2,
// rounded towards zero, so an odd spare pixel goes to the right. Screen
// readers see it as a picture with its accessible name and description.
class CentredPicture : public QWidget {
    Q_OBJECT
public:
    explicit CentredPicture(QWidget* parent = nullptr);

    void setPixmap(const QPixmap& pixmap);
    const QPixmap& pixmap() const { return m_pixmap; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_pixmap;
};
