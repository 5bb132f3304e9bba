#pragma once

#include "common/rowloop.h"
#include "rename/newname.h"

#include <vector>

namespace kelvoro {

class FileListModel;
namespace platform {
class FileSystem;
}

enum class StepOutcome {
    NotApplied, // the step does not concern this row
    Moved,
    Failed, // the move failed or the new name was not usable; nothing changed
};

struct RowRenameResult {
    int row = -1;
    StepOutcome extension = StepOutcome::NotApplied;
    StepOutcome name = StepOutcome::NotApplied;
};

struct RenameResult {
    std::vector<RowRenameResult> rows; // one per row processed, in the order processed
    bool cancelled = false;
};

// Renames the files of the given rows (ascending) on disk: per row the extension step, then
// the name step, each a move of its own that never replaces a file. A row's name changes
// only after its move succeeded; failures are silent and the next step and row go on. Rows
// already renamed keep their new names when the progress callback stops the run.
RenameResult renameRows(FileListModel& model, platform::FileSystem& fileSystem,
                        const RenameOptions& options, const std::vector<int>& rows,
                        const RowLoopProgress& progress = {});

} // namespace kelvoro
