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

SaveResult saveInOrder(FileListModel& model, platform::FileSystem& fs, const std::vector<int>& rows,
                       const RowLoopProgress& progress) {
    const int total = static_cast<int>(rows.size());
    SaveResult result;
    result.written.reserve(rows.size());
    result.before.reserve(rows.size());
    for (const int r : rows) {
        const FileRow& row = model.row(r);
        if (progress && !progress(static_cast<int>(result.written.size()), total, r)) {
            result.outcome = SaveResult::Outcome::Cancelled;
            result.row = r;
            break;
        }
        try {
            result.before.push_back(fs.writeStatus(row.path().toStdString(), desiredStatus(row)));
        } catch (const platform::FileError& error) {
            result.outcome = SaveResult::Outcome::Failed;
            result.row = r;
            result.error = error;
            break;
        }
        result.written.push_back(r);
    }
    // A failed or cancelled small save leaves every row staged, as it always has.
    if (result.outcome != SaveResult::Outcome::Saved)
        return result;
    const FileListModel::ChangeBatch batch(model);
    for (const int r : rows)
        model.unstageRow(r);
    return result;
}

struct SaveJob {
    int row;
    std::string path;
    platform::FileStatus desired;
    platform::FileStatus before;
    std::optional<platform::FileError> error;
};

// The jobs only read what was copied out of the model; the model is touched again on this
// thread once every job has ended.
SaveResult saveInParallel(FileListModel& model, platform::FileSystem& fs,
                          const std::vector<int>& rows, const RowLoopProgress& progress) {
    std::vector<SaveJob> jobs;
    jobs.reserve(rows.size());
    for (const int r : rows)
        jobs.push_back(
            {r, model.row(r).path().toStdString(), desiredStatus(model.row(r)), {}, std::nullopt});
    const int total = static_cast<int>(jobs.size());
    const OrderedWorkResult work = runOrdered(
        jobs.size(), fs.parallelCalls(jobs.front().path),
        [&](std::size_t i) {
            try {
                jobs[i].before = fs.writeStatus(jobs[i].path, jobs[i].desired);
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
    SaveResult result;
    {
        // The list tells the truth about the disk: what was written is no longer staged.
        const FileListModel::ChangeBatch batch(model);
        for (std::size_t i = 0; i < jobs.size(); ++i)
            if (work.done[i]) {
                model.unstageRow(jobs[i].row);
                result.written.push_back(jobs[i].row);
                result.before.push_back(std::move(jobs[i].before));
            }
    }
    if (work.firstFailure) {
        SaveJob& failed = jobs[*work.firstFailure];
        if (!failed.error)
            failed.error.emplace(platform::FileErrorCause::Generic, 0, failed.path);
        result.outcome = SaveResult::Outcome::Failed;
        result.row = failed.row;
        result.error = failed.error;
        return result;
    }
    for (std::size_t i = 0; i < jobs.size(); ++i)
        if (!work.done[i]) {
            result.outcome = SaveResult::Outcome::Cancelled;
            result.row = jobs[i].row;
            return result;
        }
    return result;
}

} // namespace

SaveResult saveStagedRows(FileListModel& model, platform::FileSystem& fs,
                          const RowLoopProgress& progress) {
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(model.stagedCount()));
    for (int r = 0; r < model.rowCount() && rows.size() < std::size_t(model.stagedCount()); ++r)
        if (model.row(r).staged)
            rows.push_back(r);
    return saveRows(model, fs, rows, progress);
}

SaveResult saveRows(FileListModel& model, platform::FileSystem& fs, const std::vector<int>& rows,
                    const RowLoopProgress& progress) {
    if (rows.empty())
        return {};
    if (rows.size() < std::size_t(kParallelSaveRows))
        return saveInOrder(model, fs, rows, progress);
    return saveInParallel(model, fs, rows, progress);
}

} // namespace kelvoro
