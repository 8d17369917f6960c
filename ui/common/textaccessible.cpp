#include "textaccessible.h"

#include "textboundaries.h"

#include <QAbstractSpinBox>
#include <QAccessibleWidget>
#include <QDoubleSpinBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextEdit>
#include <QValidator>
#include <algorithm>

namespace {

// A place a screen reader names, kept within the text.
int within(int offset, int length)
{
    return std::clamp(offset, 0, length);
}

// What line boxes and text boxes share: a text that can be read and
// selected, and edited unless the box is read-only.
class EditableTextAccessible : public QAccessibleWidget,
                               public TextBoundaries,
                               public QAccessibleEditableTextInterface {
public:
    EditableTextAccessible(QWidget* widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = isReadOnly();
        state.editable = !state.readOnly;
        state.selectableText = true;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface && !isReadOnly())
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }
    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }

protected:
    virtual bool isReadOnly() const = 0;
};

// A line box; a password in it is neither read nor answered about.
class LineEditAccessible : public EditableTextAccessible {
public:
    explicit LineEditAccessible(QLineEdit* line)
        : EditableTextAccessible(line, QAccessible::EditableText)
    {
        addControllingSignal(QStringLiteral("textChanged(const QString&)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = EditableTextAccessible::state();
        state.passwordEdit = !isPlain();
        return state;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Value)
            return QAccessibleWidget::text(t);
        if (isPlain())
            return line()->text();
        return line()->echoMode() == QLineEdit::NoEcho ? QString()
                                                       : QString(line()->text().size(), u'*');
    }

    void setText(QAccessible::Text t, const QString& text) override
    {
        if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
            return;
        }
        QString value = text;
        int position = 0;
        if (isReadOnly() || (line()->validator() && line()->validator()->validate(
                                                        value, position) != QValidator::Acceptable))
            return;
        line()->setText(value);
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
    void removeSelection(int) override { line()->deselect(); }
    void setSelection(int, int start, int end) override
    {
        const int from = within(start, characterCount());
        line()->setSelection(from, within(end, characterCount()) - from);
    }
    int cursorPosition() const override { return line()->cursorPosition(); }
    void setCursorPosition(int position) override { line()->setCursorPosition(position); }
    QString text(int start, int end) const override
    {
        if (!isPlain())
            return {};
        const int from = within(start, characterCount());
        return line()->text().mid(from, std::max(from, within(end, characterCount())) - from);
    }
    int characterCount() const override { return int(line()->text().size()); }
    QRect characterRect(int offset) const override
    {
        if (offset < 0 || offset >= characterCount())
            return {};
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
    void replaceText(int start, int end, const QString& text) override
    {
        if (isReadOnly())
            return;
        const int from = within(start, characterCount());
        const int to = std::max(from, within(end, characterCount()));
        line()->setText(line()->text().replace(from, to - from, text));
    }

protected:
    TextItem itemAt(int position, QAccessible::TextBoundaryType type) const override
    {
        return isPlain() ? plainTextItemAt(line()->text(), position, type) : TextItem{-1, -1};
    }
    bool isReadOnly() const override { return line()->isReadOnly(); }

private:
    QLineEdit* line() const { return static_cast<QLineEdit*>(widget()); }
    bool isPlain() const { return line()->echoMode() == QLineEdit::Normal; }
};

// A spin box: its value, and the text of its line box, which answers for it.
class SpinBoxAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SpinBoxAccessible(QAbstractSpinBox* spin)
        : QAccessibleWidget(spin, QAccessible::SpinBox)
    {
        if (qobject_cast<QSpinBox*>(spin))
            addControllingSignal(QStringLiteral("valueChanged(int)"));
        else if (qobject_cast<QDoubleSpinBox*>(spin))
            addControllingSignal(QStringLiteral("valueChanged(double)"));
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? spin()->text() : QAccessibleWidget::text(t);
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        if (type == QAccessible::TextInterface || type == QAccessible::EditableTextInterface) {
            auto* line = spin()->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
            QAccessibleInterface* box =
                line ? QAccessible::queryAccessibleInterface(line) : nullptr;
            return box ? box->interface_cast(type) : nullptr;
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return spin()->property("value"); }
    void setCurrentValue(const QVariant& value) override
    {
        if (spin()->metaObject()->indexOfProperty("value") >= 0)
            spin()->setProperty("value", value);
    }
    QVariant maximumValue() const override { return spin()->property("maximum"); }
    QVariant minimumValue() const override { return spin()->property("minimum"); }
    QVariant minimumStepSize() const override { return spin()->property("singleStep"); }

private:
    QAbstractSpinBox* spin() const { return static_cast<QAbstractSpinBox*>(widget()); }
};

// A multi-line text box, plain (QPlainTextEdit) or rich (QTextEdit).
template <class Edit> class TextEditAccessible : public EditableTextAccessible {
public:
    explicit TextEditAccessible(Edit* edit)
        : EditableTextAccessible(edit, qobject_cast<QTextBrowser*>(static_cast<QWidget*>(edit))
                                           ? QAccessible::StaticText
                                           : QAccessible::EditableText)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = EditableTextAccessible::state();
        state.multiLine = true;
        return state;
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? edit()->toPlainText() : QAccessibleWidget::text(t);
    }

    void setText(QAccessible::Text t, const QString& text) override
    {
        if (t != QAccessible::Value)
            QAccessibleWidget::setText(t, text);
        else if (!isReadOnly())
            edit()->setPlainText(text);
    }

    void selection(int index, int* start, int* end) const override
    {
        const QTextCursor cursor = edit()->textCursor();
        *start = *end = 0;
        if (index == 0 && cursor.hasSelection()) {
            *start = cursor.selectionStart();
            *end = cursor.selectionEnd();
        }
    }
    int selectionCount() const override { return edit()->textCursor().hasSelection() ? 1 : 0; }
    void removeSelection(int index) override
    {
        if (index == 0)
            setSelection(0, cursorPosition(), cursorPosition());
    }
    void setSelection(int index, int start, int end) override
    {
        if (index == 0)
            edit()->setTextCursor(range(start, end));
    }
    int cursorPosition() const override { return edit()->textCursor().position(); }
    void setCursorPosition(int position) override { setSelection(0, position, position); }
    QString text(int start, int end) const override
    {
        return range(start, std::max(start, end))
            .selectedText()
            .replace(QChar::ParagraphSeparator, u'\n');
    }
    int characterCount() const override
    {
        QTextCursor cursor = edit()->textCursor();
        cursor.movePosition(QTextCursor::End);
        return cursor.position();
    }
    QRect characterRect(int offset) const override
    {
        if (offset < 0 || offset >= characterCount())
            return {};
        const QRect caret = edit()->cursorRect(range(offset, offset));
        const int width = QFontMetrics(edit()->font()).horizontalAdvance(text(offset, offset + 1));
        return {edit()->viewport()->mapToGlobal(caret.topLeft()), QSize(width, caret.height())};
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return edit()->cursorForPosition(edit()->viewport()->mapFromGlobal(point)).position();
    }
    void replaceText(int start, int end, const QString& text) override
    {
        if (!isReadOnly())
            range(start, end).insertText(text);
    }

protected:
    TextItem itemAt(int position, QAccessible::TextBoundaryType type) const override
    {
        return documentItemAt(edit()->textCursor(), position, type);
    }
    bool isReadOnly() const override { return edit()->isReadOnly(); }

private:
    Edit* edit() const { return static_cast<Edit*>(widget()); }

    // A cursor that selects the text from start to end, both kept within it.
    QTextCursor range(int start, int end) const
    {
        const int length = characterCount();
        QTextCursor cursor = edit()->textCursor();
        cursor.setPosition(within(start, length));
        cursor.setPosition(within(end, length), QTextCursor::KeepAnchor);
        return cursor;
    }
};

} // namespace

QAccessibleInterface* makeTextAccessible(QWidget* widget)
{
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return new LineEditAccessible(line);
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget))
        return new SpinBoxAccessible(spin);
    if (auto* rich = qobject_cast<QTextEdit*>(widget))
        return new TextEditAccessible<QTextEdit>(rich);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        return new TextEditAccessible<QPlainTextEdit>(plain);
    return nullptr;
}
