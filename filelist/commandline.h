#pragma once

#include <QByteArray>
#include <QList>

namespace kelvoro {

struct CommandLineEntry {
    QByteArray path;
    // Blank-separated entries are added only when they open for reading; quoted ones are
    // taken as they stand.
    bool mustOpen = false;
};

// Splits a raw command-line string (the text after the program's name, as Windows hands it
// over) by the quoted and blank rules: when it starts with a quote, every stretch between two
// successive quotes is an entry unless it starts with a blank; otherwise it is cut at every
// blank.
QList<CommandLineEntry> splitRawCommandLine(const QByteArray& text);

// On POSIX the shell has already split the arguments: each is one entry to be opened.
QList<CommandLineEntry> entriesFromArguments(const QList<QByteArray>& arguments);

} // namespace kelvoro
