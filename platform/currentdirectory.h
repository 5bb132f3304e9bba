#pragma once

#include <optional>
#include <string>

namespace kelvoro::platform {

// The absolute path of the current directory, however long; nothing when the system cannot
// tell it (the directory was removed, or a folder above it may not be read).
std::optional<std::string> currentDirectory();

} // namespace kelvoro::platform
