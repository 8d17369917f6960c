#include "textboundaries.h"

#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <algorithm>

namespace {

bool isItemEdge(const QTextBoundaryFinder& finder)
{
    return finder.boundaryReasons() &
           (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem);
}

} // namespace

QString TextBoundaries::textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                                         int* end) const
{
    return answer(offset, type, -1, start, end);
}

QString TextBoundaries::textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                                     int* end) const
{
    return answer(offset, type, 0, start, end);
}

QString TextBoundaries::textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                                        int* end) const
{
    return answer(offset, type, 1, start, end);
}

// The item at the offset, or the one before it (step -1) or after it (step 1).
QString TextBoundaries::answer(int offset, QAccessible::TextBoundaryType type, int step, int* start,
                               int* end) const
{
    *start = *end = -1;
    const int length = characterCount();
    if (offset == -2)
        offset = cursorPosition();
    else if (offset == -1)
        offset = length;
    if (offset < 0 || offset > length)
        return {};
    const auto valid = [length](TextItem item) {
        return 0 <= item.start && item.start <= item.end && item.end <= length;
    };
    TextItem item = itemAt(offset, type);
    if (step != 0 && !valid(item))
        item = {offset, offset}; // no item there: the neighbours are those of the place
    if (step < 0) {
        item = item.start > 0 ? itemAt(item.start - 1, type) : TextItem{-1, -1};
    } else if (step > 0 && item.end < length) {
        // A line as laid out ends before the line break that starts the next.
        const int from = item.end;
        item = itemAt(from, type);
        if (item.start < from)
            item = itemAt(from + 1, type);
    } else if (step > 0) {
        item = {-1, -1};
    }
    if (!valid(item))
        return {};
    *start = item.start;
    *end = item.end;
    return text(item.start, item.end);
}

TextItem plainTextItemAt(const QString& text, int position, QAccessible::TextBoundaryType type)
{
    const int length = int(text.size());
    QTextBoundaryFinder::BoundaryType finderType = QTextBoundaryFinder::Grapheme;
    switch (type) {
    case QAccessible::NoBoundary:
        return {0, length};
    case QAccessible::LineBoundary:
    case QAccessible::ParagraphBoundary: {
        const int start =
            position > 0 ? int(text.lastIndexOf(QLatin1Char('\n'), position - 1)) + 1 : 0;
        const int newline = int(text.indexOf(QLatin1Char('\n'), position));
        return {start, newline < 0 ? length : newline + 1};
    }
    case QAccessible::CharBoundary:
        if (position >= length)
            return {length, length};
        break;
    case QAccessible::WordBoundary:
        finderType = QTextBoundaryFinder::Word;
        break;
    case QAccessible::SentenceBoundary:
        finderType = QTextBoundaryFinder::Sentence;
        break;
    }
    if (length == 0)
        return {0, 0};
    // At the end, the item is the one that ends there. Every step below moves
    // the finder on, and it gives -1 where it can go no further.
    const int inside = std::clamp(position, 0, length - 1);
    QTextBoundaryFinder finder(finderType, text);
    finder.setPosition(inside);
    int start = inside;
    while (start > 0 && !isItemEdge(finder))
        start = finder.toPreviousBoundary();
    start = std::max(start, 0);
    finder.setPosition(start);
    int end = finder.toNextBoundary();
    while (end > 0 && end < length && !isItemEdge(finder))
        end = finder.toNextBoundary();
    return {start, end > start ? end : length};
}

TextItem documentItemAt(QTextCursor cursor, int position, QAccessible::TextBoundaryType type)
{
    if (type != QAccessible::LineBoundary && type != QAccessible::ParagraphBoundary) {
        cursor.movePosition(QTextCursor::Start);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        return plainTextItemAt(cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n'),
                               position, type);
    }
    cursor.setPosition(position);
    const auto [start, end] = QAccessible::qAccessibleTextBoundaryHelper(cursor, type);
    return {start, end};
}
