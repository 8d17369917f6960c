#include "resultsprinter.h"

#include "error.h"

#include <QPrinter>

ResultsPrinter::ResultsPrinter() = default;
ResultsPrinter::~ResultsPrinter() = default;

void ResultsPrinter::print(QWidget*, const QString&, const QFont&)
{
    throw NuvaloraError(QStringLiteral("There is no default printer currently selected"));
}
