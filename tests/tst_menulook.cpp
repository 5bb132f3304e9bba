#include "presentation/menulook.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSet>
#include <QTest>

#include <memory>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

namespace {

const QRgb kHighlight = qRgb(120, 160, 200);
const QRgb kHighlightFrame = qRgb(0, 50, 128);
const QRgb kSeparator = qRgb(128, 128, 128);
const QRgb kDisabledText = qRgb(140, 140, 140);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kCheckInk = qRgb(64, 64, 64);
const QRgb kCheckPaper = qRgb(241, 240, 239);

QRgb colour(const QWidget& widget, QPalette::ColorRole role) {
    return widget.palette().color(QPalette::Active, role).rgb();
}

// The first column, from the left, of the rectangle that holds a pixel unlike the background.
int firstInkColumn(const QImage& image, const QRect& rect, QRgb background) {
    for (int x = rect.left(); x <= rect.right(); ++x)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            if (image.pixel(x, y) != background)
                return x;
    return -1;
}

int lastInkColumn(const QImage& image, const QRect& rect, QRgb background) {
    for (int x = rect.right(); x >= rect.left(); --x)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            if (image.pixel(x, y) != background)
                return x;
    return -1;
}

QSet<QRgb> coloursIn(const QImage& image, const QRect& rect) {
    QSet<QRgb> colours;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

} // namespace

class TestMenuLook : public QObject {
    Q_OBJECT

    std::unique_ptr<QMenu> m_menu;
    QAction* m_open = nullptr; // icon, shortcut text
    QAction* m_edit = nullptr; // icon, the widest caption and shortcut
    QAction* m_separator = nullptr;
    QAction* m_clear = nullptr;    // icon, disabled
    QAction* m_toolBar = nullptr;  // checked, no icon
    QAction* m_clearAll = nullptr; // icon, checked, shortcut text

