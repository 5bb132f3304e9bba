#pragma once

#include "filelist/rowkey.h"

#include <QUndoCommand>

namespace kelvoro {

// A step the user can take back. It is recorded once its work is done, so the redo that
// QUndoStack::push makes is skipped; later redos do the work again.
class UndoStep : public QUndoCommand {
public:
    using QUndoCommand::QUndoCommand;
    void redo() final;
    void undo() final { undoStep(); }

protected:
    virtual void undoStep() = 0;
    virtual void redoStep() = 0;

private:
    bool m_done = true;
};

// "%1 (%2 件)": the step's name and how many rows it touched, as the Edit menu shows it.
QString undoStepText(const char* name, qsizetype rows);

} // namespace kelvoro
