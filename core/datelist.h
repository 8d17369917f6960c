#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <vector>

// The period date list: the raw 8-bit row texts (normally day texts), kept in
// ascending order by Add. It is the model the main window's list shows, so the
// rows exist here and nowhere else. The selection belongs to the view's
// selection model, which follows rows across inserts and removals.
class DateList : public QAbstractListModel {
    Q_OBJECT
public:
    // The row's raw bytes, as a QByteArray.
    static constexpr int RawTextRole = Qt::UserRole + 1;

    using QAbstractListModel::QAbstractListModel;

    int count() const { return static_cast<int>(m_rows.size()); }
    // The row's bytes; valid until the list is next assigned or cleared.
    const QByteArray& text(int row) const { return m_rows.at(static_cast<std::size_t>(row)); }

    // Inserts at the sorted place, after any rows that compare equal; returns
    // the index. Throws "Unable to insert a line" when the list is full.
    int add(const QByteArray& text);
    // Puts text in place of row i without sorting.
    void replace(int row, const QByteArray& text);
    void remove(int row);
    void clear();
    // Replaces the whole list with copies of these lines, sorted as if they
    // were added in turn.
    void assign(const std::vector<QByteArrayView>& lines);

    // The order of the list: byte by byte, letters without regard to case,
    // a text before any longer text that begins with it.
    static int compare(QByteArrayView a, QByteArrayView b);
    // The order that sorts these texts, texts that compare equal staying in
    // the order they came in.
    static std::vector<std::uint32_t> sortedOrder(const std::vector<QByteArrayView>& texts);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<QByteArray> m_rows;
    QByteArray m_storage; // the bytes of assigned rows, kept until the next assign
};
