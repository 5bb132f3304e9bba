#include "filelist/commandline.h"

namespace kelvoro {

QList<CommandLineEntry> splitRawCommandLine(const QByteArray& text) {
    QList<CommandLineEntry> entries;
    if (text.startsWith('"')) {
        qsizetype open = 0;
        for (qsizetype close = text.indexOf('"', open + 1); close >= 0;
             close = text.indexOf('"', open + 1)) {
            const QByteArray entry = text.mid(open + 1, close - open - 1);
            if (!entry.startsWith(' '))
                entries.append({entry, false});
            open = close;
        }
        return entries;
    }
    if (text.isEmpty())
        return entries;
    for (const QByteArray& entry : text.split(' '))
        entries.append({entry, true});
    return entries;
}

QList<CommandLineEntry> entriesFromArguments(const QList<QByteArray>& arguments) {
    QList<CommandLineEntry> entries;
    entries.reserve(arguments.size());
    for (const QByteArray& argument : arguments)
        entries.append({argument, true});
    return entries;
}

} // namespace kelvoro
