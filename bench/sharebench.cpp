#include "bench/sharebench.h"

#include "app/commands.h"
#include "bench/latencymount.h"
#include "filelist/trazzleview.h"
#include "rename/renamerows.h"

#include <chrono>
#include <cstdio>
#include <numeric>
#include <thread>

namespace kelvoro::bench {

namespace {

void stageEveryRow(FileListModel& model, std::int64_t stamp) {
    const FileListModel::ChangeBatch batch(model);
    for (int r = 0; r < model.rowCount(); ++r) {
        RowFlags flags = model.row(r).flags();
        flags.archive = !flags.archive;
        model.stageEdit(r, std::nullopt, stamp, stamp, flags);
    }
}

// Every measurement starts with the attributes the kernel holds expired, as they are when a
// user comes back to a share.
template <typename F> double afterExpiry(F&& work) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    return timed(std::forward<F>(work));
}

void reportShare(const char* what, long files, double kelvoro, double floor, double goal) {
    char label[64];
    std::snprintf(label, sizeof label, "share: %s %ld files", what, files);
    char goalText[32];
    std::snprintf(goalText, sizeof goalText, "goal <= x%.2f", goal);
    report(label, kelvoro, "ms", "one at a time, same mount", floor, goalText,
           kelvoro <= goal * floor);
}

} // namespace

void shareFigures(App& app, const Options& options) {
    std::string why;
    if (!LatencyMount::available(&why)) {
        std::printf("share figures left out: %s\n", why.c_str());
        return;
    }
    const Tree tree(options.directory, options.shareFiles);
    const LatencyMount mount(KELVORO_LATENCYFS, tree.root(), tree.root() + ".mnt",
                             options.latencyMs);
    std::printf("share: %s through FUSE, %.1f ms an operation\n", mount.path().c_str(),
                options.latencyMs);
    std::vector<std::string> paths;
    QList<QByteArray> rows;
    for (long i = 0; i < options.shareFiles; ++i) {
        paths.push_back(mount.path() + "/" + fileName(i));
        rows.append(QByteArray::fromStdString(paths.back()));
    }
    CTrazzleView& view = *app.frame.view();
    FileListModel& model = view.rows();
    model.clear();
    // Earlier figures' saves leave their completion message counted.
    app.prompt.shown = 0;
    // The names are looked up once, as listing the share's folders would; lookups in one
    // folder are serialised by FUSE, while a network client's directory cache answers them.
    statxEach(paths);

    const double add = afterExpiry([&] {
        view.addFiles(rows);
        QCoreApplication::processEvents();
    });
    if (model.rowCount() != options.shareFiles || app.prompt.shown != 0)
        fail("adding through the mount did not list every file: " + app.prompt.last);
    reportShare("add", options.shareFiles, add, afterExpiry([&] { statxEach(paths); }), 0.2);

    stageEveryRow(model, 1600000000);
    const double save = afterExpiry([&] { app.frame.runCommand(ID_FILE_SAVE); });
    if (model.stagedCount() != 0)
        fail("the save through the mount failed: " + app.prompt.last);
    reportShare("save", options.shareFiles, save,
                afterExpiry([&] { saveEach(paths, 1600086400, true); }), 0.25);

    RenameOptions front;
    front.mode = renamemode::Front;
    front.front = "x_";
    std::vector<int> all(static_cast<std::size_t>(model.rowCount()));
    std::iota(all.begin(), all.end(), 0);
    std::vector<std::string> renamed;
    for (const std::string& p : paths) {
        const std::size_t slash = p.rfind('/');
        renamed.push_back(p.substr(0, slash + 1) + "x_" + p.substr(slash + 1));
    }
    const double rename =
        afterExpiry([&] { renameRows(model, platform::nativeFileSystem(), front, all); });
    if (model.row(0).path().toStdString() != renamed.front())
        fail("the rename through the mount did not rename");
    reportShare("rename", options.shareFiles, rename,
                afterExpiry([&] { moveEach(renamed, paths); }), 0.5);
    model.clear();
}

} // namespace kelvoro::bench
