#pragma once

#include "rename/renameplan.h"

#include <QAbstractTableModel>
#include <QThreadPool>

#include <memory>

namespace kelvoro {

// The selected rows with the names they would get. Only the rows on screen are named while
// the user types; the conflicts and counts of all rows are worked out on a thread of their
// own, each folder's names read from disk once, and a newer change of the options cancels
// the older work.
class RenamePreviewModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ColCurrent, ColNew, ColReason, ColumnCount };

    explicit RenamePreviewModel(std::vector<RenameSource> rows, QObject* parent = nullptr);
    ~RenamePreviewModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setOptions(const RenameOptions& options);
    // Whether the conflicts and counts are those of the current options.
    bool analysed() const { return m_analysis.has_value(); }
    const RenameAnalysis* analysis() const { return m_analysis ? &*m_analysis : nullptr; }
    // The line under the preview: what changes and what cannot.
    QString summary() const;

Q_SIGNALS:
    void analysisFinished();

private:
    struct Shared;
    void startAnalysis();
    const PreviewName& shownName(int row) const;

    std::shared_ptr<Shared> m_shared; // rows and folder names, also used by the worker
    RenameOptions m_options;
    quint64 m_generation = 0;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    std::optional<RenameAnalysis> m_analysis;
    mutable QHash<int, PreviewName> m_visible; // names of rows painted before the analysis
    QThreadPool m_pool;
};

} // namespace kelvoro
