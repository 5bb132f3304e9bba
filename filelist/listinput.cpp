#include "app/commands.h"
#include "app/mainframe.h"
#include "filelist/trazzleview.h"

#include <QAction>
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

std::unique_ptr<QMenu> CTrazzleView::createContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("contextMenu"));
    for (int id : contextMenuLayout()) {
        if (id == ID_SEPARATOR)
            menu->addSeparator();
        else if (QAction* action = m_frame ? m_frame->action(id) : nullptr)
            menu->addAction(action);
    }
    return menu;
}

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
    const std::unique_ptr<QMenu> menu = createContextMenu();
    menu->exec(contextMenuPosition(*event));
    event->accept();
}

void CTrazzleView::runEditCommand() {
    if (!HasSelection() || !m_frame)
        return;
    if (QAction* edit = m_frame->action(ID_EDIT_PROPERTIES))
        edit->trigger();
}

void CTrazzleView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        runEditCommand();
}

void CTrazzleView::keyPressEvent(QKeyEvent* event) {
    if (isInertEditKey(event)) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        runEditCommand();
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
