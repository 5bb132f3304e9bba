#include "rename/renamepreview.h"

#include "common/fileerrortext.h"
#include "rename/renamerows.h"

#include <QBrush>
#include <QColor>

namespace kelvoro {

struct RenamePreviewModel::Shared {
    std::vector<RenameSource> rows;
    FolderNames folders; // touched by the worker only; one worker at a time
};

RenamePreviewModel::RenamePreviewModel(std::vector<RenameSource> rows, QObject* parent)
    : QAbstractTableModel(parent), m_shared(std::make_shared<Shared>()) {
    m_shared->rows = std::move(rows);
    m_pool.setMaxThreadCount(1);
    startAnalysis();
}

RenamePreviewModel::~RenamePreviewModel() {
    if (m_cancel)
        m_cancel->store(true);
    m_pool.waitForDone();
}

int RenamePreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_shared->rows.size());
}

int RenamePreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RenamePreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case ColCurrent:
        return tr("現在の名前");
    case ColNew:
        return tr("新しい名前");
    case ColReason:
        return tr("変更できない理由");
    }
    return {};
}

const PreviewName& RenamePreviewModel::shownName(int row) const {
    auto it = m_visible.find(row);
    if (it == m_visible.end())
        it = m_visible.insert(row,
                              previewName(m_shared->rows[std::size_t(row)].name, m_options, row));
    return it.value();
}

QVariant RenamePreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const RenameSource& source = m_shared->rows[std::size_t(index.row())];
    const NameConflict conflict =
        m_analysis ? m_analysis->rows[std::size_t(index.row())].conflict : NameConflict::None;
    if (role == Qt::ForegroundRole && conflict != NameConflict::None &&
        index.column() != ColCurrent)
        return QBrush(QColor(0xc0, 0, 0));
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case ColCurrent:
        return displayPath(source.name);
    case ColNew: {
        const std::optional<QByteArray>& name =
            m_analysis ? m_analysis->rows[std::size_t(index.row())].name
                       : shownName(index.row()).name;
        return displayPath(name.value_or(source.name));
    }
    case ColReason:
        return renameFailureText(failureOf(conflict));
    }
    return {};
}

void RenamePreviewModel::setOptions(const RenameOptions& options) {
    m_options = options;
    m_visible.clear();
    m_analysis.reset();
    startAnalysis();
    if (!m_shared->rows.empty())
        Q_EMIT dataChanged(index(0, ColNew), index(rowCount() - 1, ColReason));
}

void RenamePreviewModel::startAnalysis() {
    if (m_cancel)
        m_cancel->store(true);
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    const quint64 generation = ++m_generation;
    m_pool.start([this, shared = m_shared, options = m_options, cancel = m_cancel, generation] {
        RenameAnalysis a = analyseRenames(shared->rows, options, shared->folders, cancel.get());
        if (a.cancelled)
            return;
        // Posted events die with the model, and the model waits for this thread.
        QMetaObject::invokeMethod(
            this,
            [this, generation, a = std::move(a)]() mutable {
                if (generation != m_generation)
                    return;
                m_analysis = std::move(a);
                m_visible.clear();
                if (!m_shared->rows.empty())
                    Q_EMIT dataChanged(index(0, ColNew), index(rowCount() - 1, ColReason));
                Q_EMIT analysisFinished();
            },
            Qt::QueuedConnection);
    });
}

QString RenamePreviewModel::summary() const {
    if (!m_analysis)
        return tr("確認しています…");
    return tr("変更する名前: %1 件　変更できない名前: %2 件　変更なし: %3 件")
        .arg(m_analysis->changing)
        .arg(m_analysis->blocked)
        .arg(m_analysis->unchanged);
}

} // namespace kelvoro
