#include "rename/renamecommand.h"

#include "common/fileerrortext.h"
#include "filelist/commandcontext.h"
#include "filelist/trazzleview.h"
#include "presentation/prompt.h"
#include "presentation/rowprogress.h"
#include "rename/renamedialog.h"
#include "rename/renamerows.h"
#include "rename/renameundo.h"

#include <QCoreApplication>

namespace kelvoro {

namespace {

// Enough names for the user to recognise the files without a box taller than the screen.
constexpr int kNamesShown = 10;

QString text(const char* source) {
    return QCoreApplication::translate("kelvoro::CReName", source);
}

} // namespace

QString notRenamedText(const RenameResult& result, const QString& heading) {
    int count = 0;
    QString names;
    for (const RowRenameResult& r : result.rows) {
        if (r.failure == RenameFailure::None)
            continue;
        if (++count <= kNamesShown)
            names +=
                QLatin1Char('\n') + QCoreApplication::translate("kelvoro::CReName", "%1 → %2: %3")
                                        .arg(displayPath(r.oldName), displayPath(r.plannedName),
                                             renameFailureText(r.failure));
    }
    if (count == 0)
        return {};
    QString message = QString(heading).arg(count) + QLatin1Char('\n') + names;
    if (count > kNamesShown)
        message +=
            QLatin1Char('\n') +
            QCoreApplication::translate("kelvoro::CReName", "ほか %1 件").arg(count - kNamesShown);
    return message;
}

void OnRename(CommandContext& context) {
    CTrazzleView& view = context.view;
    if (!view.HasSelection())
        return;
    const std::vector<int> rows = view.selectedRows();
    CReName dialog(context.prompt, &view);
    std::vector<RenameSource> sources;
    sources.reserve(rows.size());
    for (const int row : rows)
        sources.push_back({view.rows().row(row).directory, view.rows().row(row).name});
    dialog.setPreviewRows(std::move(sources));
    QString notRenamed;
    if (dialog.exec() == QDialog::Accepted) {
        const std::unique_ptr<RowProgress> progress = view.startProgress(
            text(QT_TRANSLATE_NOOP("kelvoro::CReName", "名前を変更しています…")));
        const RenameResult result = renameRows(view.rows(), context.fileSystem, dialog.options(),
                                               rows, view.rowProgress(*progress));
        notRenamed = notRenamedText(
            result, text(QT_TRANSLATE_NOOP("kelvoro::CReName",
                                           "%1 件のファイル名を変更できませんでした。")));
        if (std::vector<RenamedRow> renamed = renamedRows(view.rows(), result); !renamed.empty())
            context.pushUndo(new RenameUndoStep(context, std::move(renamed)));
    }
    view.viewport()->update();
    if (!notRenamed.isEmpty())
        context.prompt.exclamation(context.window, notRenamed);
}

} // namespace kelvoro
