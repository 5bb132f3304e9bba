#include "filelist/trazzleview.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

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
    const QRect band = rowBand(currentIndex().row());
    if (!band.isEmpty())
        at = band.bottomLeft();
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
    const QModelIndex before = currentIndex();
    QTableView::keyPressEvent(event);
    if (currentIndex() != before || event->key() == Qt::Key_Space)
        setKeyboardCues(true);
}

void CTrazzleView::mousePressEvent(QMouseEvent* event) {
    setKeyboardCues(false);
    QTableView::mousePressEvent(event);
}

void CTrazzleView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        setKeyboardCues(true);
    else if (m_keyboardCues)
        viewport()->update(rowBand(currentIndex().row()));
}

void CTrazzleView::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    if (m_keyboardCues)
        viewport()->update(rowBand(currentIndex().row()));
}

void CTrazzleView::setKeyboardCues(bool shown) {
    if (m_keyboardCues == shown)
        return;
    m_keyboardCues = shown;
    viewport()->update(rowBand(currentIndex().row()));
}

QRect CTrazzleView::rowBand(int row) const {
    if (row < 0)
        return {};
    return QRect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row)) &
           viewport()->rect();
}

void CTrazzleView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (m_keyboardCues) {
        viewport()->update(rowBand(previous.row()));
        viewport()->update(rowBand(current.row()));
    }
}

// The table tells assistive technology of a selection change by listing every cell in it, which
// for a select-all of many rows takes seconds and hundreds of megabytes; past a few thousand
// cells one event says the same.
void CTrazzleView::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    constexpr qsizetype kListedCells = 4096;
    const auto cells = [](const QItemSelection& selection) {
        qsizetype count = 0;
        for (const QItemSelectionRange& range : selection)
            count += qsizetype(range.width()) * range.height();
        return count;
    };
    if (!QAccessible::isActive() || cells(selected) + cells(deselected) <= kListedCells) {
        QTableView::selectionChanged(selected, deselected);
        return;
    }
    QAccessibleEvent event(this, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&event);
    QAbstractItemView::selectionChanged(selected, deselected);
}

void CTrazzleView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (!m_keyboardCues || !hasFocus())
        return;
    const QRect band = rowBand(currentIndex().row());
    if (band.isEmpty() || !event->rect().intersects(band))
        return;
    // A dotted frame in the text colour, as list views have long marked the focused row.
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
    painter.drawRect(band.adjusted(0, 0, -1, -1));
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
