#include "platform/shell.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

extern char** environ;

namespace kelvoro::platform {

namespace {

// Starts xdg-open with the argument's exact bytes, detached: the intermediate child exits at
// once so no zombie is left and nothing waits for the program.
void spawnDetached(const QByteArray& argument) {
    const pid_t child = ::fork();
    if (child < 0)
        return;
    if (child == 0) {
        ::setsid();
        std::string arg(argument.constData(), static_cast<std::size_t>(argument.size()));
        char program[] = "xdg-open";
        char* argv[] = {program, arg.data(), nullptr};
        pid_t grandchild = 0;
        ::posix_spawnp(&grandchild, program, nullptr, nullptr, argv, environ);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

class XdgShell : public Shell {
public:
    void openWithAssociatedProgram(const QByteArray& path) override { spawnDetached(path); }
    void chooseProgram(const QByteArray& path, QWidget*) override { spawnDetached(path); }
    void openUrl(const QUrl& url) override { spawnDetached(url.toEncoded()); }
};

} // namespace

Shell& nativeShell() {
    static XdgShell instance;
    return instance;
}

} // namespace kelvoro::platform
