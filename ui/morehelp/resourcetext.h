#pragma once

#include <QString>

// The text of a file compiled into the program, such as ":/texts/usage.txt".
// Raises NuvaloraError when it cannot be read.
QString resourceText(const QString& path);
