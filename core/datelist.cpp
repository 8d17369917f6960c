#include "datelist.h"

#include "error.h"

#include <algorithm>
#include <limits>

namespace {

inline unsigned char folded(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

bool lessThan(const QByteArray& a, const QByteArray& b)
{
    return DateList::compare(a, b) < 0;
}

} // namespace

int DateList::compare(const QByteArray& a, const QByteArray& b)
{
    const auto* pa = reinterpret_cast<const unsigned char*>(a.constData());
    const auto* pb = reinterpret_cast<const unsigned char*>(b.constData());
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char ca = folded(pa[i]);
        const unsigned char cb = folded(pb[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int DateList::add(const QByteArray& text)
{
    if (m_rows.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw NuvaloraError(QStringLiteral("Unable to insert a line"));
    const auto place = std::upper_bound(m_rows.begin(), m_rows.end(), text, lessThan);
    const int row = static_cast<int>(place - m_rows.begin());
    beginInsertRows(QModelIndex(), row, row);
    m_rows.insert(place, text);
    endInsertRows();
    return row;
}

void DateList::replace(int row, const QByteArray& text)
{
    m_rows.at(static_cast<std::size_t>(row)) = text;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed);
}

void DateList::remove(int row)
{
    if (row < 0 || row >= count())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void DateList::clear()
{
    assign({});
}

void DateList::assign(std::vector<QByteArray> lines)
{
    if (lines.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw NuvaloraError(QStringLiteral("Unable to insert a line"));
    // A stable sort puts equal rows in file order, exactly where adding the
    // lines one after another would put them; stored lists are usually in
    // order already, which the check makes cheap.
    if (!std::is_sorted(lines.begin(), lines.end(), lessThan))
        std::stable_sort(lines.begin(), lines.end(), lessThan);
    beginResetModel();
    m_rows = std::move(lines);
    endResetModel();
}

int DateList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant DateList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const QByteArray& row = text(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromLocal8Bit(row);
    case RawTextRole:
        return row;
    default:
        return {};
    }
}
