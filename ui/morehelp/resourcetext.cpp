#include "resourcetext.h"

#include "error.h"

#include <QFile>

QString resourceText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw NuvaloraError(QStringLiteral("Cannot open file %1").arg(path));
    return QString::fromUtf8(file.readAll());
}
