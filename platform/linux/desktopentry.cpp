#include "platform/linux/desktopentry.h"

#include "platform/linux/spawn.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QSet>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <set>

namespace kelvoro::platform {

namespace {

// The escapes of a key file value: \s \n \t \r \\; any other backslash stays for Exec's own
// quoting to read.
QString unescapeValue(const QByteArray& raw) {
    QByteArray out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c != '\\' || i + 1 == raw.size()) {
            out += c;
            continue;
        }
        switch (raw[i + 1]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += c;
            continue;
        }
        ++i;
    }
    return QString::fromUtf8(out);
}

// A list value: items end with ';', and "\;" is a semicolon inside an item.
QStringList listValue(const QByteArray& raw) {
    QStringList items;
    QByteArray item;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size() && raw[i + 1] == ';') {
            item += ';';
            ++i;
        } else if (raw[i] == ';') {
            items.append(unescapeValue(item));
            item.clear();
        } else {
            item += raw[i];
        }
    }
    if (!item.isEmpty())
        items.append(unescapeValue(item));
    items.removeAll(QString());
    return items;
}

bool boolValue(const QByteArray& raw) {
    return raw == "true" || raw == "1";
}

QString canonicalMimeType(const QMimeDatabase& db, const QString& name) {
    const QMimeType type = db.mimeTypeForName(name);
    return type.isValid() ? type.name() : name;
}

bool intersects(const QStringList& a, const QStringList& b) {
    return std::any_of(a.begin(), a.end(), [&b](const QString& s) { return b.contains(s); });
}

bool isOfferable(const DesktopEntry& e, const QStringList& desktops) {
    if (e.type != u"Application" || e.hidden || e.noDisplay)
        return false;
    if (!e.onlyShowIn.isEmpty() && !intersects(e.onlyShowIn, desktops))
        return false;
    if (intersects(e.notShowIn, desktops))
        return false;
    if (!e.tryExec.isEmpty() && findProgram(QFile::encodeName(e.tryExec).toStdString()).empty())
        return false;
    const auto argv = expandExec(e.exec, QByteArrayLiteral("/"));
    if (!argv || findProgram(argv->front()).empty())
        return false;
    return !e.terminal || !findProgram("x-terminal-emulator").empty();
}

} // namespace

QStringList preferredNameLocales() {
    // The program speaks Japanese whatever the session's locale.
    return {QStringLiteral("ja_JP"), QStringLiteral("ja")};
}

std::optional<DesktopEntry> parseDesktopEntry(const QByteArray& content,
                                              const QStringList& locales) {
    DesktopEntry e;
    QHash<QString, QString> names;
    bool inGroup = false;
    bool found = false;
    for (QByteArray line : content.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            if (found && inGroup)
                break;
            inGroup = line == "[Desktop Entry]";
            found = found || inGroup;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inGroup || equals <= 0)
            continue;
        QByteArray key = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        QString locale;
        if (const qsizetype open = key.indexOf('['); open > 0 && key.endsWith(']')) {
            locale = QString::fromUtf8(key.mid(open + 1, key.size() - open - 2));
            key.truncate(open);
        }
        if (key == "Name") {
            names.insert(locale, unescapeValue(value));
            continue;
        }
        if (!locale.isEmpty())
            continue;
        if (key == "Type")
            e.type = unescapeValue(value);
        else if (key == "Icon")
            e.icon = unescapeValue(value);
        else if (key == "Exec")
            e.exec = unescapeValue(value);
        else if (key == "TryExec")
            e.tryExec = unescapeValue(value);
        else if (key == "Path")
            e.workingDirectory = unescapeValue(value);
        else if (key == "MimeType")
            e.mimeTypes = listValue(value);
        else if (key == "OnlyShowIn")
            e.onlyShowIn = listValue(value);
        else if (key == "NotShowIn")
            e.notShowIn = listValue(value);
        else if (key == "Hidden")
            e.hidden = boolValue(value);
        else if (key == "NoDisplay")
            e.noDisplay = boolValue(value);
        else if (key == "Terminal")
            e.terminal = boolValue(value);
    }
    if (!found)
        return std::nullopt;
    e.name = names.value(QString());
    for (const QString& locale : locales) {
        if (names.contains(locale)) {
            e.name = names.value(locale);
            break;
        }
    }
    return e;
}

QByteArray fileUrl(const QByteArray& path) {
    return "file://" + path.toPercentEncoding("/");
}

std::optional<std::vector<std::string>> expandExec(const QString& exec, const QByteArray& path) {
    const QByteArray line = exec.toUtf8();
    std::vector<std::string> argv;
    std::string argument;
    bool inArgument = false;
    bool keep = false; // the argument holds more than field codes that expanded to nothing
    bool quoted = false;
    bool fileGiven = false;
    auto append = [&argument](const QByteArray& bytes) {
        argument.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            // Inside quotes a field code is not one: a path spliced into a quoted shell command
            // could run any command its name spells.
            if (c == '"')
                quoted = false;
            else if (c == '\\' && i + 1 < line.size() &&
                     std::string_view("\"`$\\").find(line[i + 1]) != std::string_view::npos)
                argument += line[++i];
            else
                argument += c;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inArgument && keep)
                argv.push_back(argument);
            argument.clear();
            inArgument = keep = false;
            continue;
        }
        inArgument = true;
        if (c == '"') {
            quoted = keep = true;
        } else if (c == '\\' && i + 1 < line.size()) {
            argument += line[++i];
            keep = true;
        } else if (c == '%') {
            if (i + 1 == line.size())
                return std::nullopt;
            switch (line[++i]) {
            case '%':
                argument += '%';
                keep = true;
                break;
            case 'f':
            case 'F':
                append(path);
                keep = fileGiven = true;
                break;
            case 'u':
            case 'U':
                append(fileUrl(path));
                keep = fileGiven = true;
                break;
            // Icon, translated name and entry location are left out, as are the deprecated codes.
            case 'i':
            case 'c':
            case 'k':
            case 'd':
            case 'D':
            case 'n':
            case 'N':
            case 'v':
            case 'm':
                break;
            default:
                return std::nullopt;
            }
        } else {
            argument += c;
            keep = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inArgument && keep)
        argv.push_back(argument);
    if (argv.empty())
        return std::nullopt;
    // The user chose this program for the file, so it gets the file even without a code.
    if (!fileGiven)
        argv.emplace_back(path.constData(), static_cast<std::size_t>(path.size()));
    return argv;
}

