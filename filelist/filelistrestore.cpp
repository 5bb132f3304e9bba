// The model's removals and what puts rows and their edits back (undo and redo).
#include "filelist/filelistmodel.h"

#include <algorithm>

namespace kelvoro {

RowEditState FileListModel::editState(int r) const {
    const FileRow& fr = row(r);
    return {fr.created, fr.modified,      fr.accessed,       fr.attributes,
            fr.staged,  fr.createdEdited, fr.modifiedEdited, fr.accessedEdited};
}

void FileListModel::setEditState(int r, const RowEditState& state) {
    FileRow& fr = m_rows[static_cast<std::size_t>(r)];
    if (editState(r) == state)
        return;
    fr.created = state.created;
    fr.modified = state.modified;
    fr.accessed = state.accessed;
    fr.attributes = state.attributes;
    fr.createdEdited = state.createdEdited;
    fr.modifiedEdited = state.modifiedEdited;
    fr.accessedEdited = state.accessedEdited;
    const int before = m_stagedCount;
    setStaged(fr, state.staged);
    noteRowEdited(r, before);
}

QHash<QByteArray, int> FileListModel::rowsByPath() const {
    QHash<QByteArray, int> rows;
    rows.reserve(static_cast<qsizetype>(m_rows.size()));
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        rows.insert(m_rows[i].path(), static_cast<int>(i));
    return rows;
}

void FileListModel::removeRowList(std::vector<int> rows) {
    takeRowList(std::move(rows));
}

std::vector<RemovedRow> FileListModel::takeRowList(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<std::pair<int, int>> ranges; // first and last row, highest range first
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (!ranges.empty() && ranges.back().first == *it + 1)
            ranges.back().first = *it;
        else
            ranges.emplace_back(*it, *it);
    }
    std::vector<RemovedRow> taken;
    taken.reserve(rows.size());
    const int before = m_stagedCount;
    const bool wasSorted = isSorted();
    auto forget = [this, &taken](int r) {
        FileRow& fr = m_rows[static_cast<std::size_t>(r)];
        if (!m_indexStale)
            unindexPath(fr.path());
        const bool staged = fr.staged;
        setStaged(fr, false);
        taken.push_back({r, std::move(fr)});
        taken.back().row.staged = staged;
    };
    if (ranges.size() <= kMaxRemovalSignals) {
        // From the highest range down, so the lower indices stay valid.
        for (const auto& [lo, hi] : ranges) {
            beginRemoveRows({}, lo, hi);
            for (int i = lo; i <= hi; ++i)
                forget(i);
            m_rows.erase(m_rows.begin() + lo, m_rows.begin() + hi + 1);
            endRemoveRows();
        }
        std::sort(taken.begin(), taken.end(),
                  [](const RemovedRow& a, const RemovedRow& b) { return a.position < b.position; });
    } else {
        // Scattered rows: one pass instead of shifting the tail once per range.
        beginResetModel();
        std::size_t kept = 0;
        auto next = rows.cbegin();
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            if (next != rows.cend() && static_cast<std::size_t>(*next) == i) {
                forget(static_cast<int>(i));
                ++next;
            } else {
                if (kept != i)
                    m_rows[kept] = std::move(m_rows[i]);
                ++kept;
            }
        }
        m_rows.resize(kept);
        endResetModel();
    }
    emitStagedCountChange(before);
    noteSortState(wasSorted);
    return taken;
}

int FileListModel::restoreRows(std::vector<RemovedRow> rows) {
    freshenIndex();
    // A path listed again since the row left keeps its one row.
    std::erase_if(rows,
                  [this](const RemovedRow& r) { return m_index.contains(PathKey(r.row.path())); });
    if (rows.empty())
        return 0;
    const int before = m_stagedCount;
    const bool wasSorted = isSorted();
    std::size_t groups = 1;
    for (std::size_t i = 1; i < rows.size(); ++i)
        groups += rows[i].position == rows[i - 1].position + 1 ? 0 : 1;
    for (RemovedRow& r : rows) {
        ++m_index[PathKey(r.row.path())];
        m_stagedCount += r.row.staged ? 1 : 0;
    }
    if (groups <= kMaxRemovalSignals) {
        // Lowest group first: each position then counts the rows already back.
        for (std::size_t i = 0; i < rows.size();) {
            std::size_t end = i + 1;
            while (end < rows.size() && rows[end].position == rows[end - 1].position + 1)
                ++end;
            const int at = std::min(rows[i].position, rowCount());
            beginInsertRows({}, at, at + static_cast<int>(end - i) - 1);
            std::vector<FileRow> group;
            group.reserve(end - i);
            for (std::size_t k = i; k < end; ++k)
                group.push_back(std::move(rows[k].row));
            m_rows.insert(m_rows.begin() + at, std::make_move_iterator(group.begin()),
                          std::make_move_iterator(group.end()));
            endInsertRows();
            i = end;
        }
    } else {
        // Scattered rows: one merge instead of shifting the tail once per group.
        beginResetModel();
        std::vector<FileRow> merged;
        merged.reserve(m_rows.size() + rows.size());
        std::size_t kept = 0;
        for (RemovedRow& r : rows) {
            while (kept < m_rows.size() && static_cast<int>(merged.size()) < r.position)
                merged.push_back(std::move(m_rows[kept++]));
            merged.push_back(std::move(r.row));
        }
        for (; kept < m_rows.size(); ++kept)
            merged.push_back(std::move(m_rows[kept]));
        m_rows.swap(merged);
        endResetModel();
    }
    m_sorted = false;
    emitStagedCountChange(before);
    noteSortState(wasSorted);
    return static_cast<int>(rows.size());
}

} // namespace kelvoro
