// Measures Kelvoro at the scale of a photo archive: N files added (one by one and as a folder),
// selected, painted, sorted, saved and renamed, each beside the same work done by bare system
// calls or by common tools.

#include "app/kelvoroapp.h"
#include "bench/benchtools.h"
#include "bench/listbench.h"
#include "bench/sharebench.h"
#include "common/datefinder.h"
#include "filelist/listundo.h"
#include "filelist/trazzleview.h"
#include "properties/stagetimes.h"
#include "rename/renameplan.h"
#include "rename/renamepreview.h"
#include "rename/renamerows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScrollBar>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

namespace {

using namespace kelvoro;
using namespace kelvoro::bench;

class Bench {
public:
    Bench(const Options& options, const std::string& self) : m_options(options), m_self(self) {}

    void startUp();
    void memory(const Tree& tree);
    void adding(const Tree& tree);
    void selectAndPaint();
    void timeTools();
    void saving();
    void renaming();
    void renamePreview();
    void removing();

private:
    // The medians of several measurements taken in turns, so that a slow spell of the machine
    // or a cache warmed by one of them weighs on all alike.
    std::vector<double> inTurns(const std::vector<std::function<double()>>& measurements) const {
        std::vector<std::vector<double>> times(measurements.size());
        for (int i = 0; i < m_options.runs; ++i)
            for (std::size_t m = 0; m < measurements.size(); ++m)
                times[m].push_back(measurements[m]());
        std::vector<double> medians;
        for (const std::vector<double>& t : times)
            medians.push_back(median(t));
        return medians;
    }
    std::vector<double> repeat(const std::function<double()>& f) const {
        std::vector<double> v;
        for (int i = 0; i < m_options.runs; ++i)
            v.push_back(f());
        return v;
    }

    const Options& m_options;
    std::string m_self;
};

// The same steps as main() up to the first painted window, in a fresh process each time:
// from the spawn to the end of the first paint of the list, with the offscreen platform.
void Bench::startUp() {
    const std::string scratch = std::filesystem::temp_directory_path() / "kelvoro-bench-home";
    std::vector<double> times;
    for (int i = 0; i < m_options.runs; ++i) {
        std::filesystem::remove_all(scratch);
        std::filesystem::create_directories(scratch);
        const Clock::time_point start = Clock::now();
        double painted = -1;
        run({m_self, "--child-startup", scratch}, {}, {},
            [&](const std::string&) { painted = msSince(start); });
        if (painted < 0)
            fail("the start-up child did not paint");
        times.push_back(painted);
    }
    std::filesystem::remove_all(scratch);
    const double t = median(times);
    reportPlain("start-up to first painted window", t, "ms", "goal <= 300 ms", t <= 300);
}

void Bench::memory(const Tree& tree) {
    const std::string out =
        run({m_self, "--child-memory", tree.root(), std::to_string(m_options.files)});
    long empty = 0;
    long full = 0;
    long staged = 0;
    long saved = 0;
    if (std::sscanf(out.c_str(), "%ld %ld %ld %ld", &empty, &full, &staged, &saved) != 4)
        fail("the memory child gave no figures");
    const double added = static_cast<double>(full - empty) / 1024;
    std::printf("%-34s %9.1f MB\n", "resident, empty window", static_cast<double>(empty) / 1024);
    char label[64];
    std::snprintf(label, sizeof label, "resident, %ld rows", m_options.files);
    std::printf("%-34s %9.1f MB\n", label, static_cast<double>(full) / 1024);
    // 100 MB for the usual 100,000 rows; beyond, 400 MB a million, growing no faster than the
    // rows.
    const double goal =
        m_options.files <= 100000 ? 100 : 400 * static_cast<double>(m_options.files) / 1e6;
    char goalText[40];
    std::snprintf(goalText, sizeof goalText, "goal <= %.0f MB", goal);
    reportPlain("resident added by the rows", added, "MB", goalText, added <= goal);
    // Each step keeps what it needs of the rows it touched; beside the rows' own figure. The
    // usual list and one step fit the rows' goal together; a larger list's step stays below
    // what its rows take.
    const double stageStep = static_cast<double>(staged - full) / 1024;
    const double saveStep = static_cast<double>(saved - staged) / 1024;
    const bool usual = m_options.files <= 100000;
    if (usual)
        std::snprintf(goalText, sizeof goalText, "rows + step <= %.0f MB", goal);
    else
        std::snprintf(goalText, sizeof goalText, "step <= rows");
    const auto fits = [&](double step) { return usual ? added + step <= goal : step <= added; };
    report("undo history: staging every row", stageStep, "MB", "the rows themselves", added,
           goalText, fits(stageStep));
    report("undo history: saving every row", saveStep, "MB", "the rows themselves", added, goalText,
           fits(saveStep));
}

} // namespace

