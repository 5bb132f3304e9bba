#include "app/commands.h"
#include "app/mainframe.h"
#include "common/urilist.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QWindow>

#include <limits>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(QList<int>)

class TestMainFrame : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
    QTemporaryDir m_dir;
    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }

    static QString menuText(int id) {
        const CommandInfo* info = findCommand(id);
        return commandText(info->menuText);
    }

    static void clearSettings() {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Hollenby"_s, u"Kelvoro"_s)
            .clear();
    }

    static void stageOneRow(CMainFrame& frame, const QByteArray& path) {
        frame.view()->AddFile(path);
        frame.view()->rows().stageEdit(frame.view()->rows().rowCount() - 1, std::nullopt,
                                       std::nullopt, std::nullopt, RowFlags{});
    }

private Q_SLOTS:
    void init() { clearSettings(); }

    void enableRules_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QList<int>>("enabled");
        const QList<int> always = {
            ID_FILE_OPEN,          ID_FILE_OPEN_FOLDER, ID_APP_EXIT,          ID_EDIT_SELECT_ALL,
            ID_CONTEXT_SELECT_ALL, ID_CONTEXT_OPEN,     ID_CONTEXT_CLEAR_ALL, ID_VIEW_TOOLBAR,
            ID_VIEW_STATUS_BAR,    ID_APP_ABOUT,        ID_FILE_NEW};
        const QList<int> withSelection = {
            ID_EDIT_PROPERTIES, ID_CONTEXT_EDIT_PROPERTIES, ID_EDIT_TIMES, ID_CONTEXT_EDIT_TIMES,
            ID_EDIT_RENAME,     ID_CONTEXT_RENAME,          ID_EDIT_CLEAR, ID_CONTEXT_CLEAR};
        const QList<int> oneRow = {ID_EDIT_CHANGE_ASSOCIATION, ID_CONTEXT_CHANGE_ASSOCIATION};
        QTest::newRow("empty") << 0 << 0 << false << always;
        // Staged edits whose rows were all removed: nothing to save.
        QTest::newRow("empty, flag set") << 0 << 0 << true << always;
        QTest::newRow("rows, none selected")
            << 3 << 0 << false << always + QList<int>{ID_EDIT_CLEAR_ALL};
        QTest::newRow("one selected")
            << 3 << 1 << false << always + withSelection + oneRow + QList<int>{ID_EDIT_CLEAR_ALL};
        QTest::newRow("two selected, changed")
            << 3 << 2 << true
            << always + withSelection + QList<int>{ID_EDIT_CLEAR_ALL, ID_FILE_SAVE};
    }
    void enableRules() {
        QFETCH(int, rows);
        QFETCH(int, selected);
        QFETCH(bool, changed);
        QFETCH(QList<int>, enabled);
        for (const CommandInfo& info : commandTable())
            QVERIFY2(isCommandEnabled(info.id, {rows, selected, changed}) ==
                         enabled.contains(info.id),
                     qPrintable(QString::number(info.id)));
    }

    void menusToolbarAndTitle() {
        test::TestServices t;
        CMainFrame frame(t.services);
        QCOMPARE(frame.windowTitle(), u"Kelvoro[*]"_s);
        QStringList titles;
        for (QAction* a : frame.menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles,
                 QStringList({u"ファイル(&F)"_s, u"編集(&E)"_s, u"表示(&V)"_s, u"ヘルプ(&H)"_s}));
        QMenu* edit = frame.menuBar()->actions().at(1)->menu();
        QStringList items;
        for (QAction* a : edit->actions())
            items << (a->isSeparator() ? u"-"_s : a->text());
        QCOMPARE(items, QStringList({u"元に戻す\tCtrl+Z(&U)"_s, u"やり直し\tCtrl+Y(&R)"_s, u"-"_s,
                                     menuText(130), menuText(ID_EDIT_TIMES), menuText(32782),
                                     menuText(32797), u"-"_s, menuText(32784), menuText(32795),
                                     menuText(134)}));
        QCOMPARE(menuText(32797), u"プログラムの関連付け変更\tCtrl+E(&E)"_s);

        QStringList tips;
        for (QAction* a : frame.toolBar()->actions())
            tips << (a->isSeparator() ? u"-"_s : a->toolTip());
        QCOMPARE(tips,
                 QStringList({u"開く"_s, u"フォルダーを開く"_s, u"保存"_s, u"-"_s, u"元に戻す"_s,
                              u"やり直し"_s, u"-"_s, u"ファイルプロパティの編集"_s,
                              u"日時の一括変更"_s, u"ファイル名の編集"_s, u"関連付け変更"_s, u"-"_s,
                              u"全クリア"_s, u"クリア"_s, u"-"_s, u"バージョン情報"_s}));
        for (QAction* a : frame.toolBar()->actions())
            QVERIFY(a->isSeparator() || !a->icon().isNull());
    }

    void statusBarShowsThePromptOfTheHoveredItem() {
        test::TestServices t;
        CMainFrame frame(t.services);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCOMPARE(frame.statusBar()->currentMessage(), u"レディ"_s);
        QMenu* file = frame.menuBar()->actions().at(0)->menu();
        file->popup(frame.mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        file->setActiveAction(frame.action(ID_FILE_OPEN));
        QCOMPARE(frame.statusBar()->currentMessage(), u"既存のファイルを開く"_s);
        file->setActiveAction(frame.action(ID_APP_EXIT));
        QCOMPARE(frame.statusBar()->currentMessage(),
                 u"アプリケーションを終了し、ファイルの保存を指示\\終了"_s);
        file->hide();
        QTRY_COMPARE(frame.statusBar()->currentMessage(), u"レディ"_s);
    }

    void barsToggleFromTheViewMenu() {
        test::TestServices t;
        CMainFrame frame(t.services);
        frame.show();
        QVERIFY(frame.action(ID_VIEW_TOOLBAR)->isChecked());
        frame.action(ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(!frame.toolBar()->isVisible());
        QVERIFY(!frame.action(ID_VIEW_TOOLBAR)->isChecked());
        frame.action(ID_VIEW_STATUS_BAR)->trigger();
        QVERIFY(!frame.statusBar()->isVisible());
        frame.action(ID_VIEW_STATUS_BAR)->trigger();
        QVERIFY(frame.statusBar()->isVisible());
        QVERIFY(frame.action(ID_VIEW_STATUS_BAR)->isChecked());
    }

    void acceleratorsReachTheirCommands() {
        test::TestServices t;
        CMainFrame frame(t.services);
        for (int i = 0; i < 3; ++i)
            frame.view()->AddFile(test::makeFile(dir(), "k" + QByteArray::number(i)));
        frame.show();
        QApplication::setActiveWindow(&frame);
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        frame.view()->setFocus();

        QList<QSignalSpy*> spies;
        for (const CommandInfo& info : commandTable())
            spies << new QSignalSpy(frame.action(info.id), &QAction::triggered);
        auto triggered = [&] {
            QList<int> ids;
            for (qsizetype i = 0; i < spies.size(); ++i)
                if (!spies[i]->isEmpty())
                    ids << commandTable()[std::size_t(i)].id;
            for (QSignalSpy* s : spies)
                s->clear();
            return ids;
        };

        QTest::keyClick(frame.view(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(triggered(), QList<int>{ID_EDIT_SELECT_ALL});
        QCOMPARE(frame.view()->selectedCount(), 3);
        QTest::keyClick(frame.view(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(triggered(), QList<int>{});
        QTest::keyClick(frame.view(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(triggered(), QList<int>{});
        QTest::keyClick(frame.view(), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(triggered(), QList<int>{ID_EDIT_CLEAR_ALL});
        QCOMPARE(frame.view()->rows().rowCount(), 0);
        // Save needs staged edits; the key reaches nothing while the command is disabled.
        QTest::keyClick(frame.view(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(triggered(), QList<int>{});
        qDeleteAll(spies);
    }

    void closeAsksOnlyWithStagedEdits() {
        test::TestServices t;
        {
            CMainFrame frame(t.services);
            frame.show();
            QVERIFY(frame.close());
            QVERIFY(t.prompt.shown.isEmpty());
            QVERIFY(t.settings.getProfileInt(u"Window"_s, u"right"_s, 0) > 0);
        }
        clearSettings();
        CMainFrame frame(t.services);
        frame.show();
        stageOneRow(frame, test::makeFile(dir(), "staged.txt"));

        t.prompt.answers = {Prompt::Answer::Cancel};
        QVERIFY(!frame.close());
        QVERIFY(frame.isVisible());
        QVERIFY(frame.IsChanged());
        QCOMPARE(t.settings.getProfileInt(u"Window"_s, u"right"_s, -1), -1); // nothing written
        QCOMPARE(t.prompt.shown.last().text, u"変更を保存しますか？"_s);
        QCOMPARE(t.prompt.shown.last().kind, test::FakePrompt::Kind::YesNoCancel);

        t.prompt.answers = {Prompt::Answer::No};
        frame.action(ID_APP_EXIT)->trigger();
        QVERIFY(!frame.isVisible());
        QVERIFY(frame.IsChanged()); // discarded, not saved
        QVERIFY(t.settings.getProfileInt(u"Window"_s, u"right"_s, -1) > 0);
        QCOMPARE(t.prompt.count(test::FakePrompt::Kind::YesNoCancel), 2);
    }

    // Staging, removing the staged rows, saving: the window's modified mark, the save command
    // and the question on close all follow the rows.
    void unsavedStateFollowsTheRows() {
        test::TestServices t;
        CMainFrame frame(t.services);
        frame.show();
        const auto unsaved = [&] {
            const bool changed = frame.IsChanged();
            if (frame.isWindowModified() != changed ||
                frame.action(ID_FILE_SAVE)->isEnabled() != changed)
                return -1;
            return changed ? 1 : 0;
        };
        QCOMPARE(unsaved(), 0);
        stageOneRow(frame, test::makeFile(dir(), "u1.txt"));
        frame.view()->AddFile(test::makeFile(dir(), "u2.txt"));
        QCOMPARE(unsaved(), 1);
        QCOMPARE(frame.windowHandle()->title(), u"Kelvoro*"_s);
        frame.view()->selectRow(1);
        frame.runCommand(ID_EDIT_CLEAR); // an unstaged row: still unsaved
        QCOMPARE(unsaved(), 1);
        frame.view()->selectRow(0);
        frame.runCommand(ID_EDIT_CLEAR);
        QCOMPARE(unsaved(), 0);
        QCOMPARE(frame.windowHandle()->title(), u"Kelvoro"_s);
        QVERIFY(frame.close());
        QVERIFY(t.prompt.shown.isEmpty());

        frame.show();
        stageOneRow(frame, test::makeFile(dir(), "u3.txt"));
        QCOMPARE(unsaved(), 1);
        frame.runCommand(ID_FILE_SAVE);
        QCOMPARE(t.prompt.texts(), QStringList{u"保存が完了しました"_s});
        QCOMPARE(unsaved(), 0);
    }

    void placementRoundTrips() {
        test::TestServices t;
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect wanted(available.topLeft() + QPoint(30, 40), QSize(420, 300));
        {
            CMainFrame frame(t.services);
            frame.setGeometry(wanted);
            frame.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frame));
            QVERIFY(frame.close());
        }
        QCOMPARE(t.settings.getProfileInt(u"Window"_s, u"left"_s, -1), wanted.left());
        QCOMPARE(t.settings.getProfileInt(u"Window"_s, u"bottom"_s, -1), wanted.bottom() + 1);
        QCOMPARE(t.settings.getProfileInt(u"Window"_s, u"show"_s, -1), 1);
        {
            CMainFrame frame(t.services);
            QCOMPARE(frame.geometry(), wanted);
            frame.showAsSaved();
            QVERIFY(!frame.isMaximized());
            frame.showMaximized();
            QTRY_VERIFY(frame.isMaximized());
            QVERIFY(frame.close());
        }
        // Maximised: the restored rectangle and show 3; the next start is maximised.
        QCOMPARE(t.settings.getProfileInt(u"Window"_s, u"show"_s, -1), 3);
        QCOMPARE(t.settings.getProfileInt(u"Window"_s, u"left"_s, -1), wanted.left());
        QCOMPARE(t.settings.getProfileInt(u"Window"_s, u"right"_s, -1), wanted.right() + 1);
        {
            CMainFrame frame(t.services);
            frame.showAsSaved();
            QTRY_VERIFY(frame.isMaximized());
            frame.hide();
        }
        // A rectangle on no screen, and an empty one, leave the default placement.
        for (const QRect& bad :
             {QRect(available.right() + 5000, 10, 400, 300), QRect(100, 100, 0, 300)}) {
            t.settings.writeProfileInt(u"Window"_s, u"left"_s, bad.left());
            t.settings.writeProfileInt(u"Window"_s, u"top"_s, bad.top());
            t.settings.writeProfileInt(u"Window"_s, u"right"_s, bad.left() + bad.width());
            t.settings.writeProfileInt(u"Window"_s, u"bottom"_s, bad.top() + bad.height());
            t.settings.writeProfileInt(u"Window"_s, u"show"_s, 1);
            CMainFrame frame(t.services);
            frame.show();
            QVERIFY(available.intersects(frame.geometry()));
            QVERIFY(frame.geometry().left() != bad.left());
        }
    }

    // Edges at the ends of the int range are worked out without overflow: the window gets
    // the default placement, on the screen and of a usable size.
    void extremePlacementsGiveTheDefault_data() {
        QTest::addColumn<QList<int>>("edges"); // left, top, right, bottom
        constexpr int lo = std::numeric_limits<int>::min();
        constexpr int hi = std::numeric_limits<int>::max();
        QTest::newRow("right at the minimum") << QList<int>{0, 0, lo, 300};
        QTest::newRow("bottom at the minimum") << QList<int>{0, 0, 400, lo};
        QTest::newRow("widest") << QList<int>{lo, lo, hi, hi};
        QTest::newRow("crossed") << QList<int>{hi, hi, lo, lo};
        QTest::newRow("left at the maximum") << QList<int>{hi, 0, hi, 300};
        QTest::newRow("from the origin to the maximum") << QList<int>{0, 0, hi, hi};
    }
    void extremePlacementsGiveTheDefault() {
        QFETCH(QList<int>, edges);
        test::TestServices t;
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        const QStringList keys = {u"left"_s, u"top"_s, u"right"_s, u"bottom"_s};
        for (int i = 0; i < 4; ++i)
            t.settings.writeProfileInt(u"Window"_s, keys[i], edges[i]);
        t.settings.writeProfileInt(u"Window"_s, u"show"_s, 1);
        CMainFrame frame(t.services);
        frame.show();
        QVERIFY(available.intersects(frame.geometry()));
        QVERIFY(frame.width() <= available.width() && frame.height() <= available.height());
        QVERIFY(frame.width() > 100 && frame.height() > 100);
    }

    void droppedFilesAreAddedInOrder() {
        test::TestServices t;
        CMainFrame frame(t.services);
        const QByteArray a = test::makeFile(dir(), "drop a.txt");
        const QByteArray b = test::makeFile(dir(), "\x95\x5c\xff.bin"); // not UTF-8
        QByteArray uris;
        for (const QByteArray& p : {b, dir(), a, b})
            uris += "file://" + p.toPercentEncoding("/") + "\r\n";
        QMimeData mime;
        mime.setData(u"text/uri-list"_s, "# comment\r\n" + uris);
        QCOMPARE(localPathsFromUriList(mime.data(u"text/uri-list"_s)),
                 QList<QByteArray>({b, dir(), a, b}));
        frame.show();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame, &drop);
        // The drop returns at once; the files, and the message about the duplicate, follow
        // from the event loop.
        QVERIFY(drop.isAccepted());
        QCOMPARE(frame.view()->rows().rowCount(), 0);
        QVERIFY(t.prompt.shown.isEmpty());
        QTRY_COMPARE(frame.view()->rows().rowCount(), 2);
        QCOMPARE(frame.view()->rows().row(0).path(), b);
        QCOMPARE(frame.view()->rows().row(1).path(), a);
        QCOMPARE(t.prompt.texts(), QStringList{u"既に存在します。"_s}); // the folder: silently
        QCOMPARE(localPathsFromUriList("file://localhost/tmp/x%20y\nhttp://example.invalid/z\n"),
                 QList<QByteArray>{"/tmp/x y"});
    }

    // Files that would name some other local file are refused where they are dropped.
    void droppedFilesOfOtherHostsAreRefused() {
        test::TestServices t;
        CMainFrame frame(t.services);
        const QByteArray a = test::makeFile(dir(), "remote.txt");
        const QByteArray b = test::makeFile(dir(), "cut.txt");
        frame.show();
        for (const QByteArray& uris : {"file://otherhost" + a.toPercentEncoding("/"),
                                       "file://" + b.toPercentEncoding("/") + "%00.bak"}) {
            QMimeData mime;
            mime.setData(u"text/uri-list"_s, uris + "\r\n");
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(&frame, &enter);
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&frame, &drop);
        }
        // A file added would arrive from the event loop, as the good ones do.
        QTest::qWait(100);
        QCOMPARE(frame.view()->rows().rowCount(), 0);
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
