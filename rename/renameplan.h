#pragma once

#include "rename/newname.h"

#include <QHash>
#include <QSet>

#include <atomic>
#include <optional>
#include <vector>

namespace kelvoro {

// Why a row cannot take its new name.
enum class NameConflict {
    None,
    Exists,    // a file of that name is there and stays
    Duplicate, // an earlier row in the list gets the same name
    Unusable,  // empty, ".", "..", a separator, or too long for the file system
};

struct RenameSource {
    QByteArray directory;
    QByteArray name;
};

// The names on disk in each folder the rows live in, each folder read once. Without
// listing, no name counts as taken: the move itself finds out, never replacing anything.
class FolderNames {
public:
    explicit FolderNames(bool listNames = true) : m_listNames(listNames) {}
    bool contains(const QByteArray& directory, const QByteArray& name);
    qsizetype nameLimit(const QByteArray& directory);

private:
    struct Folder {
        QSet<QByteArray> names;
        qsizetype limit = 0;
    };
    const Folder& folder(const QByteArray& directory);

    bool m_listNames;
    QHash<QByteArray, Folder> m_folders;
};

struct PlannedName {
    std::optional<QByteArray> name; // nullopt: no step applies to this row
    NameConflict conflict = NameConflict::None;
    bool changes = false; // the name differs from the current one
};

struct RenameAnalysis {
    std::vector<PlannedName> rows; // one per source, in the same order
    qsizetype changing = 0;        // will be renamed
    qsizetype blocked = 0;         // would change but cannot
    qsizetype unchanged = 0;
    bool cancelled = false;
};

// The new name of every row (its position among the rows counts for the number) and what
// keeps it from being used. A name held by another row that moves away is free. Stops early,
// cancelled, when `cancel` turns true.
RenameAnalysis analyseRenames(const std::vector<RenameSource>& rows, const RenameOptions& options,
                              FolderNames& folders, const std::atomic<bool>* cancel = nullptr);

// The new name with each step assumed to succeed, and whether a step gave an unusable name.
struct PreviewName {
    std::optional<QByteArray> name;
    bool unusable = false;
};
PreviewName previewName(QByteArrayView name, const RenameOptions& options, qsizetype position);

struct PlanStep {
    enum class Kind {
        Skip,   // no move: nothing applies, or the name cannot be used
        Rename, // the row's steps, one move each
        Park,   // a cycle starts: the row moves to its temporary name
        Unpark, // the cycle ends: from the temporary name to the new one
    };
    Kind kind = Kind::Skip;
    int index = 0;           // into the sources
    bool startsUnit = false; // progress may stop before this step, never inside a cycle
};

struct MovePlan {
    std::vector<PlanStep> steps;
    QHash<int, QByteArray> temporaries; // index of a parked row -> its temporary name
};

// The order of the moves: each new name free when its move comes (a row whose new name is
// another row's current name waits for that row), every cycle broken through a temporary
// name in the same folder that nothing on disk or in the plan uses. Rows without dependency
// keep their order.
MovePlan planMoves(const std::vector<RenameSource>& rows, const RenameAnalysis& analysis,
                   FolderNames& folders);

} // namespace kelvoro
