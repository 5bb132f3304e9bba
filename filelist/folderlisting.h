#pragma once

#include "common/rowloop.h"

#include <QByteArray>
#include <QList>
#include <QRegularExpression>
#include <QString>

#include <string>
#include <vector>

namespace kelvoro {

namespace platform {
class FolderReader;
} // namespace platform

// What a folder contributes to the list.
struct FolderOptions {
    bool recurse = false;       // subfolders and their files too
    bool listFolders = false;   // the folder and each subfolder as rows of their own
    bool includeHidden = false; // names starting with "." (and hidden folders' contents)
    QString patterns;           // "*.jpg;*.png": the files to take; empty for all
};

// A folder the walk could not read, with the errno (ELOOP: a folder met again).
struct FolderProblem {
    QByteArray path;
    int error = 0;
};

struct FolderListing {
    // In walk order: a folder's own row, its files by name, then each subfolder by name.
    QList<QByteArray> paths;
    std::vector<FolderProblem> problems;
    bool cancelled = false;
};

// Matches file names against "*.jpg;*.JPEG" patterns, letter case ignored.
class NamePatterns {
public:
    explicit NamePatterns(const QString& patterns);
    bool matchesAll() const { return m_matchesAll; }
    bool matches(const QByteArray& name) const;

private:
    bool m_matchesAll = true;
    QRegularExpression m_expression; // one alternative per pattern
};

// Lists a folder's files (and, as asked, subfolders and the folders themselves) without
// following symbolic links: a link is listed as itself. Other file systems mounted inside
// are entered; a folder reached again is reported, not walked twice. A folder that cannot
// be read is reported and the walk goes on. Regular files and links only: FIFOs, sockets
// and devices are left out.
FolderListing listFolder(const QByteArray& root, const FolderOptions& options,
                         const platform::FolderReader& reader,
                         const FolderWalkProgress& progress = {});

} // namespace kelvoro
