#include "properties/timecommands.h"

#include "common/fileerrortext.h"
#include "filelist/commandcontext.h"
#include "filelist/listundo.h"
#include "filelist/trazzleview.h"
#include "platform/photodate.h"
#include "presentation/prompt.h"
#include "properties/stagetimes.h"
#include "properties/timetoolsdialog.h"

#include <QCoreApplication>

namespace kelvoro {

namespace {

// Enough names for the user to recognise the files without a box taller than the screen.
constexpr std::size_t kNamesShown = 10;

QString skippedText(const FileListModel& model, const std::vector<int>& rows,
                    const std::vector<std::size_t>& skipped) {
    QString text = QCoreApplication::translate(
                       "kelvoro::CTimeTools",
                       "元になる日時がない %1 件のファイルは、その日時を変更しませんでした。")
                       .arg(skipped.size());
    text += QLatin1Char('\n');
    for (std::size_t i = 0; i < skipped.size() && i < kNamesShown; ++i)
        text += QLatin1Char('\n') + displayPath(model.row(rows[skipped[i]]).name);
    if (skipped.size() > kNamesShown)
        text += QLatin1Char('\n') + QCoreApplication::translate("kelvoro::CTimeTools", "ほか %1 件")
                                        .arg(skipped.size() - kNamesShown);
    return text;
}

} // namespace

void OnEditTimes(CommandContext& context) {
    CTrazzleView& view = context.view;
    FileListModel& model = view.rows();
    const std::vector<int> selected = view.selectedRows();
    if (selected.empty())
        return;
    CTimeTools dialog(timeToolsInput(model, selected), platform::readPhotoDate, context.window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const TimeToolPlan& plan = dialog.plan();
    auto step = std::make_unique<StageStep>(
        QT_TRANSLATE_NOOP("kelvoro::UndoStep", "日時の一括変更"), model, selected);
    stageTimePlan(model, selected, plan);
    if (step->finish())
        context.pushUndo(step.release());
    view.viewport()->update();
    if (!plan.skipped.empty())
        context.prompt.information(context.window, skippedText(model, selected, plan.skipped));
}

} // namespace kelvoro
