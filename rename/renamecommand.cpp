#include "filelist/trazzleview.h"
#include "platform/filesystem.h"
#include "rename/renamedialog.h"
#include "rename/renamerows.h"

namespace kelvoro {

void CTrazzleView::OnRename() {
    if (!HasSelection())
        return;
    const std::vector<int> rows = selectedRows();
    CReName dialog(m_services.prompt, this);
    if (dialog.exec() == QDialog::Accepted)
        renameRows(m_model, m_services.fileSystem, dialog.options(), rows);
    viewport()->update();
}

} // namespace kelvoro