QStringList dataDirectories() {
    QStringList directories;
    const QString home = QFile::decodeName(qgetenv("XDG_DATA_HOME"));
    if (QDir::isAbsolutePath(home))
        directories.append(home);
    else
        directories.append(QDir::homePath() + QStringLiteral("/.local/share"));
    QString system = QFile::decodeName(qgetenv("XDG_DATA_DIRS"));
    if (system.isEmpty())
        system = QStringLiteral("/usr/local/share/:/usr/share/");
    for (const QString& d : system.split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(d))
            directories.append(d);
    return directories;
}

std::vector<DesktopEntry> applicationsFor(const QStringList& mimeTypes,
                                          const QStringList& directories) {
    const QMimeDatabase db;
    QSet<QString> wanted;
    for (const QString& m : mimeTypes)
        wanted.insert(canonicalMimeType(db, m));
    const QStringList desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);

    QSet<QString> seen;
    std::vector<DesktopEntry> result;
    for (const QString& directory : directories) {
        const QDir applications(directory + QStringLiteral("/applications"));
        if (!applications.exists())
            continue;
        QStringList files;
        QDirIterator it(applications.path(), {QStringLiteral("*.desktop")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
        files.sort();
        for (const QString& file : files) {
            const QString id = applications.relativeFilePath(file).replace(u'/', u'-');
            if (seen.contains(id))
                continue;
            seen.insert(id); // also when hidden: it hides the same id further down
            QFile f(file);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            std::optional<DesktopEntry> entry = parseDesktopEntry(f.readAll());
            if (!entry || !isOfferable(*entry, desktops))
                continue;
            const bool declared = std::any_of(
                entry->mimeTypes.begin(), entry->mimeTypes.end(),
                [&](const QString& m) { return wanted.contains(canonicalMimeType(db, m)); });
            if (!declared)
                continue;
            entry->id = id;
            result.push_back(std::move(*entry));
        }
    }
    std::sort(result.begin(), result.end(), [](const DesktopEntry& a, const DesktopEntry& b) {
        const int byName = QString::localeAwareCompare(a.name, b.name);
        return byName != 0 ? byName < 0 : a.id < b.id;
    });
    return result;
}

QStringList mimeTypesOf(const QByteArray& path) {
    const QMimeDatabase db;
    const QString name = QFile::decodeName(path.mid(path.lastIndexOf('/') + 1));
    QMimeType type;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    QFile file;
    if (fd >= 0 && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        type = db.mimeTypeForFileNameAndData(name, &file);
    else if (fd >= 0)
        ::close(fd);
    if (!type.isValid())
        type = db.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    QStringList types{type.name()};
    types += type.allAncestors();
    return types;
}

std::string shellQuoted(const std::string& argument) {
    constexpr std::string_view plain = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                       "0123456789@%+=:,./-_";
    if (!argument.empty() && argument.find_first_not_of(plain) == std::string::npos)
        return argument;
    std::string quoted = "'";
    for (const char c : argument) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::vector<std::string> terminalCommand(const std::string& terminalPath,
                                         const std::string& terminalName,
                                         const std::vector<std::string>& argv) {
    // Their -e takes the program and its arguments one by one, as xterm's does.
    static const std::set<std::string_view> separate = {
        "xterm",        "uxterm", "lxterm",    "koi8rxterm", "konsole", "urxvt", "rxvt",
        "rxvt-unicode", "kitty",  "alacritty", "foot",       "st",      "mlterm"};
    std::vector<std::string> command{terminalPath};
    if (separate.contains(terminalName)) {
        command.push_back("-e");
        command.insert(command.end(), argv.begin(), argv.end());
    } else if (terminalName == "gnome-terminal") {
        command.push_back("--");
        command.insert(command.end(), argv.begin(), argv.end());
    } else {
        command.push_back("-e");
        for (const std::string& argument : argv)
            command.push_back(shellQuoted(argument));
    }
    return command;
}

bool launchWithFile(const DesktopEntry& entry, const QByteArray& path) {
    std::optional<std::vector<std::string>> argv = expandExec(entry.exec, path);
    if (!argv)
        return false;
    if (entry.terminal) {
        const std::string terminal = findProgram("x-terminal-emulator");
        if (terminal.empty())
            return false;
        // The alternatives system links the name to the terminal actually installed.
        const QString real =
            QFileInfo(QFile::decodeName(QByteArray::fromStdString(terminal))).canonicalFilePath();
        argv = terminalCommand(terminal,
                               QFile::encodeName(QFileInfo(real).fileName()).toStdString(), *argv);
    }
    return spawnDetached(*argv, QFile::encodeName(entry.workingDirectory).toStdString());
}

} // namespace kelvoro::platform
