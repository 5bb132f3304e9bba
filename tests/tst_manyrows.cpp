// Saves of many rows run on several threads: what they report and what the list says afterwards
// must be exactly what a save in row order would make true on disk.

#include "common/orderedwork.h"
#include "filelist/filelistmodel.h"
#include "platform/filesystem.h"
#include "properties/savechanges.h"
#include "rename/renamerows.h"
#include "support/forwardingfs.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>
#include <numeric>
#include <set>
#include <thread>

using namespace kelvoro;
using namespace kelvoro::platform;

namespace {

// Lists any path; writes take a little while, on as many threads as asked for, and chosen
// paths fail.
class SlowFileSystem : public FileSystem {
public:
    FileStatus readStatus(const std::string&) const override {
        FileStatus s;
        s.ok = true;
        s.modified = 200;
        return s;
    }
    // A failure is known at once; a write that works takes a while.
    FileStatus writeStatus(const std::string& path, const FileStatus&) override {
        if (failing.count(path))
            throw FileError(FileErrorCause::AccessDenied, EACCES, path);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        const std::lock_guard<std::mutex> guard(lock);
        written.insert(path);
        return readStatus(path);
    }
    bool moveNoReplace(const std::string&, const std::string&,
                       const std::optional<FileIdentity>&) override {
        return false;
    }
    bool isReadableRegularFile(const std::string&) const override { return true; }
    int openForReadingError(const std::string&) const override { return 0; }
    bool isDirectory(const std::string&) const override { return false; }
    std::size_t parallelCalls(const std::string&) const override { return threads; }

    std::size_t threads = 8;
    std::set<std::string> failing;
    std::mutex lock;
    std::set<std::string> written;
};

// The real file system on as many threads as asked for, counting the moves in flight.
class CountingFileSystem : public test::ForwardingFileSystem {
public:
    bool moveNoReplace(const std::string& from, const std::string& to,
                       const std::optional<FileIdentity>& listed) override {
        const int now = ++inFlight;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
        const bool moved = real().moveNoReplace(from, to, listed);
        --inFlight;
        return moved;
    }
    std::size_t parallelCalls(const std::string&) const override { return 8; }

    std::atomic<int> inFlight{0};
    std::atomic<int> most{0};
};

// Counts how many folders have a move in flight at once.
class FolderCountingFileSystem : public test::ForwardingFileSystem {
public:
    bool moveNoReplace(const std::string& from, const std::string& to,
                       const std::optional<FileIdentity>& listed) override {
        const std::string folder = from.substr(0, from.rfind('/'));
        {
            const std::lock_guard<std::mutex> guard(lock);
            ++moving[folder];
            mostFolders = std::max(mostFolders, moving.size());
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        const bool moved = real().moveNoReplace(from, to, listed);
        const std::lock_guard<std::mutex> guard(lock);
        if (--moving[folder] == 0)
            moving.erase(folder);
        return moved;
    }
    std::size_t parallelCalls(const std::string&) const override { return 8; }

    std::mutex lock;
    std::map<std::string, int> moving;
    std::size_t mostFolders = 0;
};

std::string rowPath(const FileListModel& model, int r) {
    return model.row(r).path().toStdString();
}

void listAndStage(FileListModel& model, FileSystem& fs, int rows, std::int64_t stamp) {
    for (int r = 0; r < rows; ++r)
        QVERIFY(model.addFile("/share/f" + QByteArray::number(r), fs));
    const FileListModel::ChangeBatch batch(model);
    for (int r = 0; r < rows; ++r)
        model.stageEdit(r, std::nullopt, stamp, std::nullopt, model.row(r).flags());
}

std::int64_t modifiedOnDisk(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return -1;
    return st.st_mtim.tv_sec;
}

} // namespace

class TestManyRows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every job runs once when nothing fails; one thread keeps the jobs in order; a failing job
    // stops every later job from starting, and a job that throws counts as failed.
    void orderedWorkRunsEachJobOnce() {
        for (const std::size_t threads : {std::size_t(0), std::size_t(1), std::size_t(4)}) {
            std::vector<std::atomic<int>> runs(500);
            std::vector<std::size_t> order;
            std::mutex lock;
            const OrderedWorkResult all =
                runOrdered(runs.size(), threads,
                           [&](std::size_t i) {
                               ++runs[i];
                               const std::lock_guard<std::mutex> guard(lock);
                               order.push_back(i);
                               return true;
                           },
                           {});
            QVERIFY(!all.firstFailure && !all.stopped);
            for (std::size_t i = 0; i < runs.size(); ++i) {
                QCOMPARE(runs[i].load(), 1);
                QVERIFY(all.done[i]);
            }
            if (threads <= 1)
                QVERIFY(std::is_sorted(order.begin(), order.end()));
        }
        std::atomic<std::size_t> highest{0};
        const OrderedWorkResult failed =
            runOrdered(1000, 4,
                       [&](std::size_t i) {
                           std::size_t seen = highest.load();
                           while (i > seen && !highest.compare_exchange_weak(seen, i)) {
                           }
                           if (i == 50)
                               return false;
                           std::this_thread::sleep_for(std::chrono::microseconds(100));
                           if (i == 40)
                               throw std::runtime_error("lost");
                           return true;
                       },
                       {});
        QCOMPARE(failed.firstFailure, std::optional<std::size_t>(40));
        QVERIFY(!failed.done[40] && !failed.done[50]);
        // Without the rule the jobs would run to the end; with it, only those the other threads
        // had taken by the time 50 failed lie beyond it.
        QVERIFY2(highest.load() < 50 + 2 * 4, qPrintable(QString::number(highest.load())));
    }

