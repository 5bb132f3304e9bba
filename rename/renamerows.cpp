#include "rename/renamerows.h"

#include "common/pathpieces.h"
#include "filelist/filelistmodel.h"
#include "platform/filesystem.h"

namespace kelvoro {

namespace {

std::string_view pieceView(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Moves a row's file to a new name and, on success, gives the row that name.
class RowMover {
public:
    RowMover(FileListModel& model, platform::FileSystem& fileSystem)
        : m_model(model), m_fileSystem(fileSystem) {}

    StepOutcome move(int row, const QByteArray& newName) {
        if (!isUsableName(newName))
            return StepOutcome::Failed;
        const FileRow& current = m_model.row(row);
        const std::string from = joinPath(pieceView(current.directory), pieceView(current.name));
        if (!m_fileSystem.moveNoReplace(from,
                                        joinPath(pieceView(current.directory), pieceView(newName))))
            return StepOutcome::Failed;
        m_model.setName(row, newName);
        return StepOutcome::Moved;
    }

private:
    FileListModel& m_model;
    platform::FileSystem& m_fileSystem;
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
        runRenameSteps(model.row(r.row).name, options, 0,
                       [&](RenameStep step, const QByteArray& name) {
                           const StepOutcome outcome = mover.move(r.row, name);
                           (step == RenameStep::Extension ? r.extension : r.name) = outcome;
                           return outcome == StepOutcome::Moved;
                       });
        result.rows.push_back(r);
    }
    return result;
}

} // namespace kelvoro
