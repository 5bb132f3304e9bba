#include "app/mainframe.h"
#include "app/prompt.h"
#include "common/fileerrortext.h"
#include "filelist/trazzleview.h"
#include "presentation/rowprogress.h"
#include "properties/change.h"
#include "properties/savechanges.h"

namespace kelvoro {

void CTrazzleView::OnEditProperties() {
    const std::vector<int> selected = selectedRows();
    if (selected.empty())
        return;

    CChange dialog(this);
    const int first = selected.front();
    auto cell = [this, first](int column) {
        return m_model.data(m_model.index(first, column), Qt::DisplayRole).toString();
    };
    dialog.setCreatedText(cell(ColCreated));
    dialog.setModifiedText(cell(ColModified));
    dialog.setAccessedText(cell(ColAccessed));
    dialog.setReadOnlyText(cell(ColReadOnly));
    dialog.setHiddenText(cell(ColHidden));
    dialog.setArchiveText(cell(ColArchive));
    dialog.setIndexText(cell(ColIndex));

    if (dialog.exec() == QDialog::Accepted) {
        if (m_frame)
            m_frame->SetChanged(true);
        const RowFlags flags{!dialog.readOnlyText().isEmpty(), !dialog.hiddenText().isEmpty(),
                             !dialog.archiveText().isEmpty(), !dialog.indexText().isEmpty()};
        const FileListModel::ChangeBatch batch(m_model);
        for (int r : selected)
            m_model.stageEdit(r, dialog.created(), dialog.modified(), dialog.accessed(), flags);
    }
    viewport()->update();
}

bool CTrazzleView::OnFileSave() {
    std::unique_ptr<RowProgress> progress = startProgress(QStringLiteral("保存しています…"));
    const SaveResult result =
        saveStagedRows(m_model, m_services.fileSystem, [&](int done, int total, int row) {
            return progress->next(done, total, [&] { return m_model.row(row).path(); });
        });
    progress.reset();
    if (result.outcome == SaveResult::Outcome::Failed)
        m_services.prompt.stop(this, fileErrorText(result.error->cause(),
                                                   displayPath(m_model.row(result.row).path())));
    if (result.outcome != SaveResult::Outcome::Saved)
        return false;
    m_services.prompt.information(this, QStringLiteral("保存が完了しました"));
    if (m_frame)
        m_frame->SetChanged(false);
    viewport()->update();
    return true;
}

} // namespace kelvoro
