#include "app/aboutdlg.h"
#include "app/commands.h"
#include "app/guide.h"
#include "app/mainframe.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <functional>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

namespace {

const QUrl kGuide = QUrl::fromLocalFile(u"/opt/kelvoro/share/kelvoro/guide/index.html"_s);

template <typename T> T* child(QWidget& dialog, const QString& name) {
    T* widget = dialog.findChild<T*>(name);
    if (!widget)
        qFatal("no control named %s", qPrintable(name));
    return widget;
}

bool containsColour(const QImage& image, QColor colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

void makeGuide(const QString& path) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html></html>");
}

} // namespace

class TestAbout : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
private Q_SLOTS:
    void showsNameVersionAndNotice() {
        test::FakeShell shell;
        CAboutDlg dialog(shell, kGuide);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        QCOMPARE(dialog.windowTitle(), u"バージョン情報"_s);
        QCOMPARE(child<QLabel>(dialog, u"versionLabel"_s)->text(), u"Kelvoro Version 3.3.3"_s);
        QVERIFY(!child<QLabel>(dialog, u"copyrightLabel"_s)->text().isEmpty());
        QCOMPARE(child<QLabel>(dialog, u"supportLabel"_s)->text(), u"サポート"_s);
        QCOMPARE(child<QLabel>(dialog, u"linkLabel"_s)->text(),
                 u"file:///opt/kelvoro/share/kelvoro/guide/index.html"_s);
        const QLabel* icon = child<QLabel>(dialog, u"iconLabel"_s);
        QVERIFY(!icon->pixmap().isNull());
        QVERIFY(icon->pixmap().width() >= 16);

        auto* ok = child<QPushButton>(dialog, u"okButton"_s);
        QCOMPARE(ok->text(), u"OK"_s);
        QVERIFY(ok->isDefault());
        QCOMPARE(QApplication::focusWidget(), ok);

        const QStringList notice =
            child<QPlainTextEdit>(dialog, u"noticeEdit"_s)->toPlainText().split(u'\n');
        QCOMPARE(notice.size(), 2);
        QVERIFY(notice[0].contains(u"フリーソフトウェア"_s));
        QVERIFY(!notice[1].isEmpty());

        // Every control of the box is reachable by name, and the box is not resizable.
        QCOMPARE(dialog.findChildren<QLabel*>().size(), 5);
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    }

    void linkLooksLikeAWebLinkAndNothingElseDoes() {
        test::FakeShell shell;
        CAboutDlg dialog(shell, kGuide);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QColor blue(0, 0, 255);

        QLabel* link = child<QLabel>(dialog, u"linkLabel"_s);
        QCOMPARE(link->palette().color(QPalette::WindowText), blue);
        QVERIFY(link->font().underline());
        QCOMPARE(link->font().pixelSize(), 12);
        const QFontInfo used(link->font());
        QCOMPARE(used.pixelSize(), 12);
        QVERIFY(used.underline());
        if (QFontDatabase::families().contains(u"Noto Sans CJK JP"_s))
            QCOMPARE(used.family(), u"Noto Sans CJK JP"_s);
        else
            QCOMPARE(used.family(), QFontInfo(QApplication::font()).family());
        // The colour reaches the screen: the underline is drawn in pure blue.
        QVERIFY(containsColour(link->grab().toImage(), blue));

        for (const QString& name : {u"versionLabel"_s, u"copyrightLabel"_s, u"supportLabel"_s}) {
            QLabel* label = child<QLabel>(dialog, name);
            QVERIFY2(!label->font().underline(), qPrintable(name));
            QCOMPARE(label->font(), dialog.font());
            QVERIFY2(!containsColour(label->grab().toImage(), blue), qPrintable(name));
        }
    }

    void cursorIsTheHandOverTheLinkOnly() {
        test::FakeShell shell;
        CAboutDlg dialog(shell, kGuide);
        const QCursor hand = child<QLabel>(dialog, u"linkLabel"_s)->cursor();
        QCOMPARE(hand.shape(), Qt::BitmapCursor);
        QCOMPARE(hand.hotSpot(), QPoint(12, 1));
        QCOMPARE(hand.pixmap().size(), QSize(32, 32));
        QCOMPARE(hand.pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                 QImage(u":/art/cursor-hand.png"_s).convertToFormat(QImage::Format_ARGB32));

        QCOMPARE(dialog.cursor().shape(), Qt::ArrowCursor);
        for (const QString& name : {u"iconLabel"_s, u"versionLabel"_s, u"copyrightLabel"_s,
                                    u"okButton"_s, u"supportLabel"_s})
            QCOMPARE(child<QWidget>(dialog, name)->cursor().shape(), Qt::ArrowCursor);
    }

    void clickingTheLinkOpensTheGuideEachTimeAndKeepsTheBoxOpen() {
        test::FakeShell shell;
        CAboutDlg dialog(shell, kGuide);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QLabel* link = child<QLabel>(dialog, u"linkLabel"_s);

        QTest::mouseClick(link, Qt::LeftButton);
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(shell.urls, (QList<QUrl>{kGuide, kGuide}));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));

        // A double click through the window system is one click, as on a desktop link.
        QWindow* window = dialog.windowHandle();
        const QPoint centre = link->mapTo(&dialog, link->rect().center());
        QTest::mouseDClick(window, Qt::LeftButton, {}, centre);
        QCOMPARE(shell.urls.size(), 3);

        // Other buttons and other controls do not open anything.
        QTest::mouseClick(link, Qt::RightButton);
        QTest::mouseClick(child<QLabel>(dialog, u"supportLabel"_s), Qt::LeftButton);
        QTest::mouseClick(child<QLabel>(dialog, u"versionLabel"_s), Qt::LeftButton);
        QCOMPARE(shell.urls.size(), 3);
        QVERIFY(dialog.isVisible());
        QVERIFY(shell.opened.isEmpty() && shell.chosen.isEmpty());
    }

    void noticeCanBeSelectedAndScrolledButNotEdited() {
        test::FakeShell shell;
        CAboutDlg dialog(shell, kGuide);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* notice = child<QPlainTextEdit>(dialog, u"noticeEdit"_s);
        const QString before = notice->toPlainText();

        notice->setFocus();
        QTest::keyClicks(notice, u"abc"_s);
        QTest::keyClick(notice, Qt::Key_Backspace);
        QTest::keyClick(notice, Qt::Key_Delete);
        QCOMPARE(notice->toPlainText(), before);

        QTest::keyClick(notice, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(notice->textCursor().selectedText(),
                 QString(before).replace(u'\n', QChar(0x2029)));
        QVERIFY(notice->verticalScrollBar()->isVisible());
        // Each line of the notice is readable without scrolling sideways.
        QVERIFY(!notice->horizontalScrollBar()->isVisible());
    }

    void escapeOkAndTheCloseBoxEndTheBox() {
        test::FakeShell shell;
        const std::function<void(CAboutDlg&)> ends[] = {
            [](CAboutDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); },
            [](CAboutDlg& d) { QTest::keyClick(&d, Qt::Key_Return); },
            [](CAboutDlg& d) {
                QTest::mouseClick(child<QPushButton>(d, u"okButton"_s), Qt::LeftButton);
            },
            [](CAboutDlg& d) { QVERIFY(d.close()); },
        };
        for (const auto& end : ends) {
            CAboutDlg dialog(shell, kGuide);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            end(dialog);
            QVERIFY(!dialog.isVisible());
        }
        QVERIFY(shell.urls.isEmpty());
    }

    void helpMenuAndToolBarOpenTheBoxOverTheWindow() {
        test::TestServices t;
        CMainFrame frame(t.services);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));

        QAction* toolButton = nullptr;
        for (QAction* a : frame.toolBar()->actions())
            if (a->toolTip() == u"バージョン情報"_s)
                toolButton = a;
        QVERIFY(toolButton);

        const std::function<void()> triggers[] = {
            [&] { frame.action(ID_APP_ABOUT)->trigger(); },
            [&] { toolButton->trigger(); },
        };
        for (const auto& trigger : triggers) {
            QUrl shown;
            bool modalOverFrame = false;
            QTimer::singleShot(0, &frame, [&] {
                auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
                if (!about)
                    return;
                modalOverFrame = about->isModal() && about->parentWidget() == &frame;
                shown = about->supportUrl();
                QTest::mouseClick(about->findChild<QLabel*>(u"linkLabel"_s), Qt::LeftButton);
                QTest::keyClick(about, Qt::Key_Escape);
            });
            trigger();
            QVERIFY(modalOverFrame);
            QCOMPARE(shown, guideUrl());
        }
        QCOMPARE(t.shell.urls, (QList<QUrl>{guideUrl(), guideUrl()}));
        // The test programs sit in the build tree, whose copy of the guide they must find.
        QVERIFY(QFileInfo(guideUrl().toLocalFile()).isFile());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void guideIsFoundWhereEachLayoutPutsIt() {
        QTemporaryDir tree;
        const QString prefix = tree.path() + u"/prefix"_s;
        const QString configured = tree.path() + u"/configured"_s;
        const QString installed = prefix + u"/share/kelvoro/guide/index.html"_s;

        // Nothing there yet: the install tree's place is named.
        QCOMPARE(guideFile(prefix + u"/bin"_s, configured), installed);

        makeGuide(configured + u"/index.html"_s);
        QCOMPARE(guideFile(prefix + u"/bin"_s, configured), configured + u"/index.html"_s);

        // A relocated or packaged install finds its own copy before the configured one.
        makeGuide(installed);
        QCOMPARE(guideFile(prefix + u"/bin"_s, configured), installed);

        // Run from the build tree: the copy beside the program.
        QCOMPARE(guideFile(prefix, configured), installed);
        QCOMPARE(guideFile(prefix + u"/"_s, configured), installed);

        // A directory of that name is no guide.
        QTemporaryDir other;
        QVERIFY(QDir().mkpath(other.path() + u"/share/kelvoro/guide/index.html"_s));
        QCOMPARE(guideFile(other.path() + u"/bin"_s, configured), configured + u"/index.html"_s);
    }

    void buildTreeCarriesTheCurrentGuide() {
        const QString found = guideFile(QStringLiteral(KELVORO_BUILD_DIR), u"/nonexistent"_s);
        QCOMPARE(found, QStringLiteral(KELVORO_BUILD_DIR "/share/kelvoro/guide/index.html"));
        QFile copy(found);
        QFile source(QStringLiteral(KELVORO_SOURCE_DIR "/res/guide/index.html"));
        QVERIFY(copy.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), source.readAll());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
