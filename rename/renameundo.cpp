#include "rename/renameundo.h"

#include "filelist/commandcontext.h"
#include "filelist/trazzleview.h"
#include "presentation/prompt.h"
#include "presentation/rowprogress.h"
#include "rename/renamecommand.h"

#include <QCoreApplication>

namespace kelvoro {

std::vector<RenamedRow> renamedRows(const FileListModel& model, const RenameResult& result) {
    std::vector<RenamedRow> rows;
    for (const RowRenameResult& r : result.rows) {
        const FileRow& row = model.row(r.row);
        if (row.name != r.oldName)
            rows.push_back({row.directory, r.oldName, row.name, r.row});
    }
    return rows;
}

RenameResult moveRenamed(FileListModel& model, platform::FileSystem& fileSystem,
                         const std::vector<RenamedRow>& rows, bool back,
                         const RowLoopProgress& progress) {
    RowFinder finder(model);
    std::vector<int> found;
    std::vector<QByteArray> names;
    found.reserve(rows.size());
    names.reserve(rows.size());
    for (const RenamedRow& r : rows) {
        const int at = finder.find(r.directory, back ? r.newName : r.oldName, r.row);
        if (at < 0)
            continue;
        found.push_back(at);
        names.push_back(back ? r.oldName : r.newName);
    }
    return renameRowsTo(model, fileSystem, found, names, progress);
}

RenameUndoStep::RenameUndoStep(CommandContext& context, std::vector<RenamedRow> rows)
    : m_context(context), m_rows(std::move(rows)) {
    setText(undoStepText(QT_TRANSLATE_NOOP("kelvoro::UndoStep", "名前の変更"),
                         qsizetype(m_rows.size())));
}

void RenameUndoStep::apply(bool back) {
    CTrazzleView& view = m_context.view;
    const std::unique_ptr<RowProgress> progress = view.startProgress(
        QCoreApplication::translate("kelvoro::UndoStep", "名前を変更しています…"));
    const RenameResult result =
        moveRenamed(view.rows(), m_context.fileSystem, m_rows, back, view.rowProgress(*progress));
    view.viewport()->update();
    const QString failed = notRenamedText(
        result, back ? QCoreApplication::translate("kelvoro::UndoStep",
                                                   "%1 件のファイル名を元に戻せませんでした。")
                     : QCoreApplication::translate("kelvoro::CReName",
                                                   "%1 件のファイル名を変更できませんでした。"));
    if (!failed.isEmpty())
        m_context.prompt.exclamation(m_context.window, failed);
}

} // namespace kelvoro
