#include "atspitextranges.h"

#include <QDBusMetaType>
#include <QtGui/private/qspi_struct_marshallers_p.h>

// The bridge's library keeps its own registration of these types to itself;
// this program's is merged with it by the types' names.
QT_IMPL_METATYPE_EXTERN(QSpiTextRange)
QT_IMPL_METATYPE_EXTERN(QSpiTextRangeList)

QDBusArgument& operator<<(QDBusArgument& argument, const QSpiTextRange& range)
{
    argument.beginStructure();
    argument << range.startOffset << range.endOffset << range.contents << QDBusVariant(range.v);
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, QSpiTextRange& range)
{
    QDBusVariant value;
    argument.beginStructure();
    argument >> range.startOffset >> range.endOffset >> range.contents >> value;
    argument.endStructure();
    range.v = value.variant();
    return argument;
}

void letBridgeSendTextRanges()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<QSpiTextRange>();
        qDBusRegisterMetaType<QSpiTextRangeList>();
        return true;
    }();
    Q_UNUSED(registered);
}
