#pragma once

#include <QLabel>

// A label that acts as a link: letting go of the left button over it, or the
// Press action of a screen reader, emits clicked(). Screen readers see it as
// a link named by its text; it takes no keyboard focus.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);

    void click() { Q_EMIT clicked(); }

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
