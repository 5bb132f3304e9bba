#include "filelist/trazzleview.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

namespace kelvoro {

namespace {

// The edit keys the list answers with nothing (the table would copy the current cell).
bool isInertEditKey(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Undo))
        return true;
    const QKeyCombination key = event->keyCombination();
    return key == QKeyCombination(Qt::ControlModifier, Qt::Key_Insert) ||
           key == QKeyCombination(Qt::ShiftModifier, Qt::Key_Delete) ||
           key == QKeyCombination(Qt::ShiftModifier, Qt::Key_Insert) ||
           key == QKeyCombination(Qt::AltModifier, Qt::Key_Backspace);
}

} // namespace

QPoint CTrazzleView::contextMenuPosition(const QContextMenuEvent& event) const {
    if (event.reason() != QContextMenuEvent::Keyboard)
        return event.globalPos();
    // A key has no position of its own: show the menu under the current row when it is in
    // sight, else in the list's corner.
    QPoint at;
    const QModelIndex current = currentIndex();
    if (current.isValid()) {
        const int row = current.row();
        const QRect rowRect =
            QRect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row)) &
            viewport()->rect();
        if (!rowRect.isEmpty())
            at = rowRect.bottomLeft();
    }
    return viewport()->mapToGlobal(at);
}

void CTrazzleView::contextMenuEvent(QContextMenuEvent* event) {
    if (m_contextMenu)
        m_contextMenu->exec(contextMenuPosition(*event));
    event->accept();
}

void CTrazzleView::requestEdit() {
    if (HasSelection())
        Q_EMIT editRequested();
}

void CTrazzleView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        requestEdit();
}

void CTrazzleView::keyPressEvent(QKeyEvent* event) {
    if (isInertEditKey(event)) {
        event->accept();
        return;
    }
    // The other key that asks for the context menu, beside the Menu key.
    if (event->keyCombination() == QKeyCombination(Qt::ShiftModifier, Qt::Key_F10)) {
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(), QPoint(),
                                    event->modifiers());
        contextMenuEvent(&menuEvent);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        requestEdit();
    QTableView::keyPressEvent(event);
}

// Rows are repainted whole after a scroll, never pieced together from a blitted strip.
void CTrazzleView::wheelEvent(QWheelEvent* event) {
    viewport()->update();
    QTableView::wheelEvent(event);
}

void CTrazzleView::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    if (dx != 0)
        viewport()->update();
}

} // namespace kelvoro
