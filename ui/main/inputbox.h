#pragma once

#include <QString>
#include <optional>

class QWidget;

// A small modal box asking for one line of text, laid out in dialog units of
// the program's font. Yields the text on OK and nothing on Cancel.
std::optional<QString> inputQuery(QWidget* parent, const QString& caption, const QString& prompt,
                                  const QString& initialText);
