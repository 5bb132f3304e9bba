#pragma once

#include "app/cli/console.h"

#include <QByteArray>
#include <QList>

namespace kelvoro {
namespace platform {
class FileSystem;
}

namespace cli {

// Exit statuses.
inline constexpr int kAllDone = 0;
inline constexpr int kSomeFailed = 1; // the other files were still done
inline constexpr int kUsageError = 2;

// The whole command-line tool: the arguments after the program's name, byte for byte.
int run(const QList<QByteArray>& arguments, platform::FileSystem& fs, const Console& console);

} // namespace cli
} // namespace kelvoro
