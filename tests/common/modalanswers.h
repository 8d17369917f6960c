#pragma once

// Answering the modal windows that a test's clicks bring up, as a person
// would. The windows a test expects are answered in order; any other modal
// window is a failure: it is noted with its text and closed at once, so a
// question that should not come fails the test there and then instead of
// holding it until the test runner's time-out.

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <optional>

class ModalAnswers : public QObject {
public:
    using Action = std::function<void(QWidget*)>;

    // A window that its answer left open for this long is closed as a failure.
    static constexpr int kLeftOpenMs = 5000;

    ModalAnswers()
    {
        // Polling from a timer of our own: an answer that brings up another
        // modal window runs in a later turn of the loop, so the poll goes on
        // while that window waits.
        QObject::connect(&m_poll, &QTimer::timeout, [this] { look(); });
        m_poll.start(10);
    }
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    // The next modal window to come up must be a Kind (with this object
    // name, when one is given); the action answers it.
    template <typename Kind> void expect(Action action, const QString& objectName = QString())
    {
        m_expected.push_back({[objectName](QWidget* modal) {
                                  return qobject_cast<Kind*>(modal) &&
                                         (objectName.isEmpty() ||
                                          modal->objectName() == objectName);
                              },
                              std::move(action), describeKind<Kind>(objectName)});
    }

    // The next modal window must be a message box: its text goes to *text,
    // and OK answers it.
    void expectMessageBox(QString* text)
    {
        expect<QMessageBox>([text](QWidget* modal) {
            auto* box = static_cast<QMessageBox*>(modal);
            *text = box->text();
            if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->reject();
        });
    }

    // What went wrong: windows nobody expected, answers that left their
    // window open, and expected windows that never came.
    QStringList problems() const
    {
        QStringList all = m_problems;
        for (const Expected& expected : m_expected)
            all << QStringLiteral("never shown: ") + expected.what;
        return all;
    }
    QString report() const { return problems().join(QStringLiteral("; ")); }

private:
    struct Expected {
        std::function<bool(QWidget*)> matches;
        Action action;
        QString what;
    };

    template <typename Kind> static QString describeKind(const QString& objectName)
    {
        const QString kind = QString::fromLatin1(Kind::staticMetaObject.className());
        return objectName.isEmpty() ? kind : kind + QLatin1Char(' ') + objectName;
    }

    static QString describe(QWidget* modal)
    {
        QString text =
            QStringLiteral("'%1' (%2 %3)")
                .arg(modal->windowTitle(), QString::fromLatin1(modal->metaObject()->className()),
                     modal->objectName());
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            text += QStringLiteral(": ") + box->text();
        return text;
    }

    static void shut(QWidget* modal)
    {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }

    // A window that is answered and hidden may come up again (the date
    // dialog does): its next showing is a new window to answer.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_answering && event->type() == QEvent::Hide) {
            m_answering->removeEventFilter(this);
            m_answering = nullptr;
        }
        return false;
    }

    void look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (modal == m_answering) {
            if (m_answeredAt.elapsed() > kLeftOpenMs) {
                m_problems << QStringLiteral("left open: ") + describe(modal);
                shut(modal);
            }
            return;
        }
        if (!m_expected.empty() && m_expected.front().matches(modal)) {
            Action action = std::move(m_expected.front().action);
            m_expected.pop_front();
            m_answering = modal;
            modal->installEventFilter(this);
            m_answeredAt.start();
            QTimer::singleShot(0, modal, [modal, action] { action(modal); });
            return;
        }
        m_problems << QStringLiteral("unexpected: ") + describe(modal);
        shut(modal);
    }

    QTimer m_poll;
    std::deque<Expected> m_expected;
    QPointer<QWidget> m_answering;
    QElapsedTimer m_answeredAt;
    QStringList m_problems;
};

// Shows a window that loads month.dat and draws its rows as it is shown (show
// does it). A box that then comes up unexpected fails the test at once, with
// its text, instead of waiting for an answer nobody gives; answers, when not
// null, answers the boxes the test expects. False when the test failed.
inline bool showAnsweringBoxes(QWidget* window, ModalAnswers* answers,
                               const std::function<void()>& show)
{
    std::optional<ModalAnswers> nothingExpected;
    if (!answers)
        nothingExpected.emplace();
    show();
    if (!QTest::qWaitForWindowExposed(window)) {
        QTest::qFail("the window did not show", __FILE__, __LINE__);
        return false;
    }
    if (!nothingExpected)
        return true;
    QTest::qWait(50); // a row that cannot be drawn is reported after the paint
    if (nothingExpected->problems().isEmpty())
        return true;
    QTest::qFail(qPrintable(nothingExpected->report()), __FILE__, __LINE__);
    return false;
}
