#pragma once

#include <optional>

namespace kelvoro::platform {

struct LockKeys {
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;
};

// The keyboard's lock states, read from the window system; nothing where it cannot tell.
std::optional<LockKeys> readLockKeys();

} // namespace kelvoro::platform
