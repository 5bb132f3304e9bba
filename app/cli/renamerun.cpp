#include "app/cli/renamerun.h"

#include "filelist/filelistmodel.h"
#include "rename/renameplan.h"
#include "rename/renamerows.h"

#include <QCoreApplication>

namespace kelvoro::cli {

namespace {

class Text {
    Q_DECLARE_TR_FUNCTIONS(CliRename)
};

// The given path with its last part replaced by the new name.
QByteArray renamedPath(const QByteArray& given, const QByteArray& name) {
    return given.left(given.lastIndexOf('/') + 1) + name;
}

void reportKept(const Console& console, const QByteArray& path, RenameFailure failure) {
    console.fileError(QStringLiteral("%1: ") + renameFailureText(failure), path);
}

bool dryRun(const FileListModel& model, const QByteArrayList& given, const std::vector<int>& rows,
            const RenameOptions& options, const Console& console) {
    std::vector<RenameSource> sources;
    sources.reserve(rows.size());
    for (const int row : rows)
        sources.push_back({model.row(row).directory, model.row(row).name});
    FolderNames folders;
    const RenameAnalysis analysis = analyseRenames(sources, options, folders);
    bool allDone = true;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PlannedName& planned = analysis.rows[i];
        const QByteArray& path = given[rows[i]];
        if (planned.conflict != NameConflict::None) {
            reportKept(console, path, failureOf(planned.conflict));
            allDone = false;
        } else if (planned.changes) {
            console.print(path + " -> " + renamedPath(path, *planned.name) + '\n');
        }
    }
    return allDone;
}

} // namespace

bool renameFiles(const std::vector<RenameTarget>& targets, const RenameOptions& options, bool dry,
                 platform::FileSystem& fs, const Console& console) {
    FileListModel model;
    std::vector<int> rows;
    QByteArrayList given; // the path of each model row as given
    bool allDone = true;
    for (const RenameTarget& target : targets) {
        if (!model.queueFile(target.path, target.status)) {
            console.fileError(Text::tr("%1 の場所を決められません。"), target.path);
            allDone = false;
            continue;
        }
        rows.push_back(int(given.size()));
        given.append(target.path);
    }
    model.publishPending();
    if (dry)
        return dryRun(model, given, rows, options, console) && allDone;
    const RenameResult result = renameRows(model, fs, options, rows);
    for (const RowRenameResult& row : result.rows) {
        if (row.failure == RenameFailure::None)
            continue;
        reportKept(console, given[row.row], row.failure);
        allDone = false;
    }
    return allDone;
}

} // namespace kelvoro::cli
