#include "properties/savechanges.h"

#include "common/orderedwork.h"
#include "filelist/filelistmodel.h"
#include "platform/filesystem.h"

#include <string>
#include <vector>

namespace kelvoro {

namespace {

platform::FileStatus desiredStatus(const FileRow& row) {
    platform::FileStatus desired;
    if (row.createdEdited)
        desired.created = row.created;
    if (row.modifiedEdited)
        desired.modified = row.modified;
    if (row.accessedEdited)
        desired.accessed = row.accessed;
    desired.attributes = row.attributes;
    desired.identity = row.identity;
    return desired;
}

SaveResult saveInOrder(FileListModel& model, platform::FileSystem& fs,
                       const RowLoopProgress& progress) {
    const int total = model.stagedCount();
    int done = 0;
    for (int r = 0; r < model.rowCount() && done < total; ++r) {
        const FileRow& row = model.row(r);
        if (!row.staged)
            continue;
        if (progress && !progress(done, total, r))
            return SaveResult{SaveResult::Outcome::Cancelled, r, std::nullopt};
        try {
            fs.writeStatus(row.path().toStdString(), desiredStatus(row));
        } catch (const platform::FileError& error) {
            return SaveResult{SaveResult::Outcome::Failed, r, error};
        }
        ++done;
    }
    model.clearStaged();
    return {};
}

struct SaveJob {
    int row;
    std::string path;
    platform::FileStatus desired;
    std::optional<platform::FileError> error;
};

// The jobs only read what was copied out of the model; the model is touched again on this
// thread once every job has ended.
SaveResult saveInParallel(FileListModel& model, platform::FileSystem& fs,
                          const RowLoopProgress& progress) {
    std::vector<SaveJob> jobs;
    jobs.reserve(static_cast<std::size_t>(model.stagedCount()));
    for (int r = 0; r < model.rowCount(); ++r)
        if (const FileRow& row = model.row(r); row.staged)
            jobs.push_back({r, row.path().toStdString(), desiredStatus(row), std::nullopt});
    const int total = static_cast<int>(jobs.size());
    const OrderedWorkResult work = runOrdered(
        jobs.size(), fs.parallelCalls(jobs.front().path),
        [&](std::size_t i) {
            try {
                fs.writeStatus(jobs[i].path, jobs[i].desired);
                return true;
            } catch (const platform::FileError& error) {
                jobs[i].error = error;
                return false;
            }
        },
        [&](std::size_t done) {
            const int at = jobs[std::min(done, jobs.size() - 1)].row;
            return !progress || progress(static_cast<int>(done), total, at);
        });
    {
        // The list tells the truth about the disk: what was written is no longer staged.
        const FileListModel::ChangeBatch batch(model);
        for (std::size_t i = 0; i < jobs.size(); ++i)
            if (work.done[i])
                model.unstageRow(jobs[i].row);
    }
    if (work.firstFailure) {
        SaveJob& failed = jobs[*work.firstFailure];
        if (!failed.error)
            failed.error.emplace(platform::FileErrorCause::Generic, 0, failed.path);
        return SaveResult{SaveResult::Outcome::Failed, failed.row, failed.error};
    }
    for (std::size_t i = 0; i < jobs.size(); ++i)
        if (!work.done[i])
            return SaveResult{SaveResult::Outcome::Cancelled, jobs[i].row, std::nullopt};
    return {};
}

} // namespace

SaveResult saveStagedRows(FileListModel& model, platform::FileSystem& fs,
                          const RowLoopProgress& progress) {
    if (model.stagedCount() < kParallelSaveRows)
        return saveInOrder(model, fs, progress);
    return saveInParallel(model, fs, progress);
}

} // namespace kelvoro
