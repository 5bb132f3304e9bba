#pragma once

#include <QByteArray>
#include <QList>

namespace kelvoro {

struct CommandLineEntry {
    QByteArray path;
    // Added only when the file opens for reading.
    bool mustOpen = false;
};

// The shell has already split the arguments: each is one entry to be opened.
QList<CommandLineEntry> entriesFromArguments(const QList<QByteArray>& arguments);

} // namespace kelvoro
