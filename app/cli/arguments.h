#pragma once

#include "app/cli/timevalue.h"
#include "rename/newname.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace kelvoro::cli {

enum class Command { Help, Version, Show, Set, Rename };

// The four flags a set may change; an empty one is left as the file has it.
struct FlagRequest {
    std::optional<bool> readOnly;
    std::optional<bool> hidden;
    std::optional<bool> archive;
    std::optional<bool> index; // the file may be content-indexed

    bool any() const { return readOnly || hidden || archive || index; }
};

struct Request {
    Command command = Command::Help;
    Command helpFor = Command::Help; // which command's help --help asked for
    bool json = false;
    bool dryRun = false;
    bool nullSeparated = false; // "-" reads NUL-separated paths
    bool recursive = false;     // folders stand for the files below them
    // The new created, modified and accessed times, in that order; empty: left as they are.
    std::array<std::optional<TimeValue>, kTimeFieldCount> times;
    FlagRequest flags;
    RenameOptions rename;
    // The paths as given, byte for byte; "-" stands for the paths read from standard input.
    QList<QByteArray> paths;
};

struct ParsedArguments {
    std::optional<Request> request;
    QString error; // why the arguments were refused, when there is no request
};

// The arguments after the program's name.
ParsedArguments parseArguments(const QList<QByteArray>& arguments);

// Paths from standard input: split at NUL or at newline; empty entries are skipped.
QList<QByteArray> splitPathList(const QByteArray& input, bool nullSeparated);

} // namespace kelvoro::cli
