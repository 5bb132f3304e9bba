#include "app/commands.h"
#include "app/kelvoroapp.h"
#include "app/mainframe.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

namespace {

QString imageFile(const char* prefix, std::string_view name, const char* suffix = "") {
    return u":/art/%1%2%3.png"_s.arg(QLatin1String(prefix),
                                     QLatin1String(name.data(), qsizetype(name.size())),
                                     QLatin1String(suffix));
}

// True when the picture holds something to see: not one flat colour, not all transparent.
bool hasArt(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QRgb first = argb.pixel(0, 0);
    bool varied = false;
    bool visible = false;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            varied = varied || argb.pixel(x, y) != first;
            visible = visible || qAlpha(argb.pixel(x, y)) > 0;
        }
    return varied && visible;
}

void verifyPicture(const QString& file, QSize size) {
    const QImage normal(file);
    QVERIFY2(!normal.isNull(), qPrintable(file));
    QCOMPARE(normal.size(), size);
    QVERIFY2(hasArt(normal), qPrintable(file));
    const QString doubled = QString(file).replace(u".png"_s, u"@2x.png"_s);
    const QImage large(doubled);
    QVERIFY2(!large.isNull(), qPrintable(doubled));
    QCOMPARE(large.size(), size * 2);
}

// The picture as it shows on a background of the given colour.
QImage onBackground(const QImage& picture, const QColor& background) {
    QImage image(picture.size(), QImage::Format_RGB32);
    image.fill(background);
    QPainter(&image).drawImage(0, 0, picture);
    return image;
}

} // namespace

class TestArtwork : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
private Q_SLOTS:
    void everyCommandOfTheIconTablesHasItsImages() {
        QCOMPARE(frameMenuIcons().size(), 12u);
        QCOMPARE(contextMenuIcons().size(), 6u);
        for (const auto& table : {frameMenuIcons(), contextMenuIcons()})
            for (const MenuIcon& icon : table) {
                QVERIFY(findCommand(icon.id));
                verifyPicture(imageFile("mi-", icon.image), QSize(16, 16));
            }
        for (int id : toolBarLayout()) {
            if (id == ID_SEPARATOR)
                continue;
            QVERIFY(!toolBarImage(id).empty());
            verifyPicture(imageFile("tb-", toolBarImage(id)), QSize(19, 18));
        }
    }

    void otherPicturesHaveTheirSizes() {
        for (const char* name : {"checkbox-checked", "checkbox-unchecked"}) {
            const QString file = imageFile("", name);
            verifyPicture(file, QSize(12, 13));
            // The list shows the top 12 by 12: it must cover the row's fill completely.
            const QImage box = QImage(file).convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 12; ++x)
                    QCOMPARE(qAlpha(box.pixel(x, y)), 255);
        }
        verifyPicture(imageFile("", "cursor-hand"), QSize(32, 32));
    }

    void theWindowMenusAndIconsAreInPlace() {
        test::TestServices t;
        CKelvoroApp app(t.services);
        QVERIFY(app.InitInstance({}));
        CMainFrame* frame = app.mainFrame();

        const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
        for (int size : {16, 32, 48, 256})
            QVERIFY(sizes.contains(QSize(size, size)));
        QVERIFY(!frame->windowIcon().isNull());

        for (const auto& table : {frameMenuIcons(), contextMenuIcons()})
            for (const MenuIcon& icon : table) {
                const QImage shown = frame->action(icon.id)->icon().pixmap(16, 16).toImage();
                QCOMPARE(
                    shown.convertToFormat(QImage::Format_ARGB32),
                    QImage(imageFile("mi-", icon.image)).convertToFormat(QImage::Format_ARGB32));
            }

        // The titles keep the platform's look; the popups are drawn with their icons.
        QMenuBar* bar = frame->menuBar();
        QCOMPARE(bar->style(), QApplication::style());
        const QList<QAction*> titles = bar->actions();
        QCOMPARE(titles.size(), 4);
        for (QAction* title : titles)
            QVERIFY(title->menu()->style() != QApplication::style());
        QMenu* file = titles.first()->menu();
        file->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        const QColor face = file->palette().color(QPalette::Button);
        const QRect open = file->actionGeometry(frame->action(ID_FILE_OPEN));
        const QImage menu = file->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(menu.copy(QRect(open.topLeft() + QPoint(2, 2), QSize(16, 16))),
                 onBackground(QImage(u":/art/mi-open.png"_s), face));
        file->hide();
    }
};

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
