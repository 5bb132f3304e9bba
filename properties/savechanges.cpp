#include "properties/savechanges.h"

#include "filelist/filelistmodel.h"
#include "platform/filesystem.h"

namespace kelvoro {

SaveResult saveStagedRows(FileListModel& model, platform::FileSystem& fs,
                          const RowLoopProgress& progress) {
    const int total = model.stagedCount();
    int done = 0;
    for (int r = 0; r < model.rowCount() && done < total; ++r) {
        const FileRow& row = model.row(r);
        if (!row.staged)
            continue;
        if (progress && !progress(done, total, r))
            return SaveResult{SaveResult::Outcome::Cancelled, r, std::nullopt};
        platform::FileStatus desired;
        if (row.createdEdited)
            desired.created = row.created;
        if (row.modifiedEdited)
            desired.modified = row.modified;
        if (row.accessedEdited)
            desired.accessed = row.accessed;
        desired.attributes = row.attributes;
        desired.identity = row.identity;
        try {
            fs.writeStatus(row.path().toStdString(), desired);
        } catch (const platform::FileError& error) {
            return SaveResult{SaveResult::Outcome::Failed, r, error};
        }
        ++done;
    }
    model.clearStaged();
    return {};
}

} // namespace kelvoro
