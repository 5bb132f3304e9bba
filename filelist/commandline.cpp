#include "filelist/commandline.h"

namespace kelvoro {

QList<CommandLineEntry> entriesFromArguments(const QList<QByteArray>& arguments) {
    QList<CommandLineEntry> entries;
    entries.reserve(arguments.size());
    // A NUL byte would end the path early in every system call, naming another file.
    for (const QByteArray& argument : arguments)
        if (!argument.contains('\0'))
            entries.append({argument, true});
    return entries;
}

} // namespace kelvoro
