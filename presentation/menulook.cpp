#include "presentation/menulook.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include <algorithm>
#include <array>

namespace kelvoro {

namespace {

constexpr int kStripWidth = 20;
constexpr int kTextLeft = 24;
constexpr int kShortcutGap = 16;
// Room after the last column, so that no text touches the menu's edge.
constexpr int kTrailingSpace = 12;
constexpr int kMinItemHeight = 20;
constexpr int kImageBox = 20;
constexpr int kImageInset = 2;
constexpr int kImageSize = 16;
constexpr int kSeparatorRightGap = 4;
constexpr int kFrameWidth = 1;
constexpr int kVerticalMargin = 2;

const QColor kSeparatorLine(128, 128, 128);
const QColor kHighlightFill(120, 160, 200);
const QColor kHighlightFrame(0, 50, 128);
const QColor kDisabledText(140, 140, 140);
const QColor kHighlightedText(255, 255, 255);
const QColor kText(0, 0, 0);
const QColor kCheckInk(64, 64, 64);
const QColor kCheckPaper(241, 240, 239);

// A disabled item keeps the menu's colours: only its text and image change.
QColor colour(const QPalette& palette, QPalette::ColorRole role) {
    return palette.color(QPalette::Active, role);
}

// The tones a disabled image is reduced to: button shadow, 3D light and button face.
class Tones {
public:
    explicit Tones(const QPalette& palette)
        : m_tones{colour(palette, QPalette::Dark).rgb(), colour(palette, QPalette::Midlight).rgb(),
                  colour(palette, QPalette::Button).rgb()} {}

    QRgb nearest(QRgb pixel) const {
        auto distance = [pixel](QRgb tone) {
            const int r = qRed(pixel) - qRed(tone);
            const int g = qGreen(pixel) - qGreen(tone);
            const int b = qBlue(pixel) - qBlue(tone);
            return r * r + g * g + b * b;
        };
        return *std::min_element(m_tones.begin(), m_tones.end(),
                                 [&](QRgb a, QRgb b) { return distance(a) < distance(b); });
    }

    // The image as it shows on the strip, every pixel moved to the nearest tone.
    QPixmap reduce(const QPixmap& source, const QColor& background) const {
        QImage image(source.size(), QImage::Format_RGB32);
        image.setDevicePixelRatio(source.devicePixelRatio());
        image.fill(background);
        QPainter(&image).drawPixmap(0, 0, source);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = nearest(line[x]);
        }
        return QPixmap::fromImage(image);
    }

private:
    std::array<QRgb, 3> m_tones;
};

// Two one-pixel lines around a box: top and left in one colour, bottom and right in another.
void drawBevel(QPainter* painter, const QRect& box, const QColor& topLeft,
               const QColor& bottomRight) {
    painter->fillRect(QRect(box.left(), box.top(), box.width(), 1), topLeft);
    painter->fillRect(QRect(box.left(), box.top(), 1, box.height()), topLeft);
    painter->fillRect(QRect(box.left(), box.bottom(), box.width(), 1), bottomRight);
    painter->fillRect(QRect(box.right(), box.top(), 1, box.height()), bottomRight);
}

// A groove (checked) or a ridge (hovered) around the image box, filled with the face colour.
void drawImageFrame(QPainter* painter, const QRect& box, const QPalette& palette, bool groove) {
    const QColor light = colour(palette, QPalette::Light);
    const QColor dark = colour(palette, QPalette::Dark);
    painter->fillRect(box, colour(palette, QPalette::Button));
    drawBevel(painter, box, groove ? dark : light, groove ? light : dark);
    drawBevel(painter, box.adjusted(1, 1, -1, -1), groove ? light : dark, groove ? dark : light);
}

void drawCheckMark(QPainter* painter, QPoint at, const Tones* disabled) {
    const QColor ink = disabled ? QColor(disabled->nearest(kCheckInk.rgb())) : kCheckInk;
    const QColor paper = disabled ? QColor(disabled->nearest(kCheckPaper.rgb())) : kCheckPaper;
    painter->setPen(ink);
    painter->setBrush(paper);
    painter->drawRect(QRect(at, QSize(kImageSize - 1, kImageSize - 1)));
    const std::array<QPoint, 6> tick{QPoint(5, 6),  QPoint(7, 8),  QPoint(10, 5),
                                     QPoint(10, 7), QPoint(7, 10), QPoint(5, 8)};
    std::array<QPoint, 6> placed{};
    std::transform(tick.begin(), tick.end(), placed.begin(), [at](QPoint p) { return p + at; });
    painter->setBrush(ink);
    painter->drawPolygon(placed.data(), static_cast<int>(placed.size()));
}

// Whether any item of the menu shows a shortcut text, which opens the shortcut column.
bool hasShortcutColumn(const QWidget* widget) {
    const auto* menu = qobject_cast<const QMenu*>(widget);
    if (!menu)
        return false;
    const QList<QAction*> actions = menu->actions();
    return std::any_of(actions.begin(), actions.end(), [](const QAction* action) {
        return action->text().contains(u'\t') || !action->shortcut().isEmpty();
    });
}

class MenuStyle : public QProxyStyle {
public:
    MenuStyle() : QProxyStyle(QApplication::style()->name()) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        switch (metric) {
        case PM_MenuPanelWidth:
            return kFrameWidth;
        case PM_MenuHMargin:
            return 0;
        case PM_MenuVMargin:
            return kVerticalMargin;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type != CT_MenuItem || !item)
            return QProxyStyle::sizeFromContents(type, option, size, widget);
        if (item->menuItemType == QStyleOptionMenuItem::Separator)
            return {1, 1};
        // The menu adds the widest shortcut text to the widest item.
        const int gap = hasShortcutColumn(widget) ? kShortcutGap : 0;
        return {size.width() + kTextLeft + gap + kTrailingSpace,
                std::max(size.height(), kMinItemHeight)};
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        switch (element) {
        case PE_PanelMenu:
            drawPanel(option->rect, option->palette, painter);
            return;
        case PE_FrameMenu:
            painter->save();
            painter->setPen(colour(option->palette, QPalette::Dark));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            painter->restore();
            return;
        default:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
        }
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element == CE_MenuEmptyArea) {
            drawPanel(option->rect, option->palette, painter);
            return;
        }
        if (element != CE_MenuItem || !item) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        drawItem(*item, painter, widget);
        painter->restore();
    }

