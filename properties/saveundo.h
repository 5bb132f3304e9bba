#pragma once

#include "filelist/undostep.h"
#include "properties/saverestore.h"

namespace kelvoro {

struct CommandContext;

// A save: undo writes back what the files held and stages the edits again; redo saves again.
class SaveStep : public UndoStep {
public:
    SaveStep(CommandContext& context, std::vector<SavedRow> saved);

protected:
    void undoStep() override;
    void redoStep() override;

private:
    CommandContext& m_context;
    std::vector<SavedRow> m_saved;    // the files hold the saved values
    std::vector<SavedRow> m_restored; // the files hold the old values again; the rows are staged
};

// Saves the staged rows as File > Save does and records the save as a step; reports the
// outcome. True when every staged row was written.
bool saveAndRecord(CommandContext& context);

} // namespace kelvoro
