#include "datelist.h"

#include "error.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numeric>
#include <utility>

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

int DateList::compare(QByteArrayView a, QByteArrayView b)
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
    assign(std::vector<QByteArrayView>());
}

namespace {

// A text's sort key: its first eight bytes, letters folded, packed so that
// comparing keys compares those bytes; shorter texts are padded with zeros.
struct SortKey {
    std::uint64_t prefix;
    std::uint32_t length; // capped: beyond eight bytes only "longer" matters
    std::uint32_t index;
};

SortKey sortKeyOf(QByteArrayView text, std::uint32_t index)
{
    std::uint64_t prefix = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (qsizetype i = 0; i < 8; ++i)
        prefix = (prefix << 8) | (i < text.size() ? folded(bytes[i]) : 0);
    return {prefix, static_cast<std::uint32_t>(std::min<qsizetype>(text.size(), 9)), index};
}

// Least significant byte first; a byte that is the same in every key is
// skipped, so day texts (five bytes, mostly digits) take few passes.
void radixSortByPrefix(std::vector<SortKey>& keys)
{
    std::array<std::array<std::size_t, 256>, 8> counts{};
    for (const SortKey& key : keys) {
        for (int byte = 0; byte < 8; ++byte)
            ++counts[byte][(key.prefix >> (8 * byte)) & 0xFF];
    }
    std::vector<SortKey> buffer(keys.size());
    for (int byte = 0; byte < 8; ++byte) {
        auto& count = counts[byte];
        if (std::find(count.begin(), count.end(), keys.size()) != count.end())
            continue;
        std::size_t start = 0;
        for (std::size_t& bucket : count)
            start += std::exchange(bucket, start);
        for (const SortKey& key : keys)
            buffer[count[(key.prefix >> (8 * byte)) & 0xFF]++] = key;
        keys.swap(buffer);
    }
}

} // namespace

std::vector<std::uint32_t> DateList::sortedOrder(const std::vector<QByteArrayView>& texts)
{
    std::vector<std::uint32_t> order(texts.size());
    std::iota(order.begin(), order.end(), 0u);
    // Stored lists are usually in order already, which this makes cheap.
    if (std::is_sorted(texts.begin(), texts.end(),
                       [](QByteArrayView a, QByteArrayView b) { return compare(a, b) < 0; }))
        return order;

    // Sort small keys rather than the texts: a radix sort on the first eight
    // bytes, which is stable and takes linear time, then the few runs of keys
    // that tie on those bytes by the rest.
    std::vector<SortKey> keys;
    keys.reserve(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        keys.push_back(sortKeyOf(texts[i], static_cast<std::uint32_t>(i)));
    radixSortByPrefix(keys);

    auto less = [&texts](const SortKey& a, const SortKey& b) {
        // Same first eight bytes: texts that short differ only in length.
        if (a.length <= 8 && b.length <= 8)
            return a.length < b.length;
        return compare(texts[a.index], texts[b.index]) < 0;
    };
    for (auto run = keys.begin(); run != keys.end();) {
        const auto runEnd = std::find_if(
            run, keys.end(), [&run](const SortKey& key) { return key.prefix != run->prefix; });
        if (runEnd - run > 1)
            std::stable_sort(run, runEnd, less);
        run = runEnd;
    }
    for (std::size_t i = 0; i < keys.size(); ++i)
        order[i] = keys[i].index;
    return order;
}

void DateList::assign(const std::vector<QByteArrayView>& lines)
{
    if (lines.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw NuvaloraError(QStringLiteral("Unable to insert a line"));
    // One block for all the rows instead of a million small ones, filled in
    // sorted order, so that the rows are views into it that lie in list order
    // and reading them all is quick.
    const std::vector<std::uint32_t> order = sortedOrder(lines);
    qsizetype size = 0;
    for (QByteArrayView line : lines)
        size += line.size();
    QByteArray storage(size, Qt::Uninitialized);
    std::vector<QByteArray> rows;
    rows.reserve(lines.size());
    char* next = storage.data();
    for (std::uint32_t index : order) {
        const QByteArrayView line = lines[index];
        if (!line.isEmpty())
            std::memcpy(next, line.data(), static_cast<std::size_t>(line.size()));
        rows.push_back(QByteArray::fromRawData(next, line.size()));
        next += line.size();
    }
    beginResetModel();
    m_rows = std::move(rows);
    m_storage = std::move(storage);
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
        return QByteArray(row.constData(), row.size()); // a copy that outlives the list
    default:
        return {};
    }
}
