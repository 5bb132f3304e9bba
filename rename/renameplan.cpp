#include "rename/renameplan.h"

#include "platform/directorynames.h"

namespace kelvoro {

namespace {

QByteArray keyOf(const QByteArray& directory, const QByteArray& name) {
    QByteArray key;
    key.reserve(directory.size() + 1 + name.size());
    key.append(directory);
    key.append('/');
    key.append(name);
    return key;
}

std::string nativeOf(const QByteArray& bytes) {
    return bytes.isEmpty() ? std::string("/") : bytes.toStdString();
}

bool moves(const PlannedName& row) {
    return row.changes && row.conflict == NameConflict::None;
}

// Rows whose new name is in use on disk by a file that stays are marked; a row that stays
// keeps its name in use, so the row that wanted that name is checked again.
void markTaken(const std::vector<RenameSource>& rows, RenameAnalysis& a, FolderNames& folders,
               const QHash<QByteArray, int>& current, const QHash<QByteArray, int>& targets) {
    const auto taken = [&](int i) {
        const PlannedName& r = a.rows[std::size_t(i)];
        if (!folders.contains(rows[std::size_t(i)].directory, *r.name))
            return false;
        const int owner = current.value(keyOf(rows[std::size_t(i)].directory, *r.name), -1);
        return owner < 0 || owner == i || !moves(a.rows[std::size_t(owner)]);
    };
    std::vector<int> staying;
    for (int i = 0; i < int(rows.size()); ++i) {
        if (moves(a.rows[std::size_t(i)]) && taken(i)) {
            a.rows[std::size_t(i)].conflict = NameConflict::Exists;
            staying.push_back(i);
        }
    }
    while (!staying.empty()) {
        const RenameSource& stays = rows[std::size_t(staying.back())];
        staying.pop_back();
        const int wanting = targets.value(keyOf(stays.directory, stays.name), -1);
        if (wanting >= 0 && moves(a.rows[std::size_t(wanting)]) && taken(wanting)) {
            a.rows[std::size_t(wanting)].conflict = NameConflict::Exists;
            staying.push_back(wanting);
        }
    }
}

// The new names and the conflicts that one row's name alone shows (unusable, too long) or
// that an earlier row's name shows (duplicates).
void nameRows(const std::vector<RenameSource>& rows, const RenameOptions& options,
              FolderNames& folders, RenameAnalysis& a, QHash<QByteArray, int>& targets,
              const std::atomic<bool>* cancel) {
    for (int i = 0; i < int(rows.size()); ++i) {
        if (cancel && (i & 1023) == 0 && cancel->load(std::memory_order_relaxed)) {
            a.cancelled = true;
            return;
        }
        const RenameSource& source = rows[std::size_t(i)];
        PlannedName& r = a.rows[std::size_t(i)];
        const PreviewName preview = previewName(source.name, options, i);
        r.name = preview.name;
        r.changes = r.name && *r.name != source.name;
        if (!r.changes)
            continue;
        if (preview.unusable || !isUsableName(*r.name) ||
            r.name->size() > folders.nameLimit(source.directory)) {
            r.conflict = NameConflict::Unusable;
            continue;
        }
        const QByteArray key = keyOf(source.directory, *r.name);
        const auto it = targets.constFind(key);
        if (it == targets.cend()) {
            targets.insert(key, i);
            continue;
        }
        // The first row in the list's order keeps the name.
        r.conflict = NameConflict::Duplicate;
    }
}

} // namespace

const FolderNames::Folder& FolderNames::folder(const QByteArray& directory) {
    auto it = m_folders.find(directory);
    if (it != m_folders.end())
        return it.value();
    Folder f;
    const std::string native = nativeOf(directory);
    std::vector<std::string> names;
    if (m_listNames)
        platform::readDirectoryNames(native, names);
    f.names.reserve(qsizetype(names.size()));
    for (const std::string& name : names)
        f.names.insert(QByteArray::fromStdString(name));
    f.limit = qsizetype(platform::nameLengthLimit(native));
    return m_folders.insert(directory, std::move(f)).value();
}

bool FolderNames::contains(const QByteArray& directory, const QByteArray& name) {
    return folder(directory).names.contains(name);
}

qsizetype FolderNames::nameLimit(const QByteArray& directory) {
    return folder(directory).limit;
}

PreviewName previewName(QByteArrayView name, const RenameOptions& options, qsizetype position) {
    PreviewName preview;
    preview.name =
        runRenameSteps(name, options, position, [&preview](RenameStep, const QByteArray& next) {
            preview.unusable = preview.unusable || !isUsableName(next);
            return true;
        });
    return preview;
}

RenameAnalysis analyseRenames(const std::vector<RenameSource>& rows, const RenameOptions& options,
                              FolderNames& folders, const std::atomic<bool>* cancel) {
    RenameAnalysis a;
    a.rows.resize(rows.size());
    QHash<QByteArray, int> targets;
    targets.reserve(qsizetype(rows.size()));
    nameRows(rows, options, folders, a, targets, cancel);
    if (a.cancelled)
        return a;
    QHash<QByteArray, int> current;
    current.reserve(qsizetype(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i)
        current.insert(keyOf(rows[std::size_t(i)].directory, rows[std::size_t(i)].name), i);
    markTaken(rows, a, folders, current, targets);
    for (const PlannedName& r : a.rows) {
        if (!r.changes)
            ++a.unchanged;
        else if (r.conflict == NameConflict::None)
            ++a.changing;
        else
            ++a.blocked;
    }
    return a;
}

namespace {

// A name for a parked file that is on disk in none of the folders' listings and in no row's
// current or new name.
QByteArray temporaryName(const QByteArray& directory, FolderNames& folders,
                         const QSet<QByteArray>& planned, int& counter) {
    for (;; ++counter) {
        const QByteArray name = ".kelvoro-swap-" + QByteArray::number(counter);
        if (!folders.contains(directory, name) && !planned.contains(keyOf(directory, name)))
            return name;
    }
}

QSet<QByteArray> plannedNames(const std::vector<RenameSource>& rows, const RenameAnalysis& a) {
    QSet<QByteArray> names;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        names.insert(keyOf(rows[i].directory, rows[i].name));
        if (a.rows[i].name)
            names.insert(keyOf(rows[i].directory, *a.rows[i].name));
    }
    return names;
}

} // namespace

MovePlan planMoves(const std::vector<RenameSource>& rows, const RenameAnalysis& analysis,
                   FolderNames& folders) {
    const int n = int(rows.size());
    QHash<QByteArray, int> leaving;
    for (int i = 0; i < n; ++i) {
        if (moves(analysis.rows[std::size_t(i)]))
            leaving.insert(keyOf(rows[std::size_t(i)].directory, rows[std::size_t(i)].name), i);
    }
    // The row each row waits for: the one whose current name it takes.
    std::vector<int> waitsFor(std::size_t(n), -1);
    for (int i = 0; i < n; ++i) {
        const PlannedName& r = analysis.rows[std::size_t(i)];
        if (moves(r))
            waitsFor[std::size_t(i)] =
                leaving.value(keyOf(rows[std::size_t(i)].directory, *r.name), -1);
    }
    MovePlan plan;
    plan.steps.reserve(std::size_t(n) + 2);
    std::vector<char> done(std::size_t(n), 0);
    std::optional<QSet<QByteArray>> planned;
    int counter = 0;
    std::vector<int> path;
    for (int i = 0; i < n; ++i) {
        if (done[std::size_t(i)])
            continue;
        const PlannedName& r = analysis.rows[std::size_t(i)];
        if (!moves(r)) {
            const bool attempt = r.name && r.conflict == NameConflict::None;
            plan.steps.push_back(
                {attempt ? PlanStep::Kind::Rename : PlanStep::Kind::Skip, i, true});
            done[std::size_t(i)] = 1;
            continue;
        }
        // Each name is wanted by one row at most, so following the waits either ends or
        // comes back to this row.
        path.assign(1, i);
        int next = waitsFor[std::size_t(i)];
        while (next >= 0 && next != i && !done[std::size_t(next)]) {
            path.push_back(next);
            next = waitsFor[std::size_t(next)];
        }
        for (const int j : path)
            done[std::size_t(j)] = 1;
        if (next != i) {
            for (auto it = path.rbegin(); it != path.rend(); ++it)
                plan.steps.push_back({PlanStep::Kind::Rename, *it, true});
            continue;
        }
        if (!planned)
            planned = plannedNames(rows, analysis);
        plan.temporaries.insert(
            i, temporaryName(rows[std::size_t(i)].directory, folders, *planned, counter));
        ++counter;
        plan.steps.push_back({PlanStep::Kind::Park, i, true});
        for (auto it = path.rbegin(); it + 1 != path.rend(); ++it)
            plan.steps.push_back({PlanStep::Kind::Rename, *it, false});
        plan.steps.push_back({PlanStep::Kind::Unpark, i, false});
    }
    return plan;
}

} // namespace kelvoro
