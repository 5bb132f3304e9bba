#pragma once

#include "filelist/undostep.h"
#include "rename/renamerows.h"

#include <vector>

namespace kelvoro {

struct CommandContext;

// A row a rename gave a new name.
struct RenamedRow {
    QByteArray directory;
    QByteArray oldName;
    QByteArray newName;
    int row = -1; // where it was, to find it fast
};

// The rows a rename run gave new names, from its result.
std::vector<RenamedRow> renamedRows(const FileListModel& model, const RenameResult& result);

// Moves the rows named `from` back to (or again to) their other names on disk, in a safe
// order; rows no longer listed under that name are left alone.
RenameResult moveRenamed(FileListModel& model, platform::FileSystem& fileSystem,
                         const std::vector<RenamedRow>& rows, bool back,
                         const RowLoopProgress& progress = {});

// A rename: undo moves each file back to its old name, redo to the new one again; a file
// whose name was taken meanwhile keeps the name it has, and is reported.
class RenameUndoStep : public UndoStep {
public:
    RenameUndoStep(CommandContext& context, std::vector<RenamedRow> rows);

protected:
    void undoStep() override { apply(true); }
    void redoStep() override { apply(false); }

private:
    void apply(bool back);

    CommandContext& m_context;
    std::vector<RenamedRow> m_rows;
};

} // namespace kelvoro
