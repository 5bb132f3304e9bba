#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace kelvoro::platform {

// The [Desktop Entry] group of a .desktop file, as far as choosing a program needs it.
struct DesktopEntry {
    QString id; // the desktop file id: its path below applications/, '/' turned into '-'
    QString type;
    QString name; // localised when the file has a translation for the preferred locales
    QString icon;
    QString exec;
    QString tryExec;
    QString workingDirectory;
    QStringList mimeTypes;
    QStringList onlyShowIn;
    QStringList notShowIn;
    bool hidden = false;
    bool noDisplay = false;
    bool terminal = false;
};

// Locales whose Name[...] wins over the plain Name, best first.
QStringList preferredNameLocales();

// Reads the [Desktop Entry] group; empty when the content has none.
std::optional<DesktopEntry> parseDesktopEntry(const QByteArray& content,
                                              const QStringList& locales = preferredNameLocales());

// The argument vector that Exec asks for to open one file, with the path's exact bytes in place
// of %f/%F and a file URL made from them in place of %u/%U. A program without a file code gets
// the path as its last argument. Empty when Exec is malformed or uses an unknown field code.
std::optional<std::vector<std::string>> expandExec(const QString& exec, const QByteArray& path);

// The command line that runs argv in the terminal at terminalPath, whose real program (after
// the alternatives' links) is named terminalName. Terminals known to pass what follows -e on
// as separate arguments get them as they are; gnome-terminal gets them after "--"; any other
// may join them into one line for a shell, so each argument that a shell would read is quoted
// for it.
std::vector<std::string> terminalCommand(const std::string& terminalPath,
                                         const std::string& terminalName,
                                         const std::vector<std::string>& argv);

// The argument as one word of a POSIX shell command line.
std::string shellQuoted(const std::string& argument);

// The file URL of a native path, percent-encoded byte for byte.
QByteArray fileUrl(const QByteArray& path);

// XDG_DATA_HOME, then the directories of XDG_DATA_DIRS, with their defaults.
QStringList dataDirectories();

// The applications that may be offered for a file of one of these MIME types (its own type and
// its ancestors): declared for one of them, shown, runnable here. An entry in an earlier data
// directory hides one with the same id in a later one. Sorted by name.
std::vector<DesktopEntry> applicationsFor(const QStringList& mimeTypes,
                                          const QStringList& directories = dataDirectories());

// The file's MIME type and every type it derives from, from its name and first bytes.
QStringList mimeTypesOf(const QByteArray& path);

// Starts the application with the file, not waiting for it. False when it cannot be started.
bool launchWithFile(const DesktopEntry& entry, const QByteArray& path);

} // namespace kelvoro::platform
