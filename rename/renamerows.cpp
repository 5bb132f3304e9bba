#include "rename/renamerows.h"

#include "common/pathpieces.h"
#include "filelist/filelistmodel.h"
#include "platform/filesystem.h"

namespace kelvoro {

namespace {

void setPath(std::string& out, const QByteArray& directory, const QByteArray& name) {
    out.assign(directory.constData(), static_cast<std::size_t>(directory.size()));
    out.push_back(kPathSeparator);
    out.append(name.constData(), static_cast<std::size_t>(name.size()));
}

// Moves a row's file to a new name and, on success, gives the row that name. The path buffers
// are reused from row to row.
class RowMover {
public:
    RowMover(FileListModel& model, platform::FileSystem& fileSystem)
        : m_model(model), m_fileSystem(fileSystem) {}

    StepOutcome move(int row, const QByteArray& newName) {
        if (!isUsableName(newName))
            return StepOutcome::Failed;
        const FileRow& current = m_model.row(row);
        // A step that leaves the name as it was moves nothing.
        if (newName == current.name)
            return StepOutcome::NotApplied;
        setPath(m_from, current.directory, current.name);
        setPath(m_to, current.directory, newName);
        if (!m_fileSystem.moveNoReplace(m_from, m_to, current.identity))
            return StepOutcome::Failed;
        m_model.setName(row, newName);
        return StepOutcome::Moved;
    }

private:
    FileListModel& m_model;
    platform::FileSystem& m_fileSystem;
    std::string m_from;
    std::string m_to;
};

} // namespace

RenameResult renameRows(FileListModel& model, platform::FileSystem& fileSystem,
                        const RenameOptions& options, const std::vector<int>& rows,
                        const RowLoopProgress& progress) {
    RenameResult result;
    result.rows.reserve(rows.size());
    const FileListModel::ChangeBatch batch(model);
    RowMover mover(model, fileSystem);
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
            r.extension = mover.move(r.row, *name);
        if (const auto name = nameStepName(model.row(r.row).name, options))
            r.name = mover.move(r.row, *name);
        result.rows.push_back(r);
    }
    return result;
}

} // namespace kelvoro
