#pragma once

#include "platform/filestatus.h"

#include <functional>
#include <optional>

namespace kelvoro {

class FileListModel;
namespace platform {
class FileSystem;
}

// Called before each row with staged edits is written: the number written so far, the number
// to write and that row. Returning false stops the save before that row.
using SaveProgress = std::function<bool(int done, int total, int row)>;

struct SaveResult {
    enum class Outcome { Saved, Failed, Cancelled };
    Outcome outcome = Outcome::Saved;
    int row = -1; // where a failed or cancelled save stopped
    std::optional<platform::FileError> error;
};

// Writes the rows with staged edits, in row order, each through FileSystem::writeStatus:
// the edited times and the four flags. Stops at the first failure; the rows written before it
// stay written and every staged mark stays. After a complete save no row is staged.
SaveResult saveStagedRows(FileListModel& model, platform::FileSystem& fs,
                          const SaveProgress& progress = {});

} // namespace kelvoro
