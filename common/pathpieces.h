#pragma once

#include <string>
#include <string_view>

namespace kelvoro {

// Pieces of a native path, found by searching from its end. The separator and "." are
// ASCII, which never occurs inside a multibyte UTF-8 character, so a byte search is a
// search by whole characters; names in other encodings (Shift_JIS) cannot hide '/' or '.'
// in a trail byte either.
inline constexpr char kPathSeparator = '/';

// Everything before the last separator; empty when there is none.
std::string_view directoryOf(std::string_view path);
// Everything after the last separator; the whole path when there is none.
std::string_view nameOf(std::string_view path);
// The name up to its last "."; the whole name when it has none.
std::string_view titleOf(std::string_view name);
// The text after the last "." of the name; empty when it has none.
std::string_view extensionOf(std::string_view name);
// The row rule: directory, one separator, name.
std::string joinPath(std::string_view directory, std::string_view name);
// False for a path that no system call can name as it stands: empty, or holding a NUL
// byte that would end it early and so name a different file.
bool isUsablePath(std::string_view path);

} // namespace kelvoro