    void progressCanStopTheWork() {
        std::atomic<int> ran{0};
        const OrderedWorkResult stopped = runOrdered(
            1000, 3,
            [&](std::size_t) {
                ++ran;
                std::this_thread::sleep_for(std::chrono::microseconds(100));
                return true;
            },
            [](std::size_t done) { return done < 100; });
        QVERIFY(stopped.stopped);
        QVERIFY(!stopped.firstFailure);
        QVERIFY(ran.load() < 1000);
        QCOMPARE(int(std::count(stopped.done.begin(), stopped.done.end(), 1)), ran.load());
    }

    // The first failing row in row order is the one reported, whichever thread met it first;
    // what was written is unstaged and what was not stays staged.
    void parallelSaveReportsTheFirstFailingRow() {
        SlowFileSystem fs;
        FileListModel model;
        listAndStage(model, fs, 2000, 1600000000);
        fs.failing = {rowPath(model, 1500), rowPath(model, 700)};
        const SaveResult result = saveStagedRows(model, fs);
        QCOMPARE(result.outcome, SaveResult::Outcome::Failed);
        QCOMPARE(result.row, 700);
        QVERIFY(result.error && result.error->cause() == FileErrorCause::AccessDenied);
        int staged = 0;
        for (int r = 0; r < model.rowCount(); ++r) {
            const bool written = fs.written.count(rowPath(model, r)) > 0;
            QVERIFY2(model.row(r).staged != written, qPrintable(QString::number(r)));
            staged += model.row(r).staged;
        }
        QCOMPARE(model.stagedCount(), staged);
        QVERIFY(model.row(700).staged);
        for (int r = 0; r < 700; ++r)
            QVERIFY(!model.row(r).staged);
        QVERIFY(model.row(1500).staged);
    }

    // Cancelled part-way: the list still tells the truth about what was written.
    void cancelledParallelSaveKeepsTheRestStaged() {
        SlowFileSystem fs;
        FileListModel model;
        listAndStage(model, fs, 1000, 1600000000);
        const SaveResult result =
            saveStagedRows(model, fs, [](int done, int, int) { return done < 300; });
        QCOMPARE(result.outcome, SaveResult::Outcome::Cancelled);
        QVERIFY(result.row >= 0 && model.row(result.row).staged);
        QCOMPARE(model.stagedCount(), 1000 - int(fs.written.size()));
        for (int r = 0; r < model.rowCount(); ++r)
            QCOMPARE(model.row(r).staged, fs.written.count(rowPath(model, r)) == 0);
    }

    // Below the threshold a save is the one in row order: the failure keeps every mark.
    void smallSavesKeepEveryMarkOnFailure() {
        SlowFileSystem fs;
        FileListModel model;
        listAndStage(model, fs, kParallelSaveRows - 1, 1600000000);
        fs.failing = {rowPath(model, 10)};
        const SaveResult result = saveStagedRows(model, fs);
        QCOMPARE(result.outcome, SaveResult::Outcome::Failed);
        QCOMPARE(result.row, 10);
        QCOMPARE(model.stagedCount(), kParallelSaveRows - 1);
        QCOMPARE(int(fs.written.size()), 10);
    }

