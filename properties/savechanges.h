#pragma once

#include "common/rowloop.h"
#include "platform/filestatus.h"

#include <optional>
#include <vector>

namespace kelvoro {

class FileListModel;
namespace platform {
class FileSystem;
}

struct SaveResult {
    enum class Outcome { Saved, Failed, Cancelled };
    Outcome outcome = Outcome::Saved;
    int row = -1; // where a failed or cancelled save stopped
    std::optional<platform::FileError> error;
    std::vector<int> written; // the rows written, ascending
    // What the file of each row written held before, in the same order.
    std::vector<platform::FileStatus> before;
};

// Below this many staged rows a save writes one row after the other.
inline constexpr int kParallelSaveRows = 256;

// Writes the rows with staged edits, in row order, each through FileSystem::writeStatus:
// the edited times and the four flags, to the file each row listed (a file put in its place
// is a failure, FileErrorCause::Replaced). Stops at the first failure; the rows written before it
// stay written and every staged mark stays. After a complete save no row is staged.
//
// From kParallelSaveRows staged rows on, the rows are written on FileSystem::parallelCalls
// threads, started in row order: no row after a failure is started, the failure reported is
// the first failing row in row order, and every row written is unstaged while every row not
// written stays staged, whatever ended the save.
SaveResult saveStagedRows(FileListModel& model, platform::FileSystem& fs,
                          const RowLoopProgress& progress = {});
// The same save of the given staged rows (ascending) only; other staged rows stay staged.
SaveResult saveRows(FileListModel& model, platform::FileSystem& fs, const std::vector<int>& rows,
                    const RowLoopProgress& progress = {});

} // namespace kelvoro
