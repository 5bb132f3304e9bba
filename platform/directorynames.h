#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kelvoro::platform {

// Every name in the directory, "." and ".." left out, in one pass; false when it cannot be
// read.
bool readDirectoryNames(const std::string& directory, std::vector<std::string>& names);

// The longest name, in bytes, the file system holding the directory takes.
std::size_t nameLengthLimit(const std::string& directory);

} // namespace kelvoro::platform
