// Desktop entries and their Exec lines: the file's bytes reach the program whole, as one
// argument or inside one, never split or spliced into quoting; a terminal's shell line splits
// back into the same words.
#include "platform/linux/desktopentry.h"

#include <cstdint>
#include <cstdlib>

using namespace kelvoro::platform;

namespace {

const QByteArray kPath = "/d/a b/it's \"$(x)\" `y`;\\\xff.txt";

bool holdsThePath(const std::vector<std::string>& argv) {
    const std::string path = kPath.toStdString();
    const std::string url = fileUrl(kPath).toStdString();
    for (const std::string& argument : argv)
        if (argument.find(path) != std::string::npos || argument.find(url) != std::string::npos)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<DesktopEntry> entry = parseDesktopEntry(content, {QStringLiteral("ja")});
    const QString exec = entry ? entry->exec : QString::fromUtf8(content);
    const std::optional<std::vector<std::string>> argv = expandExec(exec, kPath);
    if (!argv)
        return 0;
    if (argv->empty() || !holdsThePath(*argv))
        std::abort();
    for (const char* terminal : {"xterm", "gnome-terminal", "lxterminal"}) {
        const std::vector<std::string> command = terminalCommand("/t", terminal, *argv);
        if (command.size() != argv->size() + 2)
            std::abort();
    }
    for (const std::string& argument : *argv) {
        const std::string quoted = shellQuoted(argument);
        if (quoted.empty() ||
            (quoted != argument && (quoted.front() != '\'' || quoted.back() != '\'')))
            std::abort();
    }
    return 0;
}
