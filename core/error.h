#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one error type of the program. Every failure carries a message for the
// user and travels up to the application's error box unless a handler catches it.
class NuvaloraError : public std::exception {
public:
    explicit NuvaloraError(QString message)
        : m_message(std::move(message)), m_what(m_message.toUtf8())
    {
    }

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QByteArray m_what;
};
