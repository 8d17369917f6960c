#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one error type of the program. Every failure carries a message for the
// user and travels up to the application's error box unless a handler catches it.
class NuvaloraError : public std::exception {
public:
    explicit NuvaloraError(QString message);

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_what.constData(); }
    // A code address in the function that raised the error, for the report
    // of an error that escapes all event handling.
    const void* raisedAt() const noexcept { return m_raisedAt; }

private:
    QString m_message;
    QByteArray m_what;
    const void* m_raisedAt;
};
