#include "app/aboutdlg.h"
#include "app/mainframe.h"
#include "filelist/folderdialog.h"
#include "platform/photodate.h"
#include "properties/change.h"
#include "properties/stagetimes.h"
#include "properties/timetoolsdialog.h"
#include "rename/renamedialog.h"
#include "support/everydialog.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

// Everything here runs at 200 %: the pictures must come from the double-size artwork, drawn
// pixel for pixel, and no text may be cut off.
namespace {

QImage grabbed(QWidget* w) {
    const QPixmap shot = w->grab();
    if (shot.devicePixelRatio() != 2.0)
        qFatal("not drawn at 200 %%");
    return shot.toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage art(const QString& name) {
    QImage image(u":/art/"_s + name);
    if (image.isNull())
        qFatal("no artwork %s", qPrintable(name));
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Where the picture's opaque pixels appear unchanged in the shot; its translucent edges blend
// with whatever lies below, so they do not count.
std::optional<QPoint> find(const QImage& shot, const QImage& picture) {
    QList<QPoint> opaque;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(picture.pixel(x, y)) == 255)
                opaque.append({x, y});
    if (opaque.isEmpty())
        qFatal("a picture without opaque pixels");
    for (int y = 0; y + picture.height() <= shot.height(); ++y)
        for (int x = 0; x + picture.width() <= shot.width(); ++x) {
            const bool match = std::all_of(opaque.cbegin(), opaque.cend(), [&](QPoint p) {
                return (shot.pixel(x + p.x(), y + p.y()) | 0xFF000000u) ==
                       picture.pixel(p.x(), p.y());
            });
            if (match)
                return QPoint(x, y);
        }
    return std::nullopt;
}

// Controls whose text is cut short, or that stick out of their window.
QStringList clipped(QWidget* window) {
    QStringList found;
    const QRect inside = window->rect();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->objectName().startsWith(u"qt_"_s))
            continue;
        const auto* label = qobject_cast<QLabel*>(w);
        const bool wraps = label && label->wordWrap();
        const bool texted = (label && !label->text().isEmpty() && label->pixmap().isNull()) ||
                            (qobject_cast<QAbstractButton*>(w) &&
                             !static_cast<QAbstractButton*>(w)->text().isEmpty());
        const QRect at(w->mapTo(window, QPoint(0, 0)), w->size());
        if (!inside.contains(at) ||
            (texted && !wraps && w->width() < w->minimumSizeHint().width()) ||
            (texted && w->height() < w->minimumSizeHint().height()))
            found << QLatin1StringView(w->metaObject()->className()) + u' ' + w->objectName();
    }
    return found;
}

} // namespace

class TestHighDpi : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
    QTemporaryDir m_dir;

    QByteArray file(const char* name) {
        return test::makeFile(QFile::encodeName(m_dir.path()), name);
    }

private Q_SLOTS:
    void rowsAndCheckBoxesAreDrawnAtDoubleDensity() {
        test::TestServices t;
        CTrazzleView view(t.prompt, t.services.fileSystem);
        view.AddFile(file("a.txt"));
        view.AddFile(file("b.txt"));
        RowFlags flags;
        flags.readOnly = true;
        view.rows().stageEdit(1, std::nullopt, std::nullopt, std::nullopt, flags);
        view.resize(900, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.selectRow(0);

        const QImage shot = grabbed(view.viewport());
        const QRect first = view.visualRect(view.model()->index(0, ColName));
        const QRect second = view.visualRect(view.model()->index(1, ColName));
        QCOMPARE(second.top() - first.top(), first.height());
        // The selected row's fill covers twice its logical height in device pixels.
        const int x = 2 * first.right() - 2;
        int filled = 0;
        for (int y = 0; y < shot.height(); ++y)
            filled += shot.pixel(x, y) == shot.pixel(x, 2 * first.top() + 1) ? 1 : 0;
        QCOMPARE(filled, 2 * first.height());

        const QImage checked = art(u"checkbox-checked@2x.png"_s);
        const QImage unchecked = art(u"checkbox-unchecked@2x.png"_s);
        const auto cell = [&](int row, int column) {
            const QRect r = view.visualRect(view.model()->index(row, column));
            return shot.copy(QRect(2 * r.topLeft(), 2 * r.size()));
        };
        QVERIFY2(find(cell(1, ColReadOnly), checked), "not the double-size checked box");
        QVERIFY2(find(cell(0, ColReadOnly), unchecked), "not the double-size unchecked box");
    }

    void toolbarAndMenusUseTheDoubleSizeArtwork() {
        test::TestServices t;
        CMainFrame frame(t.services);
        frame.resize(900, 500);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto* toolBar = frame.findChild<QToolBar*>();
        QVERIFY(toolBar);
        const QImage bar = grabbed(toolBar);
        // Buttons of commands that can run now are drawn in their own colours.
        for (const char* name : {"tb-open@2x.png", "tb-open-folder@2x.png", "tb-about@2x.png"})
            QVERIFY2(find(bar, art(QLatin1StringView(name))), name);

        QMenu* fileMenu = frame.menuBar()->actions().constFirst()->menu();
        QVERIFY(fileMenu);
        fileMenu->popup(frame.mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(fileMenu));
        const QImage menu = grabbed(fileMenu);
        fileMenu->hide();
        for (const char* name : {"mi-open@2x.png", "mi-open-folder@2x.png"})
            QVERIFY2(find(menu, art(QLatin1StringView(name))), name);
        QCOMPARE(clipped(&frame), QStringList());
    }

    void dialogsShowEveryTextWhole() {
        test::TestServices t;
        CTrazzleView view(t.prompt, t.services.fileSystem);
        view.AddFile(file("c.txt"));
        test::EveryDialog dialogs(t.prompt, t.shell, view, QFile::encodeName(m_dir.path()),
                                  "c.txt");
        for (QDialog* dialog : dialogs.all()) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QCOMPARE(grabbed(dialog).size(), 2 * dialog->size());
            QVERIFY2(clipped(dialog).isEmpty(),
                     qPrintable(dialog->objectName() + u": "_s + clipped(dialog).join(u", "_s)));
            dialog->hide();
        }
    }
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHighDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdpi.moc"
