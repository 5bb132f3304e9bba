#include "filelist/commandline.h"

#include <cstring>

namespace kelvoro {

namespace {

// A NUL byte would end the path early in every system call, naming another file.
bool holdsNul(const QByteArray& entry) {
    return std::memchr(entry.constData(), 0, static_cast<std::size_t>(entry.size())) != nullptr;
}

} // namespace

QList<CommandLineEntry> splitRawCommandLine(const QByteArray& text) {
    QList<CommandLineEntry> entries;
    if (text.startsWith('"')) {
        qsizetype open = 0;
        for (qsizetype close = text.indexOf('"', open + 1); close >= 0;
             close = text.indexOf('"', open + 1)) {
            const QByteArray entry = text.mid(open + 1, close - open - 1);
            if (!entry.startsWith(' ') && !holdsNul(entry))
                entries.append({entry, false});
            open = close;
        }
        return entries;
    }
    if (text.isEmpty())
        return entries;
    for (const QByteArray& entry : text.split(' '))
        if (!holdsNul(entry))
            entries.append({entry, true});
    return entries;
}

QList<CommandLineEntry> entriesFromArguments(const QList<QByteArray>& arguments) {
    QList<CommandLineEntry> entries;
    entries.reserve(arguments.size());
    for (const QByteArray& argument : arguments)
        if (!holdsNul(argument))
            entries.append({argument, true});
    return entries;
}

} // namespace kelvoro
