#pragma once

// Shared by the two window-opening probes, the program's and its bare twins'.
// Once the main window has painted and settled, it opens each window in turn
// by a real press on the main window (a key or a mouse click sent to the real
// widget), and times it from the press to the end of the new window's first
// paint: the paint under way and its flush to the screen, which come in one
// step, done. The window is then closed at once, and the next press waits
// until the main window is active again. Round 0 opens every window for the
// first time in the run; each later round opens them all once more.
//
// Each opening prints one line, "<window> <milliseconds>", the first one of a
// window as "<window>, first". Options:
//   --later N        later rounds (default 3)
//   --only NAME      open only the window NAME (for profiling)
//   --capture DIR    keep pictures of each window as the screen shows them
//                    (DIR/main-window.png before the first press,
//                    DIR/<window>-<round>-firstpaint.png at once, and
//                    DIR/<window>-<round>.png once settled, with each page of
//                    the Help dialog), for comparing builds
// Under callgrind (--collect-atstart=no), only press-to-paint is counted, and
// each opening's counts are dumped on their own.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#define CALLGRIND_DUMP_STATS_AT(name)
#endif

struct Opening {
    const char* window;
    std::function<void()> press;
};

class OpeningTimer : public QObject {
public:
    OpeningTimer(QWidget* mainWindow, std::vector<Opening> openings, int argc, char** argv)
        : m_mainWindow(mainWindow)
    {
        const char* only = nullptr;
        for (int i = 1; i + 1 < argc; i += 2) {
            if (!std::strcmp(argv[i], "--later"))
                m_rounds = 1 + std::atoi(argv[i + 1]);
            else if (!std::strcmp(argv[i], "--only"))
                only = argv[i + 1];
            else if (!std::strcmp(argv[i], "--capture"))
                m_captureDir = QString::fromLocal8Bit(argv[i + 1]);
        }
        for (Opening& opening : openings) {
            if (!only || !std::strcmp(only, opening.window))
                m_openings.push_back(std::move(opening));
        }
        qApp->installEventFilter(this);
        // The first press waits for the main window's first paint and for
        // what the program does right after it.
        QTimer::singleShot(0, this, [this] {
            afterSettling(500, [this] {
                if (!m_captureDir.isEmpty())
                    capture(m_mainWindow, QStringLiteral("main-window"));
                press();
            });
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        QWidget* window = static_cast<QWidget*>(watched)->window();
        if (window == m_mainWindow) {
            m_mainPainted = true;
        } else if (m_waiting) {
            m_waiting = false;
            m_opened = window;
            QMetaObject::invokeMethod(
                this, [this] { painted(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void press()
    {
        if (m_next >= m_openings.size() * m_rounds) {
            QApplication::exit(0);
            return;
        }
        m_waiting = true;
        const std::size_t pressed = m_next;
        QTimer::singleShot(10000, this, [this, pressed] {
            if (m_next == pressed) {
                std::fprintf(stderr, "%s did not open\n",
                             m_openings[pressed % m_openings.size()].window);
                std::exit(1);
            }
        });
        CALLGRIND_TOGGLE_COLLECT;
        m_timer.start();
        m_openings[m_next % m_openings.size()].press(); // may return only once it is closed
    }

    void painted()
    {
        const double ms = double(m_timer.nsecsElapsed()) / 1e6;
        CALLGRIND_TOGGLE_COLLECT;
        const Opening& opening = m_openings[m_next % m_openings.size()];
        const int round = int(m_next / m_openings.size());
        CALLGRIND_DUMP_STATS_AT(opening.window);
        std::printf("%s%s %.3f\n", opening.window, round == 0 ? ", first" : "", ms);
        std::fflush(stdout);
        ++m_next;
        if (m_captureDir.isEmpty()) {
            close();
            return;
        }
        const QString name =
            QString::fromLatin1(opening.window).replace(QLatin1Char(' '), QLatin1Char('-')) +
            QLatin1Char('-') + QString::number(round);
        capture(m_opened, name + QStringLiteral("-firstpaint"));
        capturePages(name, 0);
    }

    void capture(QWidget* window, const QString& name)
    {
        window->screen()
            ->grabWindow(window->winId())
            .save(m_captureDir + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

    // Pictures of the window as the screen shows it: each page of a window
    // with pages, once it has settled.
    void capturePages(const QString& name, int page)
    {
        QTimer::singleShot(300, this, [this, name, page] {
            auto* pages = m_opened->findChild<QTabWidget*>();
            capture(m_opened,
                    pages ? name + QStringLiteral("-page") + QString::number(page) : name);
            if (pages && page + 1 < pages->count()) {
                pages->setCurrentIndex(page + 1);
                capturePages(name, page + 1);
            } else {
                close();
            }
        });
    }

    void close()
    {
        if (auto* dialog = qobject_cast<QDialog*>(m_opened))
            dialog->done(QDialog::Rejected);
        else
            m_opened->close();
        afterSettling(100, [this] { press(); });
    }

    // Runs next once the main window has painted and is active again, and a
    // further pause has passed, so that every press meets a quiet program.
    // Now and then the window manager leaves no window active when a dialog
    // goes; then the main window is activated, as the user would click it.
    void afterSettling(int pauseMs, std::function<void()> next)
    {
        QElapsedTimer waited;
        waited.start();
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [=, this] {
            if (!m_mainPainted || QApplication::activeWindow() != m_mainWindow) {
                if (waited.elapsed() > 500 && !QApplication::activeWindow())
                    m_mainWindow->activateWindow();
                if (waited.elapsed() < 5000)
                    return;
            }
            poll->stop();
            poll->deleteLater();
            QTimer::singleShot(pauseMs, this, next);
        });
        poll->start(10);
    }

    QWidget* m_mainWindow;
    std::vector<Opening> m_openings;
    std::size_t m_rounds = 4;
    std::size_t m_next = 0;
    QString m_captureDir;
    QElapsedTimer m_timer;
    bool m_waiting = false;
    bool m_mainPainted = false;
    QWidget* m_opened = nullptr;
};
