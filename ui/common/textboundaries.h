#pragma once

// What a screen reader asks of a text most often: the character, word,
// sentence, line or paragraph (or the whole text) before, at or after an
// offset, answered at once for any offset. -2 stands for the caret and -1
// for the end, as screen readers ask; the item at the end is the last one
// (the word the caret stands after); an offset outside the text has no item,
// and neither has the place before the first item or after the last.
//
// Qt 6.4's own answers for line boxes and spin boxes never return for a word
// or a sentence at the end of a text, and those for multi-line boxes take -1
// and offsets past the end for the caret's place.

#include <QAccessible>

class QTextCursor;

struct TextItem {
    int start;
    int end;
};

class TextBoundaries : public QAccessibleTextInterface {
public:
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                             int* end) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                         int* end) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                            int* end) const override;

protected:
    // The item of this kind that holds the position, from 0 to the length
    // (at the length, the last item, or an empty one); one that is not
    // within the text counts as none. The items of a kind follow each other
    // (lines as laid out may leave out the line break between them).
    virtual TextItem itemAt(int position, QAccessible::TextBoundaryType type) const = 0;

private:
    QString answer(int offset, QAccessible::TextBoundaryType type, int step, int* start,
                   int* end) const;
};

// The items of a single-line text as Qt finds them for line boxes: a run of
// blanks between two words is an item of its own.
TextItem plainTextItemAt(const QString& text, int position, QAccessible::TextBoundaryType type);

// The items of a text document: lines and paragraphs as Qt finds them for its
// text boxes (lines as they are laid out on the screen), the other items as
// in a single-line text.
TextItem documentItemAt(QTextCursor cursor, int position, QAccessible::TextBoundaryType type);
