#include "properties/propertycommands.h"

#include "common/fileerrortext.h"
#include "filelist/commandcontext.h"
#include "filelist/trazzleview.h"
#include "presentation/prompt.h"
#include "presentation/rowprogress.h"
#include "properties/change.h"
#include "properties/savechanges.h"

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
        const FileListModel::ChangeBatch batch(model);
        for (int r : selected)
            model.stageEdit(r, dialog.created(), dialog.modified(), dialog.accessed(), flags);
    }
    view.viewport()->update();
}

bool OnFileSave(CommandContext& context) {
    CTrazzleView& view = context.view;
    FileListModel& model = view.rows();
    std::unique_ptr<RowProgress> progress =
        view.startProgress(QCoreApplication::translate("kelvoro::Commands", "保存しています…"));
    const SaveResult result =
        saveStagedRows(model, context.fileSystem, view.rowProgress(*progress));
    progress.reset();
    if (result.outcome == SaveResult::Outcome::Failed)
        context.prompt.stop(
            &view, fileErrorText(result.error->cause(), displayPath(model.row(result.row).path())));
    if (result.outcome != SaveResult::Outcome::Saved)
        return false;
    context.prompt.information(
        &view, QCoreApplication::translate("kelvoro::Commands", "保存が完了しました"));
    view.viewport()->update();
    return true;
}

} // namespace kelvoro