private:
    static void drawStrip(const QRect& rect, const QPalette& palette, QPainter* painter) {
        painter->fillRect(QRect(rect.left(), rect.top(), kStripWidth, rect.height()),
                          colour(palette, QPalette::Button));
        painter->fillRect(rect.adjusted(kStripWidth, 0, 0, 0), colour(palette, QPalette::Base));
    }

    // The background between and around the items continues the strip.
    static void drawPanel(const QRect& rect, const QPalette& palette, QPainter* painter) {
        drawStrip(rect.adjusted(kFrameWidth, 0, 0, 0), palette, painter);
    }

    void drawItem(const QStyleOptionMenuItem& item, QPainter* painter,
                  const QWidget* widget) const {
        const QRect& r = item.rect;
        drawStrip(r, item.palette, painter);
        if (item.menuItemType == QStyleOptionMenuItem::Separator) {
            painter->fillRect(
                QRect(r.left() + kTextLeft, r.top(), r.width() - kTextLeft - kSeparatorRightGap, 1),
                kSeparatorLine);
            return;
        }
        const bool enabled = item.state.testFlag(State_Enabled);
        const bool hovered = enabled && item.state.testFlag(State_Selected);
        if (hovered) {
            painter->setPen(kHighlightFrame);
            painter->setBrush(kHighlightFill);
            painter->drawRect(r.adjusted(0, 0, -1, -1));
        }
        drawTexts(item, enabled ? (hovered ? kHighlightedText : kText) : kDisabledText, painter,
                  widget);

        const QRect box(r.left(), r.top() + (r.height() - kImageBox) / 2, kImageBox, kImageBox);
        const QPoint imageAt = box.topLeft() + QPoint(kImageInset, kImageInset);
        const bool checked = item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked;
        const Tones tones(item.palette);
        if (item.icon.isNull()) {
            if (checked)
                drawCheckMark(painter, imageAt, enabled ? nullptr : &tones);
            return;
        }
        if (checked || hovered)
            drawImageFrame(painter, box, item.palette, checked);
        const QPixmap image =
            item.icon.pixmap(QSize(kImageSize, kImageSize), painter->device()->devicePixelRatio());
        painter->drawPixmap(QRect(imageAt, QSize(kImageSize, kImageSize)),
                            enabled ? image
                                    : tones.reduce(image, colour(item.palette, QPalette::Button)));
    }

    void drawTexts(const QStyleOptionMenuItem& item, const QColor& ink, QPainter* painter,
                   const QWidget* widget) const {
        const QRect& r = item.rect;
        const qsizetype tab = item.text.indexOf(u'\t');
        const int mnemonic = proxy()->styleHint(SH_UnderlineShortcut, &item, widget)
                                 ? Qt::TextShowMnemonic
                                 : Qt::TextHideMnemonic;
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | mnemonic;
        // Every item of a popup is as wide as the widest, so the shortcut column lines up.
        const int textRight = r.right() + 1 - kTrailingSpace;
        const int shortcutLeft = textRight - item.reservedShortcutWidth;
        const int captionRight = tab < 0 ? textRight : shortcutLeft - kShortcutGap;
        painter->setFont(item.font);
        painter->setPen(ink);
        painter->drawText(
            QRect(r.left() + kTextLeft, r.top(), captionRight - r.left() - kTextLeft, r.height()),
            flags, tab < 0 ? item.text : item.text.left(tab));
        if (tab >= 0)
            painter->drawText(QRect(shortcutLeft, r.top(), textRight - shortcutLeft, r.height()),
                              flags, item.text.mid(tab + 1));
    }
};

QProxyStyle* menuStyle() {
    // One style for every menu; it lives as long as the application.
    static QPointer<MenuStyle> style;
    if (!style) {
        style = new MenuStyle;
        style->setParent(qApp);
    }
    return style;
}

} // namespace

void applyMenuLook(QMenu* menu) {
    menu->setStyle(menuStyle());
}

} // namespace kelvoro
