#include "presentation/rowdelegate.h"

#include "filelist/filelistmodel.h"

#include <QPainter>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>

namespace kelvoro {

namespace {

const QColor kSelectedFill(140, 223, 253);
const QColor kStagedText(250, 0, 0);
const QColor kText(0, 0, 0);

// Text and check boxes start here, measured from the cell's top-left corner.
constexpr int kInsetX = 4;
constexpr int kInsetY = 1;
constexpr int kCheckBoxSide = 12; // the picture's 13th row stays unused

bool isFlagColumn(int column) {
    return column >= ColReadOnly && column <= ColIndex;
}

// A folder's name ends in the separator, as "ls -F" shows it, so folder rows stand out.
QString cellText(const QModelIndex& index) {
    QString text = index.data(Qt::DisplayRole).toString();
    if (index.column() == ColName && index.data(FileListModel::FolderRole).toBool())
        text.append(u'/');
    return text;
}

} // namespace

RowDelegate::RowDelegate(QObject* parent)
    : QStyledItemDelegate(parent), m_checked(QStringLiteral(":/art/checkbox-checked.png")),
      m_unchecked(QStringLiteral(":/art/checkbox-unchecked.png")),
      m_checked2x(QStringLiteral(":/art/checkbox-checked@2x.png")),
      m_unchecked2x(QStringLiteral(":/art/checkbox-unchecked@2x.png")) {}

void RowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const {
    const QRect cell = option.rect;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->fillRect(cell, selected ? kSelectedFill : option.palette.color(QPalette::Base));

    const QRect inner = cell.adjusted(kInsetX, kInsetY, 0, 0);
    if (isFlagColumn(index.column()))
        paintCheckBox(painter, inner.topLeft(), index.data(FileListModel::FlagRole).toBool());
    else
        paintText(painter, option, inner, index);
}

void RowDelegate::paintCheckBox(QPainter* painter, QPoint at, bool checked) const {
    const bool highDpi = painter->device()->devicePixelRatio() > 1.0;
    const QPixmap& picture =
        highDpi ? (checked ? m_checked2x : m_unchecked2x) : (checked ? m_checked : m_unchecked);
    const qreal scale = picture.devicePixelRatio();
    painter->drawPixmap(QRectF(at, QSizeF(kCheckBoxSide, kCheckBoxSide)), picture,
                        QRectF(0, 0, kCheckBoxSide * scale, kCheckBoxSide * scale));
}

void RowDelegate::paintText(QPainter* painter, const QStyleOptionViewItem& option, QRect textRect,
                            const QModelIndex& index) const {
    QString text = cellText(index);
    // Names may hold line breaks; a row shows one line.
    text.replace(u'\n', u' ').replace(u'\r', u' ');
    QTextLayout layout(option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width()),
                       option.font, painter->device());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    // The line's height depends on the fonts its characters come from: Japanese text falls
    // back to a font with a taller line than the row has room for. Such a line moves up until
    // its descent ends at the row's bottom, which keeps descenders and underscores visible.
    const int baseline = std::min(textRect.top() + qRound(line.ascent()),
                                  option.rect.bottom() + 1 - qRound(line.descent()));
    painter->setPen(index.data(FileListModel::StagedRole).toBool() ? kStagedText : kText);
    const QPointF origin(textRect.left(), baseline - line.ascent());
    if (option.rect.contains(
            QRect(origin.toPoint(), QSize(textRect.width(), qCeil(line.height()))))) {
        layout.draw(painter, origin);
        return;
    }
    // Keep what does not fit inside the cell, so that it cannot mark the neighbouring rows.
    painter->save();
    painter->setClipRect(option.rect, Qt::IntersectClip);
    layout.draw(painter, origin);
    painter->restore();
}

QSize RowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (isFlagColumn(index.column()))
        return {kInsetX + kCheckBoxSide + kInsetX, kRowHeight};
    const QString text = cellText(index);
    return {kInsetX + option.fontMetrics.horizontalAdvance(text) + kInsetX, kRowHeight};
}

} // namespace kelvoro
