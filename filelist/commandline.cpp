#include "filelist/commandline.h"

namespace kelvoro {

QList<CommandLineEntry> entriesFromArguments(const QList<QByteArray>& arguments) {
    QList<CommandLineEntry> entries;
    entries.reserve(arguments.size());
    for (const QByteArray& argument : arguments)
        entries.append({argument, true});
    return entries;
}

} // namespace kelvoro
