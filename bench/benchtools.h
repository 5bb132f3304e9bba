#pragma once

// What every figure of the benchmark shares: its options, the temporary tree, the window it
// measures, running other programs and printing a figure beside its floor.

#include "app/mainframe.h"
#include "app/services.h"
#include "app/settingsstore.h"
#include "filelist/trazzleview.h"
#include "platform/filesystem.h"
#include "platform/shell.h"
#include "presentation/prompt.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kelvoro {
class FileListModel;
}

namespace kelvoro::bench {

using Clock = std::chrono::steady_clock;

inline constexpr int kFilesPerDirectory = 1000;

struct Options {
    long files = 100000;
    std::string directory;
    int runs = 5;
    std::string only;        // comma-separated figure names; empty for all
    long shareFiles = 10000; // for the figures through the latency file system
    double latencyMs = 1;
    bool freshTree = false; // make the kept tree anew
    bool wants(const char* figure) const {
        return only.empty() ||
               ("," + only + ",").find(std::string(",") + figure + ",") != std::string::npos;
    }
};

[[noreturn]] void fail(const std::string& what);

double msSince(Clock::time_point start);

double median(std::vector<double> v);

// Resident set size of this process in kB.
long residentKb();

std::string fileSystemName(const std::string& path);

// A prompt that answers nothing: the benchmark never expects a question or a message.
class CountingPrompt : public Prompt {
public:
    void information(QWidget*, const QString& text) override { note(text); }
    void exclamation(QWidget*, const QString& text) override { note(text); }
    void stop(QWidget*, const QString& text) override { note(text); }
    bool confirm(QWidget*, const QString& text) override {
        note(text);
        return true;
    }
    Answer yesNoCancel(QWidget*, const QString& text) override {
        note(text);
        return Answer::No;
    }
    int shown = 0;
    std::string last; // for the failure a figure reports

private:
    void note(const QString& text) {
        ++shown;
        last = text.toStdString();
    }
};

class NoShell : public platform::Shell {
public:
    void openWithAssociatedProgram(const QByteArray&) override {}
    void chooseProgram(const QByteArray&, QWidget*) override {}
    void openUrl(const QUrl&) override {}
};

std::string fileName(long i);

// The temporary tree: N empty files, a thousand to a directory. Removed on destruction.
class Tree {
public:
    // A kept tree is named by its size and made only when no earlier run left it whole; a
    // million files take minutes to make. Any other tree is removed with the object.
    enum class Lifetime { Temporary, Kept, KeptMadeAnew };
    Tree(const std::string& parent, long files, Lifetime lifetime = Lifetime::Temporary);
    ~Tree();
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;

    const std::string& root() const { return m_root; }
    const std::vector<std::string>& paths() const { return m_paths; }
    bool reused() const { return m_reused; }
    // A kept tree is whole again: the next run may use it.
    void keep();

private:
    void make(long files);
    std::string completeMark() const { return m_root + ".complete"; }

    std::string m_root;
    std::vector<std::string> m_paths;
    bool m_kept = false;
    bool m_reused = false;
};

// Runs a program with the given bytes on its standard input; returns its standard output.
// The program's exit status must be 0.
std::string run(const std::vector<std::string>& argv, const std::string& input = {},
                const std::vector<std::string>& extraEnvironment = {},
                const std::function<void(const std::string&)>& onFirstLine = {});

// One figure beside its reference.
void report(const char* what, double value, const char* unit, const char* reference,
            double referenceValue, const char* goal = "", bool met = true);
void reportPlain(const char* what, double value, const char* unit, const char* goal, bool met);

template <typename F> double timed(F&& f) {
    const Clock::time_point start = Clock::now();
    f();
    return msSince(start);
}

// The bytes of a row's path, for the system calls of the floors.
std::vector<std::string> rowPaths(const FileListModel& model);

std::string nulSeparated(const std::vector<std::string>& paths);

// The benchmark's window and its services, as main() builds them.
struct App {
    CountingPrompt prompt;
    NoShell shell;
    SettingsStore settings;
    Services services{prompt, platform::nativeFileSystem(), shell, settings};
    CMainFrame frame{services};

    App() {
        frame.show();
        QCoreApplication::processEvents();
        frame.view()->viewport()->repaint();
    }
};

// The floors: the system calls Kelvoro's work needs, made one file at a time.
void statxEach(const std::vector<std::string>& paths);
// What a save of new times and attributes does per file on a generic file system: read the
// state, write the attribute blob and the times, read the state back.
void saveEach(const std::vector<std::string>& paths, std::int64_t stamp, bool archive);
void moveEach(const std::vector<std::string>& from, const std::vector<std::string>& to);

} // namespace kelvoro::bench
