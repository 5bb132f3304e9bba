#pragma once

#include <QString>

namespace kelvoro {

// Length of a text as the rename dialog limits it: 1 for ASCII and half-width katakana,
// 2 for every other character (a surrogate pair is one character).
int renameTextLength(const QString& text);

// The longest prefix of text whose renameTextLength is at most limit.
QString truncateToRenameLength(const QString& text, int limit);

} // namespace kelvoro
