#include "buttonkeys.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QObject>
#include <QShortcutEvent>
#include <QWidget>

namespace {

QChar mnemonicLetter(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (caption[i + 1] != u'&')
                return caption[i + 1].toUpper();
            ++i; // "&&" is a literal ampersand
        }
    }
    return {};
}

class ButtonKeys : public QObject {
public:
    explicit ButtonKeys(QWidget* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Shortcut)
            return pressAtOnce(qobject_cast<QAbstractButton*>(watched),
                               static_cast<QShortcutEvent*>(event));
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || button->window() != m_window)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            button->click();
            return true;
        }
        const QString text = key->text();
        if (text.size() != 1 || !text[0].isLetterOrNumber())
            return false;
        const QChar letter = text[0].toUpper();
        const auto buttons = m_window->findChildren<QAbstractButton*>();
        for (QAbstractButton* candidate : buttons) {
            if (candidate->isVisible() && candidate->isEnabled() &&
                mnemonicLetter(candidate->text()) == letter) {
                candidate->click();
                return true;
            }
        }
        return false;
    }

private:
    // Alt with a caption's marked letter presses its button at once, as the
    // letter alone does. Qt would show the button pressed and act only 100 ms
    // later, which holds up every window such a press opens. A letter that
    // marks several buttons is left to Qt, which moves the focus among them.
    static bool pressAtOnce(QAbstractButton* button, const QShortcutEvent* shortcut)
    {
        if (!button || shortcut->isAmbiguous())
            return false;
        button->click();
        return true;
    }

    QWidget* m_window;
};

} // namespace

void installButtonKeys(QWidget* window)
{
    auto* filter = new ButtonKeys(window);
    const auto buttons = window->findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons)
        button->installEventFilter(filter);
}
