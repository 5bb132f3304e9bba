#include "filelist/trazzleview.h"
#include "platform/filesystem.h"
#include "presentation/rowprogress.h"
#include "rename/renamedialog.h"
#include "rename/renamerows.h"

namespace kelvoro {

void CTrazzleView::OnRename() {
    if (!HasSelection())
        return;
    const std::vector<int> rows = selectedRows();
    CReName dialog(m_services.prompt, this);
    if (dialog.exec() == QDialog::Accepted) {
        const std::unique_ptr<RowProgress> progress =
            startProgress(QStringLiteral("名前を変更しています…"));
        renameRows(m_model, m_services.fileSystem, dialog.options(), rows,
                   [&](int done, int total, int row) {
                       return progress->next(done, total, [&] { return m_model.row(row).path(); });
                   });
    }
    viewport()->update();
}

} // namespace kelvoro
