#include "applicationerror.h"

#include "error.h"
#include "errorbox.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <cstdlib>
#include <cxxabi.h>
#include <dlfcn.h>
#include <typeinfo>

namespace {

// The kind of the error being handled: its type's name as written in code.
QString currentErrorKind()
{
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (!type)
        return QStringLiteral("unknown");
    int status = 0;
    char* readable = abi::__cxa_demangle(type->name(), nullptr, nullptr, &status);
    const QString kind = QString::fromLatin1(status == 0 && readable ? readable : type->name());
    std::free(readable);
    return kind;
}

// Where the error being handled was raised, where that is known.
const void* currentErrorAddress()
{
    try {
        throw;
    } catch (const NuvaloraError& error) {
        return error.raisedAt();
    } catch (...) {
        return nullptr;
    }
}

} // namespace

QString applicationErrorText()
{
    const QString message = currentErrorMessage();
    const void* address = currentErrorAddress();
    QString module = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    quintptr offset = 0;
    Dl_info info{};
    if (address && dladdr(address, &info) && info.dli_fname) {
        module = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).fileName();
        offset = quintptr(address) - quintptr(info.dli_fbase);
    } else if (address) {
        offset = quintptr(address) - 0x1000;
    }
    const bool stop = !message.isEmpty() && !message.endsWith(QLatin1Char('.'));
    return QStringLiteral("Exception %1 in module %2 at %3.\n%4%5")
        .arg(currentErrorKind(), module,
             QStringLiteral("%1")
                 .arg(offset, int(2 * sizeof(void*)), 16, QLatin1Char('0'))
                 .toUpper(),
             message, stop ? QStringLiteral(".") : QString());
}

int runApplication(const std::function<int()>& run)
{
    try {
        return run();
    } catch (...) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Application Error"),
                        applicationErrorText(), QMessageBox::Ok);
        box.setObjectName(QStringLiteral("applicationErrorBox"));
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return 1;
    }
}