namespace {

App* g_app = nullptr;

void Bench::adding(const Tree& tree) {
    CTrazzleView& view = *g_app->frame.view();
    QList<QByteArray> paths;
    for (const std::string& p : tree.paths())
        paths.append(QByteArray(p.data(), static_cast<qsizetype>(p.size())));

    const std::vector<double> m = inTurns({
        [&] {
            view.rows().clear();
            QCoreApplication::processEvents();
            return timed([&] {
                view.addFiles(paths);
                QCoreApplication::processEvents();
            });
        },
        [&] { return timed([&] { statxEach(tree.paths()); }); },
    });
    if (view.rows().rowCount() != m_options.files || g_app->prompt.shown != 0)
        fail("adding did not list every file");
    char label[64];
    std::snprintf(label, sizeof label, "add %ld files (addFiles)", m_options.files);
    report(label, m[0], "ms", "statx loop", m[1], "goal <= x2.00", m[0] <= 2 * m[1]);
}

void Bench::selectAndPaint() {
    CTrazzleView& view = *g_app->frame.view();
    std::vector<double> select;
    std::vector<double> paint;
    for (int i = 0; i < m_options.runs; ++i) {
        view.clearSelection();
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
        QCoreApplication::processEvents();
        view.viewport()->repaint();
        select.push_back(timed([&] {
            g_app->frame.runCommand(ID_EDIT_SELECT_ALL);
            QCoreApplication::processEvents();
        }));
        paint.push_back(timed([&] { view.viewport()->repaint(); }));
        if (view.selectedCount() != view.rows().rowCount())
            fail("select all missed rows");
    }
    const double s = median(select);
    const double p = median(paint);
    char label[64];
    std::snprintf(label, sizeof label, "select all %d rows", view.rows().rowCount());
    std::printf("%-34s %9.1f ms\n", label, s);
    std::printf("%-34s %9.1f ms\n", "repaint of the visible rows", p);
    reportPlain("select all + repaint", s + p, "ms", "goal <= 50 ms", s + p <= 50);
}

// The time tools on every row: the modification time shifted by an hour and staged as the
// command stages it; then the search for a date in every name.
void Bench::timeTools() {
    FileListModel& model = g_app->frame.view()->rows();
    std::vector<int> all(static_cast<std::size_t>(model.rowCount()));
    std::iota(all.begin(), all.end(), 0);
    TimeChoices choices{};
    choices[static_cast<std::size_t>(TimeField::Modified)] = {TimeSource::Shift, 3600};
    std::vector<std::string> names;
    const std::vector<double> shift = repeat([&] {
        model.clearStaged();
        const double t = timed([&] {
            TimeToolsInput input = timeToolsInput(model, all);
            stageTimePlan(model, all, planTimeChanges(timeToolRows(input.times), choices));
            QCoreApplication::processEvents();
            names = std::move(input.names);
        });
        if (model.stagedCount() != model.rowCount())
            fail("the shift left rows unstaged");
        return t;
    });
    model.clearStaged();
    const std::vector<double> found = repeat([&] {
        return timed([&] {
            for (const std::string& name : names)
                nameDate(name);
        });
    });
    char label[64];
    std::snprintf(label, sizeof label, "shift %zu rows by 1 h, staged", all.size());
    reportPlain(label, median(shift), "ms", "goal <= 500 ms", median(shift) <= 500);
    std::snprintf(label, sizeof label, "dates in %zu names", names.size());
    reportPlain(label, median(found), "ms", "goal <= 500 ms", median(found) <= 500);
}

// Times and one flag changed on every row, then one save; the floor makes the calls the
// backend makes for such a row on a generic file system: read the state, write the attribute
// blob and the times, read back what was stored.
void Bench::saving() {
    CTrazzleView& view = *g_app->frame.view();
    FileListModel& model = view.rows();
    const std::vector<std::string> paths = rowPaths(model);
    std::int64_t stamp = 1500000000;
    auto stageAll = [&](bool changeFlag) {
        stamp += 86400;
        for (int r = 0; r < model.rowCount(); ++r) {
            RowFlags flags = model.row(r).flags();
            if (changeFlag)
                flags.archive = !flags.archive;
            model.stageEdit(r, std::nullopt, stamp, stamp, flags);
        }
    };
    auto save = [&] {
        g_app->frame.runCommand(ID_FILE_SAVE);
        if (model.stagedCount() != 0)
            fail("the save failed");
    };
    const std::vector<double> kelvoro = repeat([&] {
        stageAll(true);
        return timed(save);
    });
    bool archive = false;
    const std::vector<double> floor = repeat([&] {
        stamp += 86400;
        archive = !archive;
        return timed([&] { saveEach(paths, stamp, archive); });
    });
    char label[64];
    std::snprintf(label, sizeof label, "save %d rows (times + a flag)", model.rowCount());
    const double k = median(kelvoro);
    const double f = median(floor);
    report(label, k, "ms", "same system calls", f, "goal <= x1.00", k <= f);

    const std::vector<double> timesOnly = repeat([&] {
        stageAll(false);
        return timed(save);
    });
    const std::string input = nulSeparated(paths);
    const std::vector<double> touch = repeat([&] {
        stamp += 86400;
        const std::string when = "@" + std::to_string(stamp);
        return timed([&] { run({"xargs", "-0", "touch", "-d", when, "--"}, input); });
    });
    std::snprintf(label, sizeof label, "save %d rows (times only)", model.rowCount());
    const double t = median(timesOnly);
    const double p = median(touch);
    report(label, t, "ms", "touch -d via xargs", p, "goal <= x1.20", t <= 1.2 * p);
}

// Every row renamed (insert at the front), then renamed back outside the timing.
void Bench::renaming() {
    FileListModel& model = g_app->frame.view()->rows();
    const std::vector<std::string> before = rowPaths(model);
    std::vector<std::string> after;
    after.reserve(before.size());
    for (int r = 0; r < model.rowCount(); ++r) {
        const FileRow& row = model.row(r);
        after.push_back((row.directory + "/x_" + row.name).toStdString());
    }
    RenameOptions options;
    options.mode = renamemode::Front;
    options.front = "x_";
    std::vector<int> rows(static_cast<std::size_t>(model.rowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    const std::string input = nulSeparated(before);
    const std::vector<double> m = inTurns({
        [&] {
            const double t =
                timed([&] { renameRows(model, platform::nativeFileSystem(), options, rows); });
            moveEach(after, before);
            for (int r = 0; r < model.rowCount(); ++r)
                model.setName(r, model.row(r).name.mid(2));
            if (model.row(0).path().toStdString() != before.front())
                fail("the rename did not rename");
            return t;
        },
        [&] {
            const double t = timed([&] { moveEach(before, after); });
            moveEach(after, before);
            return t;
        },
        [&] {
            const double t = timed([&] {
                run({"xargs", "-0", "rename", "s{/([^/]+)$}{/x_$1}"}, input);
            });
            moveEach(after, before);
            return t;
        },
    });
    char label[64];
    std::snprintf(label, sizeof label, "rename %d files (insert front)", model.rowCount());
    const double k = m[0];
    const double f = m[1];
    const double p = m[2];
    report(label, k, "ms", "renameat2 loop", f, "goal <= x1.20", k <= 1.2 * f);
    report(label, k, "ms", "Perl rename via xargs", p, "goal < x1.00", k < p);

    // A rename leaves the list's index to be rebuilt by the next add.
    renameRows(model, platform::nativeFileSystem(), options, rows);
    const double rebuild = timed([&] { model.contains(QByteArray("/")); });
    moveEach(after, before);
    for (int r = 0; r < model.rowCount(); ++r)
        model.setName(r, model.row(r).name.mid(2));
    std::printf("%-34s %9.1f ms\n", "index rebuilt by the next add", rebuild);
}

// The rename dialog's preview at the whole list: the first page of new names after a key
// press, all conflicts and counts worked out, and the order of the moves for every row.
void Bench::renamePreview() {
    const FileListModel& model = g_app->frame.view()->rows();
    std::vector<RenameSource> sources;
    sources.reserve(std::size_t(model.rowCount()));
    for (int r = 0; r < model.rowCount(); ++r)
        sources.push_back({model.row(r).directory, model.row(r).name});
    RenameOptions options;
    options.mode = renamemode::Replace;
    options.find = "^f";
    options.replacement = "photo_$0";
    options.regularExpression = true;
    options.numbering = {true, 1, 1, 6, NumberPosition::AfterName, "_", {}};
    options.letterCase = LetterCase::Upper;
    constexpr int kPage = 40;
    RenamePreviewModel preview(sources);
    const std::vector<double> page = repeat([&] {
        QEventLoop loop;
        QObject::connect(&preview, &RenamePreviewModel::analysisFinished, &loop, &QEventLoop::quit);
        options.numbering.start += 1; // a key press: new options every time
        const double t = timed([&] {
            preview.setOptions(options);
            for (int r = 0; r < kPage; ++r)
                preview.data(preview.index(r, RenamePreviewModel::ColNew), Qt::DisplayRole);
        });
        loop.exec();
        return t;
    });
    const std::vector<double> counts = repeat([&] {
        QEventLoop loop;
        QObject::connect(&preview, &RenamePreviewModel::analysisFinished, &loop, &QEventLoop::quit);
        options.numbering.start += 1;
        return timed([&] {
            preview.setOptions(options);
            loop.exec();
        });
    });
    if (preview.analysis()->changing != qsizetype(sources.size()))
        fail("the preview did not rename every row");
    const std::vector<double> plan = repeat([&] {
        return timed([&] {
            FolderNames folders;
            const RenameAnalysis a = analyseRenames(sources, options, folders);
            planMoves(sources, a, folders);
        });
    });
    char label[64];
    std::snprintf(label, sizeof label, "preview, first %d of %d rows", kPage, model.rowCount());
    reportPlain(label, median(page), "ms", "goal <= 16 ms", median(page) <= 16);
    std::snprintf(label, sizeof label, "preview, counts of %d rows", model.rowCount());
    reportPlain(label, median(counts), "ms", "goal <= 1000 ms", median(counts) <= 1000);
    std::snprintf(label, sizeof label, "move plan for %d renames", model.rowCount());
    reportPlain(label, median(plan), "ms", "goal <= 500 ms", median(plan) <= 500);
}

// Every other row removed: the worst case for removal by ranges.
void Bench::removing() {
    FileListModel& model = g_app->frame.view()->rows();
    g_app->frame.view()->clearSelection();
    const int rows = model.rowCount();
    std::vector<int> odd;
    for (int r = 1; r < rows; r += 2)
        odd.push_back(r);
    const double t = timed([&] {
        model.removeRowList(odd);
        QCoreApplication::processEvents();
    });
    if (model.rowCount() != rows - static_cast<int>(odd.size()))
        fail("removal left the wrong number of rows");
    char label[64];
    std::snprintf(label, sizeof label, "remove %zu scattered rows", odd.size());
    std::printf("%-34s %9.1f ms\n", label, t);
}

int childStartUp(int argc, char** argv) {
    QApplication application(argc, argv);
    MessageBoxPrompt prompt;
    SettingsStore settings;
    Services services{prompt, platform::nativeFileSystem(), platform::nativeShell(), settings};
    CKelvoroApp theApp(services);
    if (!theApp.InitInstance({}))
        return 1;
    QWidget* list = theApp.mainFrame()->view()->viewport();
    struct FirstPaint : QObject {
        QWidget* list = nullptr;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (watched == list && event->type() == QEvent::Paint) {
                list = nullptr;
                // After the paint has finished and reached the window's buffer.
                QTimer::singleShot(0, [] {
                    std::fputs("painted\n", stdout);
                    std::fflush(stdout);
                    QCoreApplication::quit();
                });
            }
            return false;
        }
    } firstPaint;
    firstPaint.list = list;
    list->installEventFilter(&firstPaint);
    return application.exec();
}

int childMemory(const std::string& root, long files) {
    int argc = 1;
    char name[] = "kelvoro_bench";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    App app;
    QCoreApplication::processEvents();
    const long empty = residentKb();
    {
        // Freed before the measurement: only what the list keeps counts.
        QList<QByteArray> paths;
        for (long i = 0; i < files; ++i) {
            const std::string p = root + "/" + fileName(i);
            paths.append(QByteArray(p.data(), static_cast<qsizetype>(p.size())));
        }
        app.frame.view()->addFiles(paths);
    }
    QCoreApplication::processEvents();
    app.frame.view()->viewport()->repaint();
    if (app.frame.view()->rows().rowCount() != files)
        return 1;
    const long full = residentKb();
    // One step that staged every row, then the save of them all, each kept for undo.
    FileListModel& model = app.frame.view()->rows();
    std::vector<int> rows(static_cast<std::size_t>(model.rowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    auto* step = new StageStep("bench", model, rows);
    for (const int r : rows)
        model.stageEdit(r, std::nullopt, 1500000000, 1500000000, model.row(r).flags());
    if (!step->finish())
        return 1;
    app.frame.undoStack()->push(step);
    QCoreApplication::processEvents();
    const long staged = residentKb();
    app.frame.runCommand(ID_FILE_SAVE);
    QCoreApplication::processEvents();
    if (model.stagedCount() != 0 || app.frame.undoStack()->count() != 2)
        return 1;
    std::printf("%ld %ld %ld %ld\n", empty, full, staged, residentKb());
    return 0;
}

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                fail(a + " needs a value");
            return argv[++i];
        };
        if (a == "--files")
            o.files = std::stol(value());
        else if (a == "--dir")
            o.directory = value();
        else if (a == "--runs")
            o.runs = std::stoi(value());
        else if (a == "--only")
            o.only = value();
        else if (a == "--share-files")
            o.shareFiles = std::stol(value());
        else if (a == "--latency-ms")
            o.latencyMs = std::stod(value());
        else if (a == "--fresh-tree")
            o.freshTree = true;
        else
            fail("usage: kelvoro_bench [--files N] [--dir DIRECTORY] [--runs R] [--only LIST] "
                 "[--share-files N] [--latency-ms MS] [--fresh-tree]");
    }
    if (o.files < 1 || o.runs < 1 || o.shareFiles < 1 || o.latencyMs < 0)
        fail("--files, --runs and --share-files must be positive, --latency-ms not negative");
    if (o.directory.empty())
        o.directory = std::filesystem::temp_directory_path();
    return o;
}

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    try {
        const std::string self = std::filesystem::read_symlink("/proc/self/exe");
        if (argc == 3 && std::strcmp(argv[1], "--child-startup") == 0) {
            // A fresh home and working directory: no saved placement, no ./quib.ini.
            ::setenv("HOME", argv[2], 1);
            ::setenv("XDG_CONFIG_HOME", argv[2], 1);
            if (::chdir(argv[2]) != 0)
                return 1;
            int qtArgc = 1;
            return childStartUp(qtArgc, argv);
        }
        if (argc == 4 && std::strcmp(argv[1], "--child-memory") == 0)
            return childMemory(argv[2], std::stol(argv[3]));

        const Options options = parse(argc, argv);
        // Keep the user's settings and working directory out of it.
        const std::string home = std::filesystem::temp_directory_path() / "kelvoro-bench-home";
        std::filesystem::create_directories(home);
        ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        if (::chdir(home.c_str()) != 0)
            fail("cannot enter " + home);

        Bench bench(options, self);
        std::printf("kelvoro_bench: %ld files, median of %d runs\n", options.files, options.runs);
        if (options.wants("startup"))
            bench.startUp();

        const Clock::time_point made = Clock::now();
        Tree tree(options.directory, options.files,
                  options.freshTree ? Tree::Lifetime::KeptMadeAnew : Tree::Lifetime::Kept);
        if (tree.reused())
            std::printf("tree %s (%s), kept from an earlier run\n", tree.root().c_str(),
                        fileSystemName(tree.root()).c_str());
        else
            std::printf("tree %s (%s), made in %.0f ms\n", tree.root().c_str(),
                        fileSystemName(tree.root()).c_str(), msSince(made));
        if (options.wants("memory"))
            bench.memory(tree);

        int qtArgc = 1;
        QApplication application(qtArgc, argv);
        App app;
        g_app = &app;
        bench.adding(tree);
        if (options.wants("folder"))
            folderAdding(*app.frame.view(), tree.root(), options.files, options.runs,
                         app.prompt.shown);
        if (options.wants("sort"))
            sorting(*app.frame.view(), tree.paths(), options.runs);
        if (options.wants("select"))
            bench.selectAndPaint();
        if (options.wants("times"))
            bench.timeTools();
        if (options.wants("save"))
            bench.saving();
        if (options.wants("rename"))
            bench.renaming();
        if (options.wants("preview"))
            bench.renamePreview();
        if (options.wants("remove"))
            bench.removing();
        if (options.wants("share"))
            shareFigures(app, options);
        g_app = nullptr;
        tree.keep();
        std::filesystem::remove_all(home);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kelvoro_bench: %s\n", e.what());
        return 2;
    }
}
