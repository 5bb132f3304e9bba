#include "properties/propertycommands.h"

#include "filelist/commandcontext.h"
#include "filelist/listundo.h"
#include "filelist/trazzleview.h"
#include "properties/change.h"
#include "properties/saveundo.h"

#include <QCoreApplication>

namespace kelvoro {

void OnEditProperties(CommandContext& context) {
    CTrazzleView& view = context.view;
    FileListModel& model = view.rows();
    const std::vector<int> selected = view.selectedRows();
    if (selected.empty())
        return;

    CChange dialog(&view);
    const int first = selected.front();
    auto cell = [&model, first](int column) {
        return model.data(model.index(first, column), Qt::DisplayRole).toString();
    };
    // The row's own instants, so times left alone are staged exactly as they are.
    const FileRow& row = model.row(first);
    dialog.setCreatedText(cell(ColCreated), row.created);
    dialog.setModifiedText(cell(ColModified), row.modified);
    dialog.setAccessedText(cell(ColAccessed), row.accessed);
    dialog.setReadOnlyText(cell(ColReadOnly));
    dialog.setHiddenText(cell(ColHidden));
    dialog.setArchiveText(cell(ColArchive));
    dialog.setIndexText(cell(ColIndex));

    if (dialog.exec() == QDialog::Accepted) {
        const RowFlags flags{!dialog.readOnlyText().isEmpty(), !dialog.hiddenText().isEmpty(),
                             !dialog.archiveText().isEmpty(), !dialog.indexText().isEmpty()};
        auto step = std::make_unique<StageStep>(
            QT_TRANSLATE_NOOP("kelvoro::UndoStep", "タイムスタンプ／属性の編集"), model, selected);
        {
            const FileListModel::ChangeBatch batch(model);
            for (int r : selected)
                model.stageEdit(r, dialog.created(), dialog.modified(), dialog.accessed(), flags);
        }
        if (step->finish())
            context.pushUndo(step.release());
    }
    view.viewport()->update();
}

bool OnFileSave(CommandContext& context) {
    return saveAndRecord(context);
}

} // namespace kelvoro
