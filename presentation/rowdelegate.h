#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

namespace kelvoro {

// Paints the file list's rows: a flat fill (light blue when selected), the text columns in
// black or, for rows holding staged edits, in red, and the flag columns as check-box pictures.
// A folder row's name ends in "/".
// Never a focus frame: the colours alone carry the state.
class RowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 15;

    explicit RowDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    void paintCheckBox(QPainter* painter, QPoint at, bool checked) const;
    void paintText(QPainter* painter, const QStyleOptionViewItem& option, QRect textRect,
                   const QModelIndex& index) const;

    // Loaded once: painting runs for every visible cell on every scroll step.
    QPixmap m_checked;
    QPixmap m_unchecked;
    QPixmap m_checked2x;
    QPixmap m_unchecked2x;
};

} // namespace kelvoro
