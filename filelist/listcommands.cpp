#include "app/mainframe.h"
#include "filelist/trazzleview.h"
#include "platform/shell.h"

#include <algorithm>

namespace kelvoro {

void CTrazzleView::OnSelectAll() {
    const int count = m_model.rowCount();
    // One range for every row; the current row keeps the focus.
    if (count > 0)
        selectionModel()->select(
            QItemSelection(m_model.index(0, 0), m_model.index(count - 1, ColumnCount - 1)),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    viewport()->update();
}

void CTrazzleView::OnClear() {
    if (!HasSelection())
        return;
    const std::vector<int> removed = selectedRows();
    // The current row survives the removal, or hands over to the nearest row above it (below
    // when none is left above), also when a scattered removal resets the model.
    const QModelIndex current = currentIndex();
    int target = -1;
    if (current.isValid()) {
        const int row = current.row();
        const auto before = std::lower_bound(removed.begin(), removed.end(), row);
        const int survivorsAbove = row - static_cast<int>(before - removed.begin());
        const bool gone = before != removed.end() && *before == row;
        target = !gone ? survivorsAbove : std::max(survivorsAbove - 1, 0);
    }
    // Selection ranges hold persistent indexes that every removed range would walk.
    clearSelection();
    // Staged edits leave with their rows; once none is left there is nothing to save.
    m_model.removeRowList(removed);
    if (target >= 0 && target < m_model.rowCount())
        selectionModel()->setCurrentIndex(m_model.index(target, current.column()),
                                          QItemSelectionModel::NoUpdate);
    if (m_frame && m_model.stagedCount() == 0)
        m_frame->SetChanged(false);
}

void CTrazzleView::OnClearAll() {
    if (m_frame && !m_frame->QuerySaveChanges())
        return;
    m_model.clear();
    if (m_frame)
        m_frame->SetChanged(false);
}

void CTrazzleView::OnOpenWithProgram() {
    for (int r : selectedRows())
        m_services.shell.openWithAssociatedProgram(m_model.row(r).path());
}

void CTrazzleView::OnChangeAssociation() {
    const std::vector<int> rows = selectedRows();
    if (!rows.empty())
        m_services.shell.chooseProgram(m_model.row(rows.front()).path(), this);
}

} // namespace kelvoro
