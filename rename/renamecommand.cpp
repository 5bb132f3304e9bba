#include "rename/renamecommand.h"

#include "filelist/commandcontext.h"
#include "filelist/trazzleview.h"
#include "presentation/rowprogress.h"
#include "rename/renamedialog.h"
#include "rename/renamerows.h"

namespace kelvoro {

void OnRename(CommandContext& context) {
    CTrazzleView& view = context.view;
    if (!view.HasSelection())
        return;
    const std::vector<int> rows = view.selectedRows();
    CReName dialog(context.prompt, &view);
    if (dialog.exec() == QDialog::Accepted) {
        const std::unique_ptr<RowProgress> progress =
            view.startProgress(QStringLiteral("名前を変更しています…"));
        renameRows(view.rows(), context.fileSystem, dialog.options(), rows,
                   view.rowProgress(*progress));
    }
    view.viewport()->update();
}

} // namespace kelvoro
