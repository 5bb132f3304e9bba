#include "filelist/undostep.h"

#include "filelist/commandcontext.h"

#include <QCoreApplication>
#include <QUndoStack>

namespace kelvoro {

void CommandContext::pushUndo(QUndoCommand* step) const {
    if (undoStack)
        undoStack->push(step);
    else
        delete step;
}

void UndoStep::redo() {
    if (m_done) {
        m_done = false;
        return;
    }
    redoStep();
}

QString undoStepText(const char* name, qsizetype rows) {
    return QCoreApplication::translate("kelvoro::UndoStep", "%1 (%2 件)")
        .arg(QCoreApplication::translate("kelvoro::UndoStep", name))
        .arg(rows);
}

} // namespace kelvoro
