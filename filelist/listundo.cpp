#include "filelist/listundo.h"

#include <QCoreApplication>

namespace kelvoro {

StageStep::StageStep(const char* name, FileListModel& model, const std::vector<int>& rows)
    : m_name(name), m_model(model) {
    m_rows.reserve(rows.size());
    for (const int r : rows)
        m_rows.push_back({rowKey(model, r), model.editState(r), {}});
}

bool StageStep::finish() {
    RowFinder finder(m_model);
    std::erase_if(m_rows, [&](Row& row) {
        const int r = finder.find(row.key);
        if (r < 0)
            return true;
        row.after = m_model.editState(r);
        return row.after == row.before;
    });
    m_rows.shrink_to_fit();
    setText(undoStepText(m_name, rowCount()));
    return !m_rows.empty();
}

void StageStep::apply(bool after) {
    RowFinder finder(m_model);
    const FileListModel::ChangeBatch batch(m_model);
    for (const Row& row : m_rows)
        if (const int r = finder.find(row.key); r >= 0)
            m_model.setEditState(r, after ? row.after : row.before);
}

namespace {

const char* removeStepName(RemoveStep::Kind kind) {
    return kind == RemoveStep::Kind::All ? QT_TRANSLATE_NOOP("kelvoro::UndoStep", "全クリア")
                                         : QT_TRANSLATE_NOOP("kelvoro::UndoStep", "クリア");
}

} // namespace

RemoveStep::RemoveStep(Kind kind, FileListModel& model, std::vector<RemovedRow> taken)
    : m_kind(kind), m_model(model), m_taken(std::move(taken)), m_count(qsizetype(m_taken.size())) {
    setText(undoStepText(removeStepName(kind), m_count));
}

void RemoveStep::undoStep() {
    m_keys.clear();
    m_keys.reserve(m_taken.size());
    for (const RemovedRow& r : m_taken)
        m_keys.push_back({r.row.directory, r.row.name, r.position});
    m_model.restoreRows(std::move(m_taken));
    m_taken = {};
}

void RemoveStep::redoStep() {
    if (m_kind == Kind::All) {
        m_taken = m_model.takeAllRows();
    } else {
        RowFinder finder(m_model);
        std::vector<int> rows;
        rows.reserve(m_keys.size());
        for (const RowKey& key : m_keys)
            if (const int r = finder.find(key); r >= 0)
                rows.push_back(r);
        m_taken = m_model.takeRowList(std::move(rows));
    }
    m_keys = {};
}

} // namespace kelvoro
