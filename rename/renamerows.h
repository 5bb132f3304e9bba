#pragma once

#include "common/rowloop.h"
#include "rename/newname.h"
#include "rename/renameplan.h"

#include <QString>

#include <vector>

namespace kelvoro {

class FileListModel;
namespace platform {
class FileSystem;
}

enum class StepOutcome {
    NotApplied, // the step does not concern this row
    Moved,
    Failed, // the move failed, was not attempted, or the new name was not usable
};

// Why a row did not get the name it was to get.
enum class RenameFailure {
    None,
    Exists,       // the name is taken (found before the move, or at it)
    Duplicate,    // another row was to get the same name
    Unusable,     // the name cannot be a file's name here
    NotFound,     // the file is gone
    Refused,      // the file system refused the move (permissions, read-only, full)
    LeftTemporary // a swap could not finish: the file kept its temporary name
};

struct RowRenameResult {
    int row = -1;
    StepOutcome extension = StepOutcome::NotApplied;
    StepOutcome name = StepOutcome::NotApplied;
    // Set when the row was to change and kept the name it had.
    RenameFailure failure = RenameFailure::None;
    QByteArray oldName;
    QByteArray plannedName; // what the row was to be called
};

struct RenameResult {
    std::vector<RowRenameResult> rows; // one per row processed, in the order processed
    bool cancelled = false;
};

// Renames the files of the given rows (in list order, which numbers them) on disk: per row
// the extension step, then the name step, each a move of its own that never replaces a file.
// No move to a name an earlier row gets, or that cannot be a name, is attempted; a name
// taken on disk makes its move fail. A row whose new
// name is another row's current name waits for that row; cycles (swaps) go through a temporary
// name. A row's name changes only after its move succeeded; the next step and row go on after a
// failure. Rows already renamed keep their new names when the progress callback stops the run,
// which it can only between rows and never inside a cycle.
RenameResult renameRows(FileListModel& model, platform::FileSystem& fileSystem,
                        const RenameOptions& options, const std::vector<int>& rows,
                        const RowLoopProgress& progress = {});

// Gives each row its name (rows[i] takes names[i]) on disk, moving only files that are still
// the ones listed and never replacing a file: a row whose new name is another row's current
// one waits for it, cycles go through a temporary name, and a name taken meanwhile fails that
// row, which keeps its name. Taking a rename back is such a rename.
RenameResult renameRowsTo(FileListModel& model, platform::FileSystem& fileSystem,
                          const std::vector<int>& rows, const std::vector<QByteArray>& names,
                          const RowLoopProgress& progress = {});

// The failure a conflict found before the move becomes.
RenameFailure failureOf(NameConflict conflict);

// The reason of a failure, as the end message and the preview say it.
QString renameFailureText(RenameFailure failure);

} // namespace kelvoro
