#include "accessibility.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>

namespace {

// A read-only line box: its text can be read, selected and copied, never
// changed, so it offers no editable text.
class ReadOnlyLineAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ReadOnlyLineAccessible(QLineEdit* line)
        : QAccessibleWidget(line, QAccessible::EditableText)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = line()->isReadOnly();
        state.editable = !state.readOnly;
        state.selectableText = true;
        return state;
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? line()->text() : QAccessibleWidget::text(t);
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    void selection(int index, int* start, int* end) const override
    {
        *start = *end = 0;
        if (index == 0 && line()->hasSelectedText()) {
            *start = line()->selectionStart();
            *end = line()->selectionEnd();
        }
    }
    int selectionCount() const override { return line()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { line()->deselect(); }
    void setSelection(int, int start, int end) override
    {
        line()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return line()->cursorPosition(); }
    void setCursorPosition(int position) override { line()->setCursorPosition(position); }
    QString text(int start, int end) const override
    {
        return line()->text().mid(start, end - start);
    }
    int characterCount() const override { return int(line()->text().size()); }
    QRect characterRect(int offset) const override
    {
        const QFontMetrics metrics(line()->font());
        const QString text = line()->text();
        const QRect box = line()->contentsRect();
        const int left = box.left() + metrics.horizontalAdvance(text.left(offset));
        const QRect character(left, box.top(), metrics.horizontalAdvance(text.mid(offset, 1)),
                              box.height());
        return {line()->mapToGlobal(character.topLeft()), character.size()};
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return line()->cursorPositionAt(line()->mapFromGlobal(point));
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    QLineEdit* line() const { return static_cast<QLineEdit*>(widget()); }
};

QAccessibleInterface* programFactory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("QLineEdit")) {
        auto* line = static_cast<QLineEdit*>(widget);
        return line->isReadOnly() ? new ReadOnlyLineAccessible(line) : nullptr;
    }
    if (className == QLatin1String("QWidget") && widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void installProgramAccessibility()
{
    QAccessible::installFactory(programFactory); // kept once, however often installed
}
