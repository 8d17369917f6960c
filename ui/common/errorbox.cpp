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

QString errorBoxShownText(const QString& message)
{
    // A message can quote a whole line of month.dat, which may be megabytes
    // long; the box keeps its start and its end around an ellipsis.
    constexpr qsizetype kHead = 700;
    constexpr qsizetype kTail = 200;
    const QString text = errorBoxText(message);
    if (text.size() <= kHead + kTail + 1)
        return text;
    return text.left(kHead) + QChar(0x2026) + text.right(kTail);
}

void showErrorBox(const QString& message)
{
    QWidget* const active = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(),
                    errorBoxShownText(message), QMessageBox::Ok);
    box.setObjectName(QStringLiteral("errorBox"));
    // Messages quote whatever stood in month.dat; it is shown, never formatted.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    // Centred on the monitor of the window that was active.
    QScreen* screen = active ? active->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        box.adjustSize();
        centreWindow(&box, screen->availableGeometry(), screen);
    }
    box.exec();
    if (active)
        active->activateWindow();
}
