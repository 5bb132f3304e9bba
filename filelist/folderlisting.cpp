#include "filelist/folderlisting.h"

#include "common/pathpieces.h"
#include "platform/folderreader.h"

#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <set>
#include <utility>

namespace kelvoro {

NamePatterns::NamePatterns(const QString& patterns) {
    QStringList alternatives;
    for (const QString& piece : patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = piece.trimmed();
        if (pattern.isEmpty())
            continue;
        // Anchored: "*.jpg" takes "a.jpg" and not "a.jpg.txt".
        alternatives.append(QRegularExpression::wildcardToRegularExpression(pattern));
    }
    if (alternatives.isEmpty())
        return;
    m_matchesAll = false;
    m_expression.setPattern(alternatives.join(u'|'));
    m_expression.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
    m_expression.optimize();
}

bool NamePatterns::matches(const QByteArray& name) const {
    // Bytes that are not text in the locale stand as replacement characters, which a "*"
    // still takes.
    return m_matchesAll || m_expression.match(QString::fromLocal8Bit(name)).hasMatch();
}

namespace {

bool isHiddenName(const std::string& name) {
    return !name.empty() && name.front() == '.';
}

QByteArray childPath(const QByteArray& folder, const std::string& name) {
    QByteArray path;
    path.reserve(folder.size() + 1 + static_cast<qsizetype>(name.size()));
    path.append(folder);
    if (!path.endsWith(kPathSeparator))
        path.append(kPathSeparator);
    path.append(name.data(), static_cast<qsizetype>(name.size()));
    return path;
}

// "a/b/" names the folder "a/b"; "/" stays the root.
QByteArray withoutTrailingSeparators(QByteArray path) {
    while (path.size() > 1 && path.endsWith(kPathSeparator))
        path.chop(1);
    return path;
}

class FolderWalk {
public:
    FolderWalk(const FolderOptions& options, const platform::FolderReader& reader,
               const FolderWalkProgress& progress)
        : m_options(options), m_patterns(options.patterns), m_reader(reader), m_progress(progress) {
    }

    FolderListing run(const QByteArray& root) {
        // Depth first, the subfolders of a folder by name: its rows stay together.
        std::vector<QByteArray> pending{withoutTrailingSeparators(root)};
        bool first = true;
        while (!pending.empty()) {
            const QByteArray folder = std::move(pending.back());
            pending.pop_back();
            if (m_progress && !m_progress(static_cast<int>(m_result.paths.size()), folder)) {
                m_result.cancelled = true;
                break;
            }
            visit(folder, first, pending);
            first = false;
        }
        return std::move(m_result);
    }

private:
    void visit(const QByteArray& folder, bool isRoot, std::vector<QByteArray>& pending) {
        const std::string native = folder.toStdString();
        platform::FolderIdentity identity;
        // The folder the user chose may be a link to one; nothing below it is followed.
        int error = isUsablePath(native) ? m_reader.readFolder(native, isRoot, identity, m_entries)
                                         : EINVAL;
        if (error == 0 && !m_seen.insert({identity.device, identity.inode}).second)
            error = ELOOP;
        if (error != 0) {
            m_result.problems.push_back({folder, error});
            return;
        }
        if (m_options.listFolders)
            m_result.paths.append(folder);
        std::sort(m_entries.begin(), m_entries.end(),
                  [](const auto& a, const auto& b) { return a.name < b.name; });
        const auto subfoldersFrom = pending.size();
        for (const platform::FolderEntry& entry : m_entries) {
            if (!m_options.includeHidden && isHiddenName(entry.name))
                continue;
            if (entry.type == platform::EntryType::Directory) {
                if (m_options.recurse)
                    pending.push_back(childPath(folder, entry.name));
                else if (m_options.listFolders)
                    m_result.paths.append(childPath(folder, entry.name));
                continue;
            }
            if (entry.type == platform::EntryType::Special)
                continue;
            QByteArray path = childPath(folder, entry.name);
            if (m_patterns.matches(QByteArray::fromRawData(
                    path.constData() + path.size() - static_cast<qsizetype>(entry.name.size()),
                    static_cast<qsizetype>(entry.name.size()))))
                m_result.paths.append(std::move(path));
        }
        // Taken from the back: the first subfolder by name comes next.
        std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(subfoldersFrom), pending.end());
    }

    const FolderOptions& m_options;
    NamePatterns m_patterns;
    const platform::FolderReader& m_reader;
    const FolderWalkProgress& m_progress;
    FolderListing m_result;
    std::vector<platform::FolderEntry> m_entries;
    std::set<std::pair<std::uint64_t, std::uint64_t>> m_seen;
};

} // namespace

FolderListing listFolder(const QByteArray& root, const FolderOptions& options,
                         const platform::FolderReader& reader, const FolderWalkProgress& progress) {
    return FolderWalk(options, reader, progress).run(root);
}

} // namespace kelvoro
