#include "properties/saverestore.h"

#include "platform/filesystem.h"

#include <algorithm>

namespace kelvoro {

RecordedSave saveRecorded(FileListModel& model, platform::FileSystem& fs,
                          const std::vector<int>& rows, const RowLoopProgress& progress) {
    // The rows' keys and edits before the save unstages them; each file's old values come
    // from its write, which reads them anyway.
    std::vector<SavedRow> staged;
    staged.reserve(rows.size());
    for (const int r : rows)
        staged.push_back({rowKey(model, r), model.editState(r), {}, {}, {}, 0, false});
    RecordedSave saved;
    saved.result = saveRows(model, fs, rows, progress);
    saved.rows.reserve(saved.result.written.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < saved.result.written.size(); ++i) {
        while (staged[next].key.row != saved.result.written[i])
            ++next;
        SavedRow& row = saved.rows.emplace_back(std::move(staged[next]));
        const platform::FileStatus& b = saved.result.before[i];
        row.created = b.created;
        row.modified = b.modified;
        row.accessed = b.accessed;
        row.attributes = b.attributes;
        row.known = b.ok;
    }
    return saved;
}

namespace {

// The row staged with the file's old values, so the save writes exactly those back.
RowEditState oldValues(const SavedRow& s, std::uint32_t rowAttributes) {
    using namespace platform;
    RowEditState old = s.staged;
    old.created = s.created;
    old.modified = s.modified;
    old.accessed = s.accessed;
    old.attributes = (rowAttributes & ~attr::Managed) | (s.attributes & attr::Managed);
    old.staged = true;
    return old;
}

// The row as the saved file is: the values it was staged with, written.
RowEditState savedValues(const SavedRow& s) {
    RowEditState saved = s.staged;
    saved.staged = saved.createdEdited = saved.modifiedEdited = saved.accessedEdited = false;
    return saved;
}

} // namespace

RestoreResult restoreSaved(FileListModel& model, platform::FileSystem& fs,
                           std::vector<SavedRow> rows, const RowLoopProgress& progress) {
    RestoreResult restore;
    RowFinder finder(model);
    std::vector<std::pair<int, SavedRow>> found;
    found.reserve(rows.size());
    for (SavedRow& s : rows) {
        if (const int r = finder.find(s.key); r >= 0 && s.known) {
            s.key.row = r;
            found.emplace_back(r, std::move(s));
        } else {
            restore.kept.push_back(std::move(s));
        }
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<int> order;
    order.reserve(found.size());
    {
        const FileListModel::ChangeBatch batch(model);
        for (const auto& [r, s] : found) {
            model.setEditState(r, oldValues(s, model.row(r).attributes));
            order.push_back(r);
        }
    }
    restore.result = saveRows(model, fs, order, progress);
    const FileListModel::ChangeBatch batch(model);
    std::size_t next = 0;
    for (auto& [r, s] : found) {
        const bool written =
            next < restore.result.written.size() && restore.result.written[next] == r;
        next += written ? 1 : 0;
        model.setEditState(r, written ? s.staged : savedValues(s));
        (written ? restore.restored : restore.kept).push_back(std::move(s));
    }
    return restore;
}

} // namespace kelvoro
