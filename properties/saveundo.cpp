#include "properties/saveundo.h"

#include "common/fileerrortext.h"
#include "filelist/commandcontext.h"
#include "filelist/trazzleview.h"
#include "presentation/prompt.h"
#include "presentation/rowprogress.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

namespace kelvoro {

namespace {

// Enough names for the user to recognise the files without a box taller than the screen.
constexpr std::size_t kNamesShown = 10;

QString translated(const char* source) {
    return QCoreApplication::translate("kelvoro::UndoStep", source);
}

QString notRestoredText(const std::vector<SavedRow>& kept) {
    QString message =
        translated(QT_TRANSLATE_NOOP(
                       "kelvoro::UndoStep",
                       "%1 件のファイルは元に戻せませんでした。保存した日時と属性のままです。"))
            .arg(kept.size());
    message += QLatin1Char('\n');
    for (std::size_t i = 0; i < kept.size() && i < kNamesShown; ++i)
        message += QLatin1Char('\n') + displayPath(kept[i].key.path());
    if (kept.size() > kNamesShown)
        message +=
            QLatin1Char('\n') + translated(QT_TRANSLATE_NOOP("kelvoro::UndoStep", "ほか %1 件"))
                                    .arg(kept.size() - kNamesShown);
    return message;
}

// The save's own messages: the error naming the first failing file, or the completion.
bool reportSave(CommandContext& context, const SaveResult& result) {
    CTrazzleView& view = context.view;
    if (result.outcome == SaveResult::Outcome::Failed)
        context.prompt.stop(&view, fileErrorText(result.error->cause(),
                                                 displayPath(view.rows().row(result.row).path())));
    view.viewport()->update();
    if (result.outcome != SaveResult::Outcome::Saved)
        return false;
    context.prompt.information(
        &view, QCoreApplication::translate("kelvoro::Commands", "保存が完了しました"));
    return true;
}

std::vector<int> stagedRows(const FileListModel& model) {
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(model.stagedCount()));
    for (int r = 0; r < model.rowCount() && rows.size() < std::size_t(model.stagedCount()); ++r)
        if (model.row(r).staged)
            rows.push_back(r);
    return rows;
}

} // namespace

SaveStep::SaveStep(CommandContext& context, std::vector<SavedRow> saved)
    : m_context(context), m_saved(std::move(saved)) {
    setText(
        undoStepText(QT_TRANSLATE_NOOP("kelvoro::UndoStep", "保存"), qsizetype(m_saved.size())));
}

void SaveStep::undoStep() {
    CTrazzleView& view = m_context.view;
    std::unique_ptr<RowProgress> progress = view.startProgress(
        translated(QT_TRANSLATE_NOOP("kelvoro::UndoStep", "保存前の状態に戻しています…")));
    RestoreResult restore = restoreSaved(view.rows(), m_context.fileSystem, std::move(m_saved),
                                         view.rowProgress(*progress));
    progress.reset();
    m_saved = std::move(restore.kept);
    m_restored.insert(m_restored.end(), std::make_move_iterator(restore.restored.begin()),
                      std::make_move_iterator(restore.restored.end()));
    view.viewport()->update();
    QString message;
    if (restore.result.outcome == SaveResult::Outcome::Failed)
        message = fileErrorText(restore.result.error->cause(),
                                displayPath(view.rows().row(restore.result.row).path())) +
                  QStringLiteral("\n\n");
    if (!m_saved.empty()) {
        message += notRestoredText(m_saved);
        if (restore.result.outcome == SaveResult::Outcome::Failed)
            m_context.prompt.stop(&view, message);
        else
            m_context.prompt.exclamation(&view, message);
        return;
    }
    Q_EMIT view.statusMessage(
        translated(QT_TRANSLATE_NOOP("kelvoro::UndoStep", "元に戻しました: %1")).arg(this->text()));
}

void SaveStep::redoStep() {
    CTrazzleView& view = m_context.view;
    FileListModel& model = view.rows();
    RowFinder finder(model);
    std::vector<int> rows;
    rows.reserve(m_restored.size());
    for (const SavedRow& s : m_restored)
        if (const int r = finder.find(s.key); r >= 0 && model.row(r).staged)
            rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::unique_ptr<RowProgress> progress =
        view.startProgress(translated(QT_TRANSLATE_NOOP("kelvoro::UndoStep", "保存しています…")));
    RecordedSave saved =
        saveRecorded(model, m_context.fileSystem, rows, view.rowProgress(*progress));
    progress.reset();
    // What this save did not write stays staged, and its files keep their old values.
    QSet<QByteArray> written;
    written.reserve(qsizetype(saved.rows.size()));
    for (const SavedRow& w : saved.rows)
        written.insert(w.key.path());
    std::erase_if(m_restored, [&](const SavedRow& s) { return written.contains(s.key.path()); });
    m_saved.insert(m_saved.end(), std::make_move_iterator(saved.rows.begin()),
                   std::make_move_iterator(saved.rows.end()));
    reportSave(m_context, saved.result);
}

bool saveAndRecord(CommandContext& context) {
    CTrazzleView& view = context.view;
    std::unique_ptr<RowProgress> progress =
        view.startProgress(QCoreApplication::translate("kelvoro::Commands", "保存しています…"));
    RecordedSave saved = saveRecorded(view.rows(), context.fileSystem, stagedRows(view.rows()),
                                      view.rowProgress(*progress));
    progress.reset();
    if (!saved.rows.empty())
        context.pushUndo(new SaveStep(context, std::move(saved.rows)));
    return reportSave(context, saved.result);
}

} // namespace kelvoro
