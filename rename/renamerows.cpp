#include "rename/renamerows.h"

#include "common/orderedwork.h"
#include "common/pathpieces.h"
#include "filelist/filelistmodel.h"
#include "platform/filesystem.h"
#include "rename/renameplan.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>

namespace kelvoro {

namespace {

std::string_view pieceView(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Why a move the file system refused failed.
RenameFailure diagnose(const platform::FileSystem& fileSystem, const std::string& from,
                       const std::string& to) {
    if (!fileSystem.readStatus(from).ok)
        return RenameFailure::NotFound;
    if (fileSystem.readStatus(to).ok)
        return RenameFailure::Exists;
    return RenameFailure::Refused;
}

// Moves a row's file to a new name and, on success, gives the row that name. Every move of
// a rename goes through here.
class RowMover {
public:
    RowMover(FileListModel& model, platform::FileSystem& fileSystem)
        : m_model(model), m_fileSystem(fileSystem) {}

    StepOutcome move(int row, const QByteArray& newName) {
        if (!isUsableName(newName)) {
            m_failure = RenameFailure::Unusable;
            return StepOutcome::Failed;
        }
        const FileRow& current = m_model.row(row);
        // A step that leaves the name as it was moves nothing.
        if (newName == current.name)
            return StepOutcome::NotApplied;
        const std::string from = joinPath(pieceView(current.directory), pieceView(current.name));
        const std::string to = joinPath(pieceView(current.directory), pieceView(newName));
        if (!m_fileSystem.moveNoReplace(from, to, current.identity)) {
            m_failure = diagnose(m_fileSystem, from, to);
            return StepOutcome::Failed;
        }
        m_model.setName(row, newName);
        return StepOutcome::Moved;
    }

    // Why the last failed move failed.
    RenameFailure lastFailure() const { return m_failure; }

private:
    FileListModel& m_model;
    platform::FileSystem& m_fileSystem;
    RenameFailure m_failure = RenameFailure::None;
};

class PlanRunner {
public:
    // Without options, each row moves straight to its planned name.
    PlanRunner(FileListModel& model, platform::FileSystem& fileSystem, const RenameOptions* options,
               const std::vector<int>& rows, const RenameAnalysis& analysis, const MovePlan& plan)
        : m_model(model), m_mover(model, fileSystem), m_options(options), m_rows(rows),
          m_analysis(analysis), m_plan(plan) {}

    // The result of the row, once the row is done with (a parked row is not yet).
    std::optional<RowRenameResult> run(const PlanStep& step) {
        const PlannedName& planned = m_analysis.rows[std::size_t(step.index)];
        RowRenameResult r;
        r.row = m_rows[std::size_t(step.index)];
        r.oldName = m_model.row(r.row).name;
        r.plannedName = planned.name.value_or(r.oldName);
        switch (step.kind) {
        case PlanStep::Kind::Skip:
            skip(r, step.index, planned.conflict);
            break;
        case PlanStep::Kind::Rename:
            rename(r, step.index, planned.changes);
            break;
        case PlanStep::Kind::Park:
            if (park(r, step.index))
                return std::nullopt;
            break;
        case PlanStep::Kind::Unpark:
            if (!unpark(r, step.index))
                return std::nullopt;
            break;
        }
        return r;
    }

private:
    // The move to the name the preview marked is not attempted; a step before it (a new
    // extension on the way to a taken name) still is, as each step is a move of its own.
    void skip(RowRenameResult& r, int index, NameConflict conflict) {
        if (!m_options) {
            r.failure = failureOf(conflict);
            return;
        }
        const std::optional<QByteArray> ended = runRenameSteps(
            r.oldName, *m_options, index, [&](RenameStep step, const QByteArray& name) {
                const StepOutcome outcome =
                    name == r.plannedName ? StepOutcome::Failed : m_mover.move(r.row, name);
                (step == RenameStep::Extension ? r.extension : r.name) = outcome;
                return outcome == StepOutcome::Moved;
            });
        if (ended == r.oldName)
            r.failure = failureOf(conflict);
    }

    void rename(RowRenameResult& r, int index, bool changes) {
        if (!m_options) {
            r.name = m_mover.move(r.row, r.plannedName);
            if (changes && r.name == StepOutcome::Failed)
                r.failure = m_mover.lastFailure();
            return;
        }
        const std::optional<QByteArray> ended = runRenameSteps(
            r.oldName, *m_options, index, [&](RenameStep step, const QByteArray& name) {
                const StepOutcome outcome = m_mover.move(r.row, name);
                (step == RenameStep::Extension ? r.extension : r.name) = outcome;
                return outcome == StepOutcome::Moved;
            });
        // A row that took some of its steps was renamed; only one left as it was is told.
        if (changes && ended == r.oldName)
            r.failure = m_mover.lastFailure();
    }

    // The temporary name may be taken on disk: the next one is tried.
    bool park(RowRenameResult& r, int index) {
        const QByteArray temporary = m_plan.temporaries.value(index);
        for (int attempt = 0; attempt < kParkAttempts; ++attempt) {
            const QByteArray name =
                attempt == 0 ? temporary : temporary + '-' + QByteArray::number(attempt);
            if (m_mover.move(r.row, name) == StepOutcome::Moved) {
                m_parked.insert(index, r.oldName);
                return true;
            }
            if (m_mover.lastFailure() != RenameFailure::Exists)
                break;
        }
        r.name = StepOutcome::Failed;
        r.failure = m_mover.lastFailure();
        return false;
    }

    static constexpr int kParkAttempts = 20;

    // The parked row takes its new name; failing that, its old one back.
    bool unpark(RowRenameResult& r, int index) {
        const auto parked = m_parked.constFind(index);
        if (parked == m_parked.cend())
            return false;
        r.oldName = parked.value();
        r.name = m_mover.move(r.row, r.plannedName);
        if (r.name == StepOutcome::Moved)
            return true;
        r.failure = m_mover.lastFailure();
        if (m_mover.move(r.row, r.oldName) != StepOutcome::Moved)
            r.failure = RenameFailure::LeftTemporary;
        return true;
    }

    FileListModel& m_model;
    RowMover m_mover;
    const RenameOptions* m_options;
    const std::vector<int>& m_rows;
    const RenameAnalysis& m_analysis;
    const MovePlan& m_plan;
    QHash<int, QByteArray> m_parked; // index -> the name it had
};

// From this many rows on, a rename whose rows do not wait for each other moves on several
// threads.
constexpr std::size_t kParallelRenameRows = 256;

bool hasNameStep(const RenameOptions& options) {
    return (options.mode & (renamemode::Replace | renamemode::Front | renamemode::End)) != 0 ||
           options.numbering.enabled || options.letterCase != LetterCase::Unchanged;
}

// True when every row makes at most one move and no row's new name is another row's current
// one: then the moves may run in any order.
bool movesIndependently(const RenameOptions& options, const std::vector<RenameSource>& sources,
                        const RenameAnalysis& analysis, const MovePlan& plan) {
    if (sources.size() < kParallelRenameRows ||
        ((options.mode & renamemode::Extension) != 0 && hasNameStep(options)))
        return false;
    for (const PlanStep& step : plan.steps)
        if (step.kind != PlanStep::Kind::Skip && step.kind != PlanStep::Kind::Rename)
            return false;
    QSet<QByteArray> current;
    current.reserve(qsizetype(sources.size()));
    for (const RenameSource& source : sources)
        current.insert(source.directory + kPathSeparator + source.name);
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const PlannedName& planned = analysis.rows[i];
        if (planned.changes && planned.name &&
            current.contains(sources[i].directory + kPathSeparator + *planned.name))
            return false;
    }
    return true;
}

// One row's single move, worked out on the calling thread and made on any.
struct RowMove {
    std::size_t step = 0; // into the plan
    std::string from;
    std::string to;
    QByteArray newName;
    std::optional<platform::FileIdentity> identity;
    StepOutcome outcome = StepOutcome::NotApplied;
    RenameFailure failure = RenameFailure::None;
    bool started = false; // a cancel leaves later moves unmade
};

void makeMove(platform::FileSystem& fileSystem, RowMove& move) {
    if (!isUsableName(move.newName)) {
        move.outcome = StepOutcome::Failed;
        move.failure = RenameFailure::Unusable;
    } else if (move.from == move.to) {
        move.outcome = StepOutcome::NotApplied;
    } else if (fileSystem.moveNoReplace(move.from, move.to, move.identity)) {
        move.outcome = StepOutcome::Moved;
    } else {
        move.outcome = StepOutcome::Failed;
        move.failure = diagnose(fileSystem, move.from, move.to);
    }
}

// The order the moves start in: one from each folder in turn. Renames in one folder wait for
// each other in the kernel, so threads spread over folders keep more round trips in flight.
std::vector<std::size_t> interleaveFolders(const std::vector<RowMove>& moves) {
    QHash<QByteArray, std::size_t> taken;                  // folder -> moves of it seen so far
    std::vector<std::pair<std::size_t, std::size_t>> keys; // (turn, move)
    keys.reserve(moves.size());
    for (std::size_t m = 0; m < moves.size(); ++m) {
        const std::string& from = moves[m].from;
        const QByteArray folder(from.data(), qsizetype(from.rfind(kPathSeparator) + 1));
        keys.emplace_back(taken[folder]++, m);
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::size_t> order;
    order.reserve(keys.size());
    for (const auto& key : keys)
        order.push_back(key.second);
    return order;
}

std::vector<RowMove> plannedMoves(const FileListModel& model, const std::vector<int>& rows,
                                  const RenameAnalysis& analysis, const MovePlan& plan) {
    std::vector<RowMove> moves;
    for (std::size_t s = 0; s < plan.steps.size(); ++s) {
        const PlanStep& step = plan.steps[s];
        const PlannedName& planned = analysis.rows[std::size_t(step.index)];
        if (step.kind != PlanStep::Kind::Rename || !planned.name)
            continue;
        const FileRow& row = model.row(rows[std::size_t(step.index)]);
        moves.push_back({s, joinPath(pieceView(row.directory), pieceView(row.name)),
                         joinPath(pieceView(row.directory), pieceView(*planned.name)),
                         *planned.name, row.identity});
    }
    return moves;
}

// The moves on several threads; the rows take their names on this thread afterwards, in the
// plan's order, as the moves in order would have left them. After a cancel, the moves made
// are kept and told, the others are not started.
RenameResult renameInParallel(FileListModel& model, platform::FileSystem& fileSystem,
                              const RenameOptions& options, const std::vector<int>& rows,
                              const RenameAnalysis& analysis, const MovePlan& plan,
                              const RowLoopProgress& progress) {
    std::vector<RowMove> moves = plannedMoves(model, rows, analysis, plan);
    const std::vector<std::size_t> order = interleaveFolders(moves);
    const int total = static_cast<int>(rows.size());
    const OrderedWorkResult work = runOrdered(
        moves.size(), moves.empty() ? 1 : fileSystem.parallelCalls(moves.front().from),
        [&](std::size_t k) {
            makeMove(fileSystem, moves[order[k]]);
            moves[order[k]].started = true;
            return true;
        },
        [&](std::size_t done) {
            const std::size_t at = order[std::min(done, moves.size() - 1)];
            return !progress || progress(static_cast<int>(done), total,
                                         rows[std::size_t(plan.steps[moves[at].step].index)]);
        });
    RenameResult result;
    result.cancelled = work.stopped;
    const FileListModel::ChangeBatch batch(model);
    PlanRunner runner(model, fileSystem, &options, rows, analysis, plan);
    const bool extensionOnly = !hasNameStep(options);
    std::size_t next = 0;
    for (std::size_t s = 0; s < plan.steps.size(); ++s) {
        const PlanStep& step = plan.steps[s];
        if (next < moves.size() && moves[next].step == s) {
            const RowMove& move = moves[next++];
            if (!move.started)
                continue;
            RowRenameResult r;
            r.row = rows[std::size_t(step.index)];
            r.oldName = model.row(r.row).name;
            r.plannedName = move.newName;
            (extensionOnly ? r.extension : r.name) = move.outcome;
            if (move.outcome == StepOutcome::Moved)
                model.setName(r.row, move.newName);
            else if (analysis.rows[std::size_t(step.index)].changes)
                r.failure = move.failure;
            result.rows.push_back(std::move(r));
        } else if (!result.cancelled) {
            if (std::optional<RowRenameResult> r = runner.run(step))
                result.rows.push_back(std::move(*r));
        }
    }
    return result;
}

RenameResult runPlan(FileListModel& model, platform::FileSystem& fileSystem,
                     const RenameOptions* options, const std::vector<int>& rows,
                     const RenameAnalysis& analysis, const MovePlan& plan,
                     const RowLoopProgress& progress) {
    RenameResult result;
    result.rows.reserve(plan.steps.size());
    const FileListModel::ChangeBatch batch(model);
    PlanRunner runner(model, fileSystem, options, rows, analysis, plan);
    const int total = static_cast<int>(rows.size());
    int done = 0;
    for (const PlanStep& step : plan.steps) {
        if (step.startsUnit && progress && !progress(done, total, rows[std::size_t(step.index)])) {
            result.cancelled = true;
            break;
        }
        if (step.kind != PlanStep::Kind::Park)
            ++done;
        if (std::optional<RowRenameResult> r = runner.run(step))
            result.rows.push_back(std::move(*r));
    }
    return result;
}

} // namespace

RenameResult renameRows(FileListModel& model, platform::FileSystem& fileSystem,
                        const RenameOptions& options, const std::vector<int>& rows,
                        const RowLoopProgress& progress) {
    std::vector<RenameSource> sources;
    sources.reserve(rows.size());
    for (const int row : rows)
        sources.push_back({model.row(row).directory, model.row(row).name});
    // The moves find taken names themselves; listing the folders here would only slow a
    // large rename down.
    FolderNames folders(false);
    const RenameAnalysis analysis = analyseRenames(sources, options, folders);
    const MovePlan plan = planMoves(sources, analysis, folders);
    if (movesIndependently(options, sources, analysis, plan))
        return renameInParallel(model, fileSystem, options, rows, analysis, plan, progress);

    return runPlan(model, fileSystem, &options, rows, analysis, plan, progress);
}

RenameResult renameRowsTo(FileListModel& model, platform::FileSystem& fileSystem,
                          const std::vector<int>& rows, const std::vector<QByteArray>& names,
                          const RowLoopProgress& progress) {
    std::vector<RenameSource> sources;
    sources.reserve(rows.size());
    RenameAnalysis analysis;
    analysis.rows.reserve(rows.size());
    QSet<QByteArray> wanted;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FileRow& row = model.row(rows[i]);
        sources.push_back({row.directory, row.name});
        PlannedName planned{names[i], NameConflict::None, names[i] != row.name};
        // Each name goes to one row at most: the plan's waits rely on it.
        const QByteArray target = row.directory + kPathSeparator + names[i];
        if (planned.changes && wanted.contains(target))
            planned.conflict = NameConflict::Duplicate;
        else if (!isUsableName(names[i]))
            planned.conflict = NameConflict::Unusable;
        wanted.insert(target);
        analysis.rows.push_back(std::move(planned));
    }
    FolderNames folders(false);
    const MovePlan plan = planMoves(sources, analysis, folders);
    return runPlan(model, fileSystem, nullptr, rows, analysis, plan, progress);
}

RenameFailure failureOf(NameConflict conflict) {
    switch (conflict) {
    case NameConflict::None:
        break;
    case NameConflict::Exists:
        return RenameFailure::Exists;
    case NameConflict::Duplicate:
        return RenameFailure::Duplicate;
    case NameConflict::Unusable:
        return RenameFailure::Unusable;
    }
    return RenameFailure::None;
}

QString renameFailureText(RenameFailure failure) {
    const char* text = "";
    switch (failure) {
    case RenameFailure::None:
        return {};
    case RenameFailure::Exists:
        text = QT_TRANSLATE_NOOP("kelvoro::CReName", "既に存在します");
        break;
    case RenameFailure::Duplicate:
        text = QT_TRANSLATE_NOOP("kelvoro::CReName", "名前が重複しています");
        break;
    case RenameFailure::Unusable:
        text = QT_TRANSLATE_NOOP("kelvoro::CReName", "使用できない名前です");
        break;
    case RenameFailure::NotFound:
        text = QT_TRANSLATE_NOOP("kelvoro::CReName", "ファイルが見つかりません");
        break;
    case RenameFailure::Refused:
        text = QT_TRANSLATE_NOOP("kelvoro::CReName", "名前を変更できませんでした");
        break;
    case RenameFailure::LeftTemporary:
        text = QT_TRANSLATE_NOOP("kelvoro::CReName", "一時的な名前のままです");
        break;
    }
    return QCoreApplication::translate("kelvoro::CReName", text);
}

} // namespace kelvoro
