#include "filelist/listcommands.h"

#include "filelist/commandcontext.h"
#include "filelist/listundo.h"
#include "filelist/trazzleview.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QFileDialog>

#include <algorithm>

namespace kelvoro {

FileListModel& CommandContext::rows() const {
    return view.rows();
}

void OnFileOpen(CommandContext& context) {
    QFileDialog dialog(&context.view);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Every file, names without "." included.
    dialog.setNameFilter(QCoreApplication::translate("kelvoro::Commands", "すべてのファイル (*)"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    QList<QByteArray> paths;
    for (const QString& file : dialog.selectedFiles())
        paths.append(QFile::encodeName(file));
    context.view.addFiles(paths);
}

void OnSelectAll(CommandContext& context) {
    CTrazzleView& view = context.view;
    const FileListModel& model = view.rows();
    const int count = model.rowCount();
    // One range for every row; the current row keeps the focus.
    if (count > 0)
        view.selectionModel()->select(
            QItemSelection(model.index(0, 0), model.index(count - 1, ColumnCount - 1)),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view.viewport()->update();
}

void OnClear(CommandContext& context) {
    CTrazzleView& view = context.view;
    if (!view.HasSelection())
        return;
    FileListModel& model = view.rows();
    const std::vector<int> removed = view.selectedRows();
    // The current row survives the removal, or hands over to the nearest row above it (below
    // when none is left above), also when a scattered removal resets the model.
    const QModelIndex current = view.currentIndex();
    int target = -1;
    if (current.isValid()) {
        const int row = current.row();
        const auto before = std::lower_bound(removed.begin(), removed.end(), row);
        const int survivorsAbove = row - static_cast<int>(before - removed.begin());
        const bool gone = before != removed.end() && *before == row;
        target = !gone ? survivorsAbove : std::max(survivorsAbove - 1, 0);
    }
    // Selection ranges hold persistent indexes that every removed range would walk.
    view.clearSelection();
    // Staged edits leave with their rows, and come back with them on undo.
    std::vector<RemovedRow> taken = model.takeRowList(removed);
    context.pushUndo(new RemoveStep(RemoveStep::Kind::Rows, model, std::move(taken)));
    if (target >= 0 && target < model.rowCount())
        view.selectionModel()->setCurrentIndex(model.index(target, current.column()),
                                               QItemSelectionModel::NoUpdate);
}

void OnClearAll(CommandContext& context) {
    if (context.querySaveChanges && !context.querySaveChanges())
        return;
    FileListModel& model = context.rows();
    // Emptying an empty list is no step.
    if (model.rowCount() == 0) {
        model.clear();
        return;
    }
    context.pushUndo(new RemoveStep(RemoveStep::Kind::All, model, model.takeAllRows()));
}

void OnOpenWithProgram(CommandContext& context) {
    for (int r : context.view.selectedRows())
        context.shell.openWithAssociatedProgram(context.rows().row(r).path());
}

void OnChangeAssociation(CommandContext& context) {
    const std::vector<int> rows = context.view.selectedRows();
    if (!rows.empty())
        context.shell.chooseProgram(context.rows().row(rows.front()).path(), &context.view);
}

} // namespace kelvoro