    QImage shot(QAction* hovered) {
        m_menu->setActiveAction(hovered);
        return m_menu->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QRect item(QAction* action) const { return m_menu->actionGeometry(action); }
    QRgb face() const { return colour(*m_menu, QPalette::Button); }
    QRgb menuColour() const { return colour(*m_menu, QPalette::Base); }

private Q_SLOTS:
    void init() {
        m_menu = std::make_unique<QMenu>();
        m_open = m_menu->addAction(QIcon(u":/art/mi-open.png"_s), u"開く...\tCtrl+O(&O)"_s);
        m_edit = m_menu->addAction(QIcon(u":/art/mi-edit-properties.png"_s),
                                   u"タイムスタンプ／属性の編集\tCtrl+Shift+G(&G)"_s);
        m_separator = m_menu->addSeparator();
        m_clear = m_menu->addAction(QIcon(u":/art/mi-clear.png"_s), u"クリア"_s);
        m_clear->setEnabled(false);
        m_toolBar = m_menu->addAction(u"ツール バー(&T)"_s);
        m_toolBar->setCheckable(true);
        m_toolBar->setChecked(true);
        m_clearAll =
            m_menu->addAction(QIcon(u":/art/mi-clear-all.png"_s), u"全クリア\tCtrl+Q(&Q)"_s);
        m_clearAll->setCheckable(true);
        m_clearAll->setChecked(true);
        applyMenuLook(m_menu.get());
        m_menu->popup(QPoint(20, 20));
        QVERIFY(QTest::qWaitForWindowExposed(m_menu.get()));
    }

    void cleanup() { m_menu.reset(); }

    void theIconStripRunsDownTheLeftInTheFaceColour() {
        const QImage image = shot(nullptr);
        const int left = item(m_open).left();
        QVERIFY(face() != menuColour());
        for (QAction* action : {m_open, m_edit, m_clear, m_toolBar}) {
            const QRect r = item(action);
            QCOMPARE(image.pixel(r.left(), r.top()), face());
            QCOMPARE(image.pixel(r.left() + 19, r.bottom()), face());
            QCOMPARE(image.pixel(r.left() + 20, r.top()), menuColour());
            QCOMPARE(image.pixel(r.right(), r.bottom()), menuColour());
        }
        // Also above the first item and below the last.
        QCOMPARE(image.pixel(left + 10, item(m_open).top() - 1), face());
        QCOMPARE(image.pixel(left + 30, item(m_open).top() - 1), menuColour());
        QCOMPARE(image.pixel(left + 10, item(m_clearAll).bottom() + 1), face());
    }

    void theHoveredItemIsFramedInBlueWithWhiteText() {
        const QImage image = shot(m_open);
        const QRect r = item(m_open);
        for (int x = r.left() + 20; x <= r.right(); ++x) {
            QCOMPARE(image.pixel(x, r.top()), kHighlightFrame);
            QCOMPARE(image.pixel(x, r.bottom()), kHighlightFrame);
        }
        for (int y = r.top(); y <= r.bottom(); ++y)
            QCOMPARE(image.pixel(r.right(), y), kHighlightFrame);
        QCOMPARE(image.pixel(r.right() - 1, r.top() + 1), kHighlight);
        QCOMPARE(image.pixel(r.left() + 22, r.center().y()), kHighlight);
        // The icon sits in a raised box: light above, dark on the right.
        QCOMPARE(image.pixel(r.left() + 10, r.top()), colour(*m_menu, QPalette::Light));
        QCOMPARE(image.pixel(r.left() + 19, r.top() + 10), colour(*m_menu, QPalette::Dark));

        const QSet<QRgb> text =
            coloursIn(image, QRect(r.left() + 24, r.top() + 1, r.width() - 26, r.height() - 2));
        QVERIFY(text.contains(kWhite));
        for (QRgb p : text) // white blended into the highlight, nothing darker
            QVERIFY(qRed(p) >= qRed(kHighlight) && qBlue(p) >= qBlue(kHighlight));

        // The other items stay unmarked.
        QCOMPARE(image.pixel(item(m_edit).right(), item(m_edit).top()), menuColour());
    }

    void aSeparatorIsOneGreyLineFromTheCaptionColumn() {
        const QImage image = shot(nullptr);
        const QRect r = item(m_separator);
        QCOMPARE(r.height(), 1);
        QCOMPARE(r.top(), item(m_edit).bottom() + 1);
        QCOMPARE(item(m_clear).top(), r.top() + 1);
        QCOMPARE(image.pixel(r.left() + 10, r.top()), face());
        QCOMPARE(image.pixel(r.left() + 23, r.top()), menuColour());
        for (int x = r.left() + 24; x <= r.right() - 4; ++x)
            QCOMPARE(image.pixel(x, r.top()), kSeparator);
        QCOMPARE(image.pixel(r.right() - 3, r.top()), menuColour());
        QCOMPARE(image.pixel(r.left() + 30, r.top() - 1), menuColour());
        QCOMPARE(image.pixel(r.left() + 30, r.top() + 1), menuColour());
    }

    void aDisabledItemHasGreyTextAndAThreeToneIcon() {
        const QImage image = shot(nullptr);
        const QRect r = item(m_clear);
        const QSet<QRgb> text =
            coloursIn(image, QRect(r.left() + 24, r.top(), r.width() - 24, r.height()));
        QVERIFY(text.contains(kDisabledText));
        for (QRgb p : text)
            QVERIFY(qGray(p) >= qGray(kDisabledText));

        const QSet<QRgb> tones{colour(*m_menu, QPalette::Dark), colour(*m_menu, QPalette::Midlight),
                               face()};
        const QSet<QRgb> icon = coloursIn(image, QRect(r.left() + 2, r.top() + 2, 16, 16));
        QVERIFY(icon.size() >= 2);
        QVERIFY(tones.contains(icon));
        // The same picture enabled has its full colours.
        m_clear->setEnabled(true);
        const QImage enabled = shot(nullptr);
        QVERIFY(coloursIn(enabled, QRect(r.left() + 2, r.top() + 2, 16, 16)).size() > 3);
    }

    void shortcutTextsStartInOneColumnPastTheWidestCaption() {
        const QImage image = shot(nullptr);
        const QRgb background = menuColour();
        // The widest caption ends where its ink ends; shortcut texts start 16 pixels on.
        const QRect edit = item(m_edit);
        const int captionEnd = lastInkColumn(
            image, QRect(edit.left() + 24, edit.top(), edit.width() / 2, edit.height()),
            background);
        QList<int> starts;
        for (QAction* action : {m_open, m_edit, m_clearAll}) {
            const QRect r = item(action);
            starts.append(firstInkColumn(
                image, QRect(captionEnd + 1, r.top(), r.right() - captionEnd, r.height()),
                background));
            // The shortcut text ends inside its item.
            QVERIFY(lastInkColumn(image, r, background) < r.right() - 1);
        }
        QCOMPARE(starts[1], starts[0]);
        QCOMPARE(starts[2], starts[0]);
        QVERIFY(starts[0] - captionEnd >= 16);
        for (QAction* action : {m_open, m_edit, m_separator, m_clear, m_toolBar, m_clearAll})
            QCOMPARE(item(action).width(), edit.width());
    }

    void checkedItemsShowTheCheckMarkOrAnEtchedIconBox() {
        const QImage image = shot(m_toolBar);
        const QRect mark = item(m_toolBar);
        const QPoint at = mark.topLeft() + QPoint(2, 2);
        QCOMPARE(image.pixel(at), kCheckInk);
        QCOMPARE(image.pixel(at + QPoint(15, 15)), kCheckInk);
        QCOMPARE(image.pixel(at + QPoint(3, 3)), kCheckPaper);
        QCOMPARE(image.pixel(at + QPoint(12, 8)), kCheckPaper);
        QCOMPARE(image.pixel(at + QPoint(6, 8)), kCheckInk);
        QCOMPARE(image.pixel(at + QPoint(9, 7)), kCheckInk);
        // Hovered and checked: highlighted all the same.
        QCOMPARE(image.pixel(mark.right(), mark.top()), kHighlightFrame);

        const QRect etched = item(m_clearAll);
        QCOMPARE(image.pixel(etched.left() + 10, etched.top()), colour(*m_menu, QPalette::Dark));
        QCOMPARE(image.pixel(etched.left() + 10, etched.top() + 1),
                 colour(*m_menu, QPalette::Light));
        QCOMPARE(image.pixel(etched.left() + 19, etched.top() + 10),
                 colour(*m_menu, QPalette::Light));
        QVERIFY(image.pixel(etched.topLeft() + QPoint(2, 2)) != kCheckInk);
    }

    void itemsAreAtLeastTwentyPixelsHigh() {
        QFont small = m_menu->font();
        small.setPixelSize(8);
        m_menu->setFont(small);
        m_menu->adjustSize();
        for (QAction* action : {m_open, m_edit, m_clear, m_toolBar, m_clearAll})
            QCOMPARE(item(action).height(), 20);
        QFont large = small;
        large.setPixelSize(30);
        m_menu->setFont(large);
        m_menu->adjustSize();
        QVERIFY(item(m_open).height() >= QFontMetrics(large).height());
    }
};

QTEST_MAIN(TestMenuLook)
#include "tst_menulook.moc"
