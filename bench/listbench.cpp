#include "bench/listbench.h"

#include "bench/benchtools.h"
#include "filelist/trazzleview.h"

#include <QCoreApplication>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <random>

namespace kelvoro::bench {

namespace {

// The floor of a folder walk: every directory read, every entry's status read once.
long walkWithSystemCalls(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        fail("cannot read " + folder);
    long files = 0;
    std::vector<std::string> subfolders;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "/" + name;
        struct statx sx {};
        if (::statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT | AT_SYMLINK_NOFOLLOW,
                    STATX_BASIC_STATS | STATX_BTIME, &sx) != 0)
            fail("statx " + path);
        if (S_ISDIR(sx.stx_mode))
            subfolders.push_back(path);
        else
            ++files;
    }
    ::closedir(dir);
    for (const std::string& sub : subfolders)
        files += walkWithSystemCalls(sub);
    return files;
}

} // namespace

void folderAdding(CTrazzleView& view, const std::string& root, long files, int runs,
                  const int& messagesShown) {
    const QByteArray folder = QByteArray::fromStdString(root);
    std::vector<double> ours;
    std::vector<double> floor;
    for (int i = 0; i < runs; ++i) {
        view.rows().clear();
        QCoreApplication::processEvents();
        ours.push_back(timed([&] {
            view.addFolder(folder, {true, false, false, {}});
            QCoreApplication::processEvents();
        }));
        floor.push_back(timed([&] {
            if (walkWithSystemCalls(root) != files)
                fail("the walk missed files");
        }));
    }
    if (view.rows().rowCount() != files || messagesShown != 0)
        fail("adding the folder did not list every file");
    char label[64];
    std::snprintf(label, sizeof label, "add a folder of %ld files", files);
    report(label, median(ours), "ms", "readdir + statx walk", median(floor), "goal <= x2.00",
           median(ours) <= 2 * median(floor));
}

void sorting(CTrazzleView& view, const std::vector<std::string>& files, int runs) {
    FileListModel& model = view.rows();
    QList<QByteArray> paths;
    for (const std::string& file : files)
        paths.append(QByteArray::fromStdString(file));
    std::mt19937 random(20241207);
    std::shuffle(paths.begin(), paths.end(), random);
    std::uniform_int_distribution<std::int64_t> someTime(946684800, 1735689600);

    // Each run starts from the same shuffled list with spread-out times, so neither sort
    // meets rows already in order.
    auto shuffledList = [&] {
        model.clear();
        view.addFiles(paths);
        std::mt19937 times(7);
        const FileListModel::ChangeBatch batch(model);
        for (int r = 0; r < model.rowCount(); ++r)
            model.stageEdit(r, std::nullopt, someTime(times), std::nullopt, model.row(r).flags());
        QCoreApplication::processEvents();
    };
    auto sortBy = [&](int column) {
        shuffledList();
        return timed([&] {
            view.sortByHeader(column);
            QCoreApplication::processEvents();
        });
    };
    std::vector<double> byName;
    std::vector<double> byTime;
    std::vector<double> peer;
    std::string names;
    for (const QByteArray& p : paths)
        names.append(p.constData(), static_cast<std::size_t>(p.size())).push_back('\n');
    for (int i = 0; i < runs; ++i) {
        byName.push_back(sortBy(ColName));
        byTime.push_back(sortBy(ColModified));
        peer.push_back(timed([&] { run({"sort", "-f", "-V"}, names); }));
    }
    model.clearStaged();
    char label[64];
    std::snprintf(label, sizeof label, "sort %d rows by name", model.rowCount());
    report(label, median(byName), "ms", "sort -f -V of the paths", median(peer), "goal <= 500 ms",
           median(byName) <= 500);
    std::snprintf(label, sizeof label, "sort %d rows by time", model.rowCount());
    reportPlain(label, median(byTime), "ms", "goal <= 500 ms", median(byTime) <= 500);
}

} // namespace kelvoro::bench
