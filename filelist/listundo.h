#pragma once

#include "filelist/filelistmodel.h"
#include "filelist/undostep.h"

#include <vector>

namespace kelvoro {

// Staged edits of some rows: each row's times, flags and staged state before and after.
class StageStep : public UndoStep {
public:
    // Remembers the rows as they are now, before the edit.
    StageStep(const char* name, FileListModel& model, const std::vector<int>& rows);
    // Takes the rows as they are after the edit; false when the edit changed none of them
    // (nothing to take back).
    bool finish();
    qsizetype rowCount() const { return qsizetype(m_rows.size()); }

protected:
    void undoStep() override { apply(false); }
    void redoStep() override { apply(true); }

private:
    void apply(bool after);

    struct Row {
        RowKey key;
        RowEditState before;
        RowEditState after;
    };
    const char* m_name;
    FileListModel& m_model;
    std::vector<Row> m_rows;
};

// Rows taken out of the list (clear, clear all): undo puts them back where they were, with
// their staged edits.
class RemoveStep : public UndoStep {
public:
    enum class Kind { Rows, All };
    // The rows already taken out.
    RemoveStep(Kind kind, FileListModel& model, std::vector<RemovedRow> taken);
    qsizetype rowCount() const { return m_count; }

protected:
    void undoStep() override;
    void redoStep() override;

private:
    Kind m_kind;
    FileListModel& m_model;
    std::vector<RemovedRow> m_taken; // while the rows are out of the list
    std::vector<RowKey> m_keys;      // while they are back in it
    qsizetype m_count;
};

} // namespace kelvoro
