#include "errorbox.h"

#include "error.h"
#include "windowplacement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>
#include <exception>
#include <new>

QString errorBoxText(const QString& message)
{
    const QByteArray bytes = message.toLocal8Bit();
    if (!bytes.isEmpty() && static_cast<unsigned char>(bytes.back()) > '.')
        return message + QLatin1Char('.');
    return message;
}

QString currentErrorMessage()
{
    try {
        throw;
    } catch (const NuvaloraError& error) {
        return error.message();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

QString errorBoxShownText(const QString& message, qsizetype kept)
{
    // A message can quote a whole line of month.dat, which may be megabytes
    // long; the box keeps its start and its end around an ellipsis.
    const qsizetype head = kept * 7 / 9;
    const QString text = errorBoxText(message);
    if (text.size() <= kept + 1)
        return text;
    return text.left(head) + QChar(0x2026) + text.right(kept - head);
}

namespace {

// The box lays its text out for the screen as it is shown. A text too tall
// for the screen's free area keeps less of its middle, until the box fits
// and its OK button can be clicked; the box is then centred on the screen.
class ErrorBox : public QMessageBox {
public:
    ErrorBox(const QString& message, QScreen* screen)
        : QMessageBox(QMessageBox::Critical, QCoreApplication::applicationName(), QString(),
                      QMessageBox::Ok),
          m_message(message), m_screen(screen)
    {
        // Messages quote whatever stood in month.dat; shown, never formatted.
        setTextFormat(Qt::PlainText);
        setText(errorBoxShownText(message));
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        if (!m_screen)
            return;
        const int room = roomOnScreen(this, m_screen).height();
        for (qsizetype kept = kErrorBoxKept / 2; height() > room && kept > 1; kept /= 2)
            setText(errorBoxShownText(m_message, kept));
        centreWindow(this, m_screen->availableGeometry(), m_screen);
    }

private:
    QString m_message;
    QScreen* m_screen;
};

} // namespace

void showErrorBox(const QString& message)
{
    QWidget* const active = QApplication::activeWindow();
    // On the monitor of the window that was active.
    ErrorBox box(message, active ? active->screen() : QGuiApplication::primaryScreen());
    box.setObjectName(QStringLiteral("errorBox"));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    if (active)
        active->activateWindow();
}