    // Rows that do not wait for each other move on several threads; the list, the results and
    // the disk end as a rename in order would leave them, a taken name included.
    void independentRenamesMoveInParallel() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray base = dir.path().toUtf8();
        CountingFileSystem fs;
        FileListModel model;
        const int rows = 600;
        for (int r = 0; r < rows; ++r)
            QVERIFY(model.addFile(test::makeFile(base, "f" + QByteArray::number(r)), fs));
        test::makeFile(base, "x_f300", "taken");
        RenameOptions front;
        front.mode = renamemode::Front;
        front.front = "x_";
        std::vector<int> all(rows);
        std::iota(all.begin(), all.end(), 0);
        const RenameResult result = renameRows(model, fs, front, all);
        QVERIFY(fs.most.load() > 1);
        QVERIFY(!result.cancelled);
        QCOMPARE(int(result.rows.size()), rows);
        for (const RowRenameResult& r : result.rows) {
            const QByteArray expected =
                r.row == 300 ? QByteArray("f300") : "x_f" + QByteArray::number(r.row);
            QCOMPARE(model.row(r.row).name, expected);
            QVERIFY(QFile::exists(QString::fromUtf8(base + '/' + expected)));
            QCOMPARE(r.failure, r.row == 300 ? RenameFailure::Exists : RenameFailure::None);
        }
        QCOMPARE(test::contentOf(base + "/x_f300"), QByteArray("taken"));
    }

    // Renames in one folder wait for each other in the kernel: the moves in flight spread over
    // the folders. A cancel keeps the moves made, and every row names what is on disk.
    void parallelRenamesSpreadOverFoldersAndStopTruthfully() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        FolderCountingFileSystem fs;
        FileListModel model;
        const int folders = 4;
        const int perFolder = 150;
        for (int f = 0; f < folders; ++f) {
            const QByteArray folder = dir.path().toUtf8() + "/d" + QByteArray::number(f);
            QVERIFY(QDir().mkdir(QString::fromUtf8(folder)));
            for (int i = 0; i < perFolder; ++i)
                QVERIFY(model.addFile(test::makeFile(folder, "f" + QByteArray::number(i)), fs));
        }
        RenameOptions front;
        front.mode = renamemode::Front;
        front.front = "x_";
        std::vector<int> all(std::size_t(model.rowCount()));
        std::iota(all.begin(), all.end(), 0);
        const int stopAt = 250;
        const RenameResult result =
            renameRows(model, fs, front, all, [&](int done, int, int) { return done < stopAt; });
        QVERIFY(result.cancelled);
        QCOMPARE(fs.mostFolders, std::size_t(folders));
        int renamed = 0;
        for (int r = 0; r < model.rowCount(); ++r) {
            const FileRow& row = model.row(r);
            QVERIFY2(QFile::exists(QString::fromUtf8(row.path())), row.path().constData());
            renamed += row.name.startsWith("x_") ? 1 : 0;
        }
        QVERIFY(renamed >= stopAt && renamed < model.rowCount());
        int reported = 0;
        for (const RowRenameResult& r : result.rows)
            reported += r.name == StepOutcome::Moved ? 1 : 0;
        QCOMPARE(reported, renamed);
    }

    // A chain, each row's new name another row's current one, keeps the safe order.
    void chainedRenamesKeepTheirOrder() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray base = dir.path().toUtf8();
        CountingFileSystem fs;
        FileListModel model;
        const int rows = 300;
        for (int r = 0; r < rows; ++r)
            QVERIFY(model.addFile(
                test::makeFile(base, QByteArray::number(r + 1), QByteArray::number(r + 1)), fs));
        RenameOptions next;
        next.numbering = {true, 2, 1, 1, NumberPosition::InsteadOfName, {}, {}};
        std::vector<int> all(rows);
        std::iota(all.begin(), all.end(), 0);
        renameRows(model, fs, next, all);
        QCOMPARE(fs.most.load(), 1);
        for (int r = 0; r < rows; ++r)
            QCOMPARE(test::contentOf(base + '/' + QByteArray::number(r + 2)),
                     QByteArray::number(r + 1));
    }

    // On real files: an immutable file and a removed one in the middle of a large save.
    void realFilesMatchTheirMarks() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        FileSystem& fs = nativeFileSystem();
        FileListModel model;
        const int rows = 1200;
        for (int r = 0; r < rows; ++r)
            QVERIFY(model.addFile(test::makeFile(dir.path().toUtf8(), "f" + QByteArray::number(r)),
                                  fs));
        const std::string locked = rowPath(model, 900);
        if (std::system(("chattr +i '" + locked + "' 2>/dev/null").c_str()) != 0)
            QSKIP("chattr +i is refused on this file system; nothing else denies root a write");
        QCOMPARE(::unlink(rowPath(model, 400).c_str()), 0);
        const std::int64_t stamp = 1500000000;
        {
            const FileListModel::ChangeBatch batch(model);
            for (int r = 0; r < rows; ++r)
                model.stageEdit(r, std::nullopt, stamp, std::nullopt, model.row(r).flags());
        }
        const SaveResult result = saveStagedRows(model, fs);
        std::system(("chattr -i '" + locked + "'").c_str());
        QCOMPARE(result.outcome, SaveResult::Outcome::Failed);
        QCOMPARE(result.row, 400);
        for (int r = 0; r < rows; ++r)
            QCOMPARE(model.row(r).staged, modifiedOnDisk(rowPath(model, r)) != stamp);
    }
};

QTEST_GUILESS_MAIN(TestManyRows)
#include "tst_manyrows.moc"
