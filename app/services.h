#pragma once

namespace kelvoro {

class Prompt;
class SettingsStore;
namespace platform {
class FileSystem;
class Shell;
} // namespace platform

// What the program uses of the outside world; tests put fakes in.
struct Services {
    Prompt& prompt;
    platform::FileSystem& fileSystem;
    platform::Shell& shell;
    SettingsStore& settings;
};

} // namespace kelvoro
