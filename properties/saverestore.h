#pragma once

#include "filelist/filelistmodel.h"
#include "filelist/rowkey.h"
#include "properties/savechanges.h"

#include <vector>

namespace kelvoro {

// A row a save wrote: the row as it was staged, and what its file held before.
struct SavedRow {
    RowKey key;
    RowEditState staged;
    std::optional<CalendarTime> created; // the file's, before the save
    std::optional<CalendarTime> modified;
    std::optional<CalendarTime> accessed;
    std::uint32_t attributes = 0;
    bool known = true; // the file's values could be read
};

struct RecordedSave {
    SaveResult result;
    std::vector<SavedRow> rows; // the rows written, ascending
};

// saveRows, first reading what each file holds, so that the rows written can be put back.
RecordedSave saveRecorded(FileListModel& model, platform::FileSystem& fs,
                          const std::vector<int>& rows, const RowLoopProgress& progress = {});

struct RestoreResult {
    SaveResult result;              // of the save that wrote the old values back
    std::vector<SavedRow> restored; // their files hold the old values again, the rows are staged
    std::vector<SavedRow> kept;     // still hold the saved values, as the rows show them
};

// Takes a save back: writes what each file held before it through the same save (only the
// times the save wrote, and the flags), then stages the rows again as they were staged.
// A row that could not be written back shows what its file holds and is not staged.
RestoreResult restoreSaved(FileListModel& model, platform::FileSystem& fs,
                           std::vector<SavedRow> rows, const RowLoopProgress& progress = {});

} // namespace kelvoro
