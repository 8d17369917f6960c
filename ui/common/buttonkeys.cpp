#include "buttonkeys.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QObject>
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
