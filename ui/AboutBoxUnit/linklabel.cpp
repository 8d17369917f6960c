#include "linklabel.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

namespace {

class LinkLabelAccessible : public QAccessibleWidget {
public:
    explicit LinkLabelAccessible(LinkLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return link()->text();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override
    {
        if (name == pressAction())
            link()->click();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }
};

QAccessibleInterface* linkLabelFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("LinkLabel")) {
        if (auto* label = qobject_cast<LinkLabel*>(object))
            return new LinkLabelAccessible(label);
    }
    return nullptr;
}

} // namespace

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent)
{
    QAccessible::installFactory(linkLabelFactory); // kept once, however often installed
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        event->accept();
        click();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}
