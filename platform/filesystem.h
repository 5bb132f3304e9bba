#pragma once

#include "platform/filestatus.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvoro::platform {

// The file services the program uses. The native backend is the real one; tests put a
// recording fake in its place where the sequence of calls or an injected failure matters.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Never throws; FileStatus::ok tells whether the read worked.
    virtual FileStatus readStatus(const std::string& path) const = 0;
    // readStatus of each path, in the same order. Reading has no effect on the files, so a
    // backend may read ahead of the caller or in parallel.
    virtual std::vector<FileStatus> readStatuses(const std::vector<std::string>& paths) const;

    // Makes the file's times (those given) and the managed attribute bits equal to desired.
    // Throws FileError on the first failure, leaving the file no less protected than before.
    // Returns what the file held before, as readStatus reads it, so the write can be undone.
    virtual FileStatus writeStatus(const std::string& path, const FileStatus& desired) = 0;

    // Renames within the file system; never replaces an existing file. With listed given, moves
    // nothing unless from still names that file (see FileStatus::identity).
    virtual bool moveNoReplace(const std::string& from, const std::string& to,
                               const std::optional<FileIdentity>& listed) = 0;

    // True for a regular file that opens for reading; never blocks (FIFOs, devices).
    virtual bool isReadableRegularFile(const std::string& path) const = 0;

    // 0 when the path opens for reading, else the errno of the failure (EISDIR for a
    // directory). Never blocks.
    virtual int openForReadingError(const std::string& path) const = 0;

    virtual bool isDirectory(const std::string& path) const = 0;

    // How many calls on files near this path are worth having in flight at once: the cores
    // for a local disk, many more for a share where each call waits on the network.
    virtual std::size_t parallelCalls(const std::string& path) const;
};

FileSystem& nativeFileSystem();

} // namespace kelvoro::platform
