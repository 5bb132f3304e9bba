#include "rename/renamerows.h"

#include "common/pathpieces.h"
#include "filelist/filelistmodel.h"
#include "platform/filesystem.h"

namespace kelvoro {

namespace {

std::string_view view(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Moves the row's file to newName and, on success, gives the row that name.
StepOutcome moveRow(FileListModel& model, platform::FileSystem& fileSystem, int row,
                    const QByteArray& newName) {
    if (!isUsableName(newName))
        return StepOutcome::Failed;
    const FileRow& current = model.row(row);
    const std::string from = joinPath(view(current.directory), view(current.name));
    const std::string to = joinPath(view(current.directory), view(newName));
    if (!fileSystem.moveNoReplace(from, to))
        return StepOutcome::Failed;
    model.setName(row, newName);
    return StepOutcome::Moved;
}

} // namespace

RenameResult renameRows(FileListModel& model, platform::FileSystem& fileSystem,
                        const RenameOptions& options, const std::vector<int>& rows,
                        const RenameProgress& progress) {
    RenameResult result;
    result.rows.reserve(rows.size());
    const int total = static_cast<int>(rows.size());
    for (int done = 0; done < total; ++done) {
        RowRenameResult r;
        r.row = rows[static_cast<std::size_t>(done)];
        if (progress && !progress(done, total, r.row)) {
            result.cancelled = true;
            break;
        }
        // The name step works on whatever name the extension step left.
        if (const auto name = extensionStepName(model.row(r.row).name, options))
            r.extension = moveRow(model, fileSystem, r.row, *name);
        if (const auto name = nameStepName(model.row(r.row).name, options))
            r.name = moveRow(model, fileSystem, r.row, *name);
        result.rows.push_back(r);
    }
    return result;
}

} // namespace kelvoro
