#pragma once

#include "app/cli/console.h"
#include "platform/filestatus.h"
#include "rename/newname.h"

#include <QByteArray>

#include <vector>

namespace kelvoro {
namespace platform {
class FileSystem;
}

namespace cli {

struct RenameTarget {
    QByteArray path; // as given, for the messages
    platform::FileStatus status;
};

// Renames the files in the order given (which numbers them) through the window's moves:
// never replacing a file, chains and swaps in a safe order. With `dryRun`, prints
// "old -> new" for each file that would change and moves nothing. Each file that keeps its
// name against the plan is named on standard error with the reason; returns false then.
bool renameFiles(const std::vector<RenameTarget>& targets, const RenameOptions& options,
                 bool dryRun, platform::FileSystem& fs, const Console& console);

} // namespace cli
} // namespace kelvoro
