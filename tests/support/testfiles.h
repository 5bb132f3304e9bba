#pragma once

#include "app/services.h"
#include "app/settingsstore.h"
#include "filelist/commandcontext.h"
#include "filelist/trazzleview.h"
#include "platform/filesystem.h"
#include "support/fakeprompt.h"
#include "support/fakeshell.h"

#include <QByteArray>
#include <QByteArrayList>

#include <cstdint>
#include <string>

namespace kelvoro::test {

// Creates a file with the given content; returns its native path.
QByteArray makeFile(const QByteArray& directory, const QByteArray& name,
                    const QByteArray& content = "x");
// Sets modification and access time (whole seconds).
void setTimes(const QByteArray& path, std::int64_t modified, std::int64_t accessed);
// Seconds since the epoch of a wall-clock time in the named zone, by Qt's own time zone code.
std::int64_t secondsAt(const char* zone, int year, int month, int day, int hour, int minute,
                       int second);
// Switches the process's local time zone.
void setTimeZone(const char* zone);
std::string toStd(const QByteArray& bytes);
// The file's first bytes, or "<missing>" when it does not open.
QByteArray contentOf(const QByteArray& path);
// The names of the regular files in the directory, sorted, as native bytes.
QByteArrayList namesIn(const QByteArray& directory);

// Real file system, fake prompt and shell, real settings (in the test's temporary home).
struct TestServices {
    FakePrompt prompt;
    FakeShell shell;
    SettingsStore settings;
    Services services{prompt, platform::nativeFileSystem(), shell, settings};

    // What the commands of a list without a window work with.
    CommandContext contextFor(CTrazzleView& view) {
        return {view, &view, prompt, services.fileSystem, shell, {}, nullptr};
    }
};

} // namespace kelvoro::test
