#include "app/mainframe.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

namespace {

// Answers every status read at once, for lists far larger than a test directory.
class InstantFileSystem : public platform::FileSystem {
public:
    platform::FileStatus readStatus(const std::string&) const override {
        return {0, 0, 0, platform::attr::Archive, true, std::nullopt};
    }
    platform::FileStatus writeStatus(const std::string&, const platform::FileStatus&) override {
        return {};
    }
    bool moveNoReplace(const std::string&, const std::string&,
                       const std::optional<platform::FileIdentity>&) override {
        return false;
    }
    bool isReadableRegularFile(const std::string&) const override { return true; }
    int openForReadingError(const std::string&) const override { return 0; }
    bool isDirectory(const std::string&) const override { return false; }
};

struct Window {
    test::TestServices t;
    CMainFrame frame{t.services};
    CTrazzleView& view = *frame.view();
    FileListModel& rows = view.rows();

    bool enabled(int id) const { return frame.action(id)->isEnabled(); }

    void select(std::initializer_list<int> rowList) {
        view.clearSelection();
        for (int r : rowList)
            view.selectionModel()->select(rows.index(r, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    void stage(int r) {
        const FileRow& row = rows.row(r);
        rows.stageEdit(r, std::nullopt, 1600000000, std::nullopt, row.flags());
    }

    QList<QByteArray> paths() const {
        QList<QByteArray> result;
        for (int r = 0; r < rows.rowCount(); ++r)
            result.append(rows.row(r).path());
        return result;
    }

    QList<bool> stagedMarks() const {
        QList<bool> result;
        for (int r = 0; r < rows.rowCount(); ++r)
            result.append(rows.data(rows.index(r, ColName), FileListModel::StagedRole).toBool());
        return result;
    }
};

struct MenuItem {
    QString text; // empty for a separator
    bool enabled;
    bool hasIcon;
    bool operator==(const MenuItem&) const = default;
};

QList<MenuItem> itemsOf(const QMenu& menu) {
    QList<MenuItem> items;
    for (const QAction* a : menu.actions())
        items.append(a->isSeparator() ? MenuItem{{}, true, false}
                                      : MenuItem{a->text(), a->isEnabled(), !a->icon().isNull()});
    return items;
}

// Remembers the region of every paint of the watched widget.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    QList<QRegion> regions;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            regions.append(static_cast<QPaintEvent*>(event)->region());
        return false;
    }
};

// A whole double click as a window system delivers it: a click, then the second press.
void doubleClick(QWidget* widget, Qt::MouseButton button, QPoint pos) {
    QTest::mouseClick(widget, button, {}, pos);
    QTest::mouseDClick(widget, button, {}, pos);
    QTest::mouseRelease(widget, button, {}, pos);
}

// Runs inspect on the popup the next event loop shows, then closes it.
void onNextPopup(std::function<void(QMenu*)> inspect) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, inspect] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        timer->stop();
        timer->deleteLater();
        inspect(menu);
        if (menu->isVisible())
            menu->close();
    });
    timer->start();
}

} // namespace

class TestListCommands : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
    QTemporaryDir m_dir;
    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }

    QList<QByteArray> makeFiles(const QByteArray& prefix, int count) {
        QList<QByteArray> files;
        for (int i = 0; i < count; ++i)
            files.append(test::makeFile(dir(), prefix + QByteArray::number(i) + ".txt"));
        return files;
    }

    static void addAll(Window& w, const QList<QByteArray>& files) {
        for (const QByteArray& f : files)
            w.view.AddFile(f);
    }

private Q_SLOTS:
    void clearRemovesTheSelectedRowsOnly() {
        Window w;
        const QList<QByteArray> f = makeFiles("three-", 4);
        addAll(w, f.mid(0, 3));
        w.select({1});
        QVERIFY(w.enabled(ID_EDIT_CLEAR));
        w.frame.runCommand(ID_EDIT_CLEAR);
        QCOMPARE(w.paths(), (QList<QByteArray>{f[0], f[2]}));
        QCOMPARE(w.view.rows().rowCount() - 1, 1);
        QVERIFY(w.t.prompt.shown.isEmpty()); // no question
        // The next file becomes the third row, and the removed one may come back.
        w.view.AddFile(f[3]);
        QCOMPARE(w.view.rows().rowCount() - 1, 2);
        QCOMPARE(w.rows.row(2).path(), f[3]);
        w.view.AddFile(f[1]);
        QCOMPARE(w.paths(), (QList<QByteArray>{f[0], f[2], f[3], f[1]}));
        QVERIFY(w.t.prompt.shown.isEmpty());

        // Nothing selected: nothing removed.
        w.view.clearSelection();
        QVERIFY(!w.enabled(ID_EDIT_CLEAR));
        w.frame.runCommand(ID_EDIT_CLEAR);
        QCOMPARE(w.rows.rowCount(), 4);
    }

    // Relative paths while the current directory cannot be told: one message, no row, the
    // absolute paths still listed.
    void relativePathsWithoutACurrentDirectoryAreRefused() {
        Window w;
        const QList<QByteArray> f = makeFiles("placed-", 1);
        const QByteArray home = QFile::encodeName(QDir::currentPath());
        const QByteArray gone = home + "/gone-current-directory";
        QCOMPARE(::mkdir(gone.constData(), 0700), 0);
        QCOMPARE(::chdir(gone.constData()), 0);
        QCOMPARE(::rmdir(gone.constData()), 0);
        w.view.addFiles({"a.txt", f[0], "./b.txt"});
        w.view.AddFile("c.txt");
        QCOMPARE(::chdir(home.constData()), 0);
        QCOMPARE(w.paths(), QList<QByteArray>{f[0]});
        const QString refused =
            u"現在のフォルダの場所を確かめられないため、相対パスで指定されたファイルは追加できません。"_s;
        QCOMPARE(w.t.prompt.texts(), (QStringList{refused, refused}));
        QCOMPARE(w.t.prompt.count(test::FakePrompt::Kind::Exclamation), 2);
    }

    void stagedMarksLeaveWithTheirRows() {
        Window w;
        const QList<QByteArray> f = makeFiles("marks-", 4);
        addAll(w, f);
        w.stage(0);
        w.stage(2);
        w.select({1});
        w.frame.runCommand(ID_EDIT_CLEAR);
        // The marks follow the rows that moved up, and nothing past the end is marked.
        QCOMPARE(w.stagedMarks(), (QList<bool>{true, true, false}));
        QCOMPARE(w.rows.stagedCount(), 2);
        QVERIFY(w.frame.IsChanged());

        w.select({0, 2}); // two ranges: a staged row and an unstaged one
        w.frame.runCommand(ID_EDIT_CLEAR);
        QCOMPARE(w.paths(), QList<QByteArray>{f[2]});
        QCOMPARE(w.stagedMarks(), QList<bool>{true});
        QVERIFY(w.frame.IsChanged());
        QVERIFY(w.enabled(ID_FILE_SAVE));

        // The last staged row goes: nothing is left to save, and closing asks nothing.
        w.select({0});
        w.frame.runCommand(ID_EDIT_CLEAR);
        QCOMPARE(w.view.rows().rowCount() - 1, -1);
        QVERIFY(!w.frame.IsChanged());
        QVERIFY(!w.enabled(ID_FILE_SAVE));
        QVERIFY(!w.enabled(ID_EDIT_CLEAR_ALL));
        QVERIFY(!w.enabled(ID_EDIT_CLEAR));
        QVERIFY(w.enabled(ID_CONTEXT_CLEAR_ALL));
        QVERIFY(w.frame.close());
        QVERIFY(w.t.prompt.shown.isEmpty());
    }

    void clearAllAnswers_data() {
        QTest::addColumn<Prompt::Answer>("answer");
        QTest::addColumn<bool>("emptied");
        QTest::newRow("cancel keeps everything") << Prompt::Answer::Cancel << false;
        QTest::newRow("no discards the edits") << Prompt::Answer::No << true;
    }

    void clearAllAnswers() {
        QFETCH(Prompt::Answer, answer);
        QFETCH(bool, emptied);
        Window w;
        addAll(w, makeFiles("answers-", 3));
        w.stage(1);
        w.select({0});
        w.t.prompt.answers = {answer};
        w.frame.runCommand(ID_EDIT_CLEAR_ALL);
        QCOMPARE(w.t.prompt.shown.size(), 1);
        QCOMPARE(w.t.prompt.shown[0].kind, test::FakePrompt::Kind::YesNoCancel);
        QCOMPARE(w.t.prompt.shown[0].text, u"変更を保存しますか？"_s);
        QCOMPARE(w.rows.rowCount(), emptied ? 0 : 3);
        QCOMPARE(w.rows.stagedCount(), emptied ? 0 : 1);
        QCOMPARE(w.frame.IsChanged(), !emptied);
        QCOMPARE(w.view.rows().rowCount() - 1, emptied ? -1 : 2);
        QCOMPARE(w.enabled(ID_EDIT_CLEAR_ALL), !emptied);
        QCOMPARE(w.enabled(ID_FILE_SAVE), !emptied);
        if (emptied) {
            // Nothing staged is left behind: closing asks nothing more.
            QVERIFY(w.frame.close());
            QCOMPARE(w.t.prompt.shown.size(), 1);
        }
    }

    void clearAllWithoutEditsAsksNothing() {
        Window w;
        addAll(w, makeFiles("plain-", 2));
        w.frame.runCommand(ID_EDIT_CLEAR_ALL);
        QVERIFY(w.t.prompt.shown.isEmpty());
        QCOMPARE(w.view.rows().rowCount() - 1, -1);
        // Always offered in the context menu, also on an empty list.
        QVERIFY(w.enabled(ID_CONTEXT_CLEAR_ALL));
        w.frame.runCommand(ID_EDIT_CLEAR_ALL);
        QCOMPARE(w.view.rows().rowCount() - 1, -1);
        QVERIFY(w.t.prompt.shown.isEmpty());
    }

    void clearAllStopsWhenTheSaveFails() {
        Window w;
        const QList<QByteArray> f = makeFiles("gone-", 2);
        addAll(w, f);
        w.stage(0);
        QCOMPARE(::unlink(f[0].constData()), 0); // the save cannot write this row
        w.t.prompt.answers = {Prompt::Answer::Yes};
        w.frame.runCommand(ID_EDIT_CLEAR_ALL);
        QCOMPARE(w.paths(), f);
        QCOMPARE(w.stagedMarks(), (QList<bool>{true, false}));
        QVERIFY(w.frame.IsChanged());
    }

    void clearAllSavesFirstOnYes() {
        Window w;
        const QList<QByteArray> f = makeFiles("yes-", 2);
        addAll(w, f);
        w.stage(1);
        w.t.prompt.answers = {Prompt::Answer::Yes};
        w.frame.runCommand(ID_EDIT_CLEAR_ALL);
        QCOMPARE(w.t.prompt.shown.first().text, u"変更を保存しますか？"_s);
        struct stat st {};
        QCOMPARE(::stat(f[1].constData(), &st), 0);
        QCOMPARE(static_cast<qint64>(st.st_mtime), 1600000000); // written before the list went
        QCOMPARE(w.view.rows().rowCount() - 1, -1);
        QVERIFY(!w.frame.IsChanged());
    }

    void selectAllTakesEveryRowAndLeavesTheFocus() {
        Window w;
        w.frame.runCommand(ID_EDIT_SELECT_ALL); // empty list: nothing to select
        QVERIFY(!w.view.HasSelection());
        QVERIFY(!w.view.currentIndex().isValid());

        addAll(w, makeFiles("all-", 7));
        w.view.setCurrentIndex(w.rows.index(4, ColModified));
        w.select({1, 2, 5});
        w.frame.runCommand(ID_EDIT_SELECT_ALL);
        QCOMPARE(w.view.selectedCount(), 7);
        QCOMPARE(w.view.selectedRows(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
        QCOMPARE(w.view.selectionModel()->selectedRows().size(), 7); // whole rows
        QCOMPARE(w.view.currentIndex(), w.rows.index(4, ColModified));
        QVERIFY(w.enabled(ID_EDIT_CLEAR));
        QVERIFY(!w.enabled(ID_EDIT_CHANGE_ASSOCIATION));
    }

    // Far more rows than any fixed table of selected rows could hold.
    void clearWorksOnAnySelectionSize() {
        Window w;
        InstantFileSystem fs;
        constexpr int kRows = 100005;
        for (int i = 0; i < kRows; ++i)
            QVERIFY(w.rows.addFile("/many/f" + QByteArray::number(i), fs));
        w.frame.runCommand(ID_EDIT_SELECT_ALL);
        QCOMPARE(w.view.selectedCount(), kRows);
        w.view.selectionModel()->select(w.rows.index(3, 0),
                                        QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        w.view.selectionModel()->select(w.rows.index(100001, 0),
                                        QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        QCOMPARE(w.view.selectedCount(), kRows - 2);
        w.frame.runCommand(ID_EDIT_CLEAR);
        QCOMPARE(w.paths(), (QList<QByteArray>{"/many/f3", "/many/f100001"}));
        QCOMPARE(w.view.rows().rowCount() - 1, 1);
    }

    void clearKeepsTheRightRowsHoweverScattered_data() {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("current");
        QTest::addColumn<QByteArray>("currentAfter");
        QList<int> evens;
        for (int r = 0; r < 300; r += 2)
            evens.append(r);
        QTest::newRow("few ranges, current removed")
            << QList<int>{8, 2, 3, 4, 5} << 4 << QByteArray("/s/f1");
        QTest::newRow("scattered, current kept") << evens << 7 << QByteArray("/s/f7");
        QTest::newRow("scattered, current removed") << evens << 8 << QByteArray("/s/f7");
        QTest::newRow("scattered, first row current") << evens << 0 << QByteArray("/s/f1");
    }

    void clearKeepsTheRightRowsHoweverScattered() {
        QFETCH(QList<int>, selected);
        QFETCH(int, current);
        QFETCH(QByteArray, currentAfter);
        Window w;
        InstantFileSystem fs;
        for (int i = 0; i < 300; ++i)
            w.rows.addFile("/s/f" + QByteArray::number(i), fs);
        w.stage(3);
        w.stage(4);
        w.view.setCurrentIndex(w.rows.index(current, ColName));
        w.view.clearSelection();
        for (int r : selected)
            w.view.selectionModel()->select(w.rows.index(r, 0), QItemSelectionModel::Select |
                                                                    QItemSelectionModel::Rows);
        QList<QByteArray> survivors;
        QList<QByteArray> stagedSurvivors;
        for (int r = 0; r < 300; ++r) {
            if (selected.contains(r))
                continue;
            survivors.append(w.rows.row(r).path());
            if (r == 3 || r == 4)
                stagedSurvivors.append(w.rows.row(r).path());
        }

        w.frame.runCommand(ID_EDIT_CLEAR);
        QCOMPARE(w.paths(), survivors);
        QList<QByteArray> staged;
        for (int r = 0; r < w.rows.rowCount(); ++r)
            if (w.rows.row(r).staged)
                staged.append(w.rows.row(r).path());
        QCOMPARE(staged, stagedSurvivors);
        QCOMPARE(w.rows.stagedCount(), stagedSurvivors.size());
        QCOMPARE(w.frame.IsChanged(), !stagedSurvivors.isEmpty());
        QVERIFY(!w.view.HasSelection());
        QVERIFY(w.view.currentIndex().isValid());
        QCOMPARE(w.rows.row(w.view.currentIndex().row()).path(), currentAfter);
        QCOMPARE(w.view.currentIndex().column(), int(ColName));
        // The flags follow the new state: nothing selected, rows left.
        QVERIFY(!w.enabled(ID_EDIT_CLEAR));
        QVERIFY(w.enabled(ID_EDIT_CLEAR_ALL));
    }

    void contextMenuItems_data() {
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QList<bool>>("enabled"); // the seven items in order
        QTest::newRow("empty list")
            << 0 << QList<int>{} << QList<bool>{false, false, false, true, true, false, true};
        QTest::newRow("none selected")
            << 3 << QList<int>{} << QList<bool>{false, false, false, true, true, false, true};
        QTest::newRow("one selected")
            << 3 << QList<int>{1} << QList<bool>{true, true, true, true, true, true, true};
        QTest::newRow("two selected")
            << 3 << QList<int>{0, 2} << QList<bool>{true, true, false, true, true, true, true};
    }

    void contextMenuItems() {
        QFETCH(int, rowCount);
        QFETCH(QList<int>, selected);
        QFETCH(QList<bool>, enabled);
        Window w;
        addAll(w, makeFiles("menu-", rowCount));
        w.view.clearSelection();
        for (int r : selected)
            w.view.selectionModel()->select(w.rows.index(r, 0), QItemSelectionModel::Select |
                                                                    QItemSelectionModel::Rows);
        QMenu* menu = w.view.contextMenu();
        QVERIFY(menu);
        const QList<MenuItem> expected = {
            {u"タイムスタンプ／属性の編集(&G)"_s, enabled[0], true},
            {u"日時の一括変更(&T)..."_s, enabled[0], true},
            {u"ファイル名の変更"_s, enabled[1], true},
            {u"プログラムの関連付け変更"_s, enabled[2], true},
            {{}, true, false},
            {u"開く(&O)"_s, enabled[3], false},
            {u"すべて選択(&A)"_s, enabled[4], false},
            {u"クリア(&C)"_s, enabled[5], true},
            {u"全クリア(&Q)"_s, enabled[6], true},
        };
        QCOMPARE(itemsOf(*menu), expected);

        // The greying follows later changes of the selection while the menu exists.
        w.view.clearSelection();
        QVERIFY(!menu->actions().at(0)->isEnabled());
        QVERIFY(!menu->actions().at(1)->isEnabled());
        QVERIFY(!menu->actions().at(7)->isEnabled());
    }

    void contextMenuAppearsWhereAsked() {
        Window w;
        const QList<QByteArray> f = makeFiles("where-", 3);
        addAll(w, f);
        w.frame.resize(600, 400);
        w.frame.move(0, 0);
        w.frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.frame));
        QWidget* viewport = w.view.viewport();

        // The mouse: at the pointer, and a chosen item runs its command.
        w.select({1});
        const QPoint local(30, w.view.rowViewportPosition(1) + 3);
        const QPoint global = viewport->mapToGlobal(local);
        QPoint shownAt;
        onNextPopup([&](QMenu* menu) {
            shownAt = menu->pos();
            QCOMPARE(menu->actions().size(), 9);
            menu->actions().at(7)->trigger(); // クリア(&C)
        });
        QContextMenuEvent mouse(QContextMenuEvent::Mouse, local, global);
        QApplication::sendEvent(viewport, &mouse);
        QCOMPARE(shownAt, global);
        QCOMPARE(w.paths(), (QList<QByteArray>{f[0], f[2]}));

        // The keyboard: under the current row.
        w.view.setCurrentIndex(w.rows.index(1, ColName));
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(-1, -1),
                              viewport->mapToGlobal(QPoint(-1, -1)));
        const QPoint atRow = w.view.contextMenuPosition(key);
        const QRect rowRect(viewport->mapToGlobal(QPoint(0, w.view.rowViewportPosition(1))),
                            QSize(viewport->width(), w.view.rowHeight(1)));
        QVERIFY2(rowRect.contains(atRow),
                 qPrintable(u"menu at %1,%2"_s.arg(atRow.x()).arg(atRow.y())));
        onNextPopup([&](QMenu* menu) { shownAt = menu->pos(); });
        QApplication::sendEvent(&w.view, &key);
        QCOMPARE(shownAt, atRow);

        // No current row: the list's corner, not the meaningless point of the request.
        w.view.setCurrentIndex({});
        QCOMPARE(w.view.contextMenuPosition(key), viewport->mapToGlobal(QPoint(0, 0)));
        // A current row scrolled out of sight does not take the menu off the list.
        InstantFileSystem fs;
        for (int i = 0; i < 200; ++i)
            w.rows.addFile("/scrolled/f" + QByteArray::number(i), fs);
        w.view.setCurrentIndex(w.rows.index(0, 0));
        w.view.scrollToBottom();
        QCOMPARE(w.view.contextMenuPosition(key), viewport->mapToGlobal(QPoint(0, 0)));
    }

    // Shift+F10 asks for the menu as the Menu key does; each time it opens, assistive
    // technology finds every item under its name.
    void contextMenuByKeyStaysAccessible() {
        Window w;
        addAll(w, makeFiles("key-", 2));
        w.frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&w.frame));
        w.view.setFocus();
        w.select({0});
        w.view.setCurrentIndex(w.rows.index(0, ColName));
        QStringList expected;
        for (const QAction* a : w.view.contextMenu()->actions())
            expected.append(a->isSeparator() ? QString() : QString(a->text()).remove(u'&'));
        for (int round = 1; round <= 3; ++round) {
            QStringList names;
            onNextPopup([&](QMenu* menu) {
                QAccessibleInterface* list = QAccessible::queryAccessibleInterface(menu);
                for (int i = 0; list && i < list->childCount(); ++i) {
                    QAccessibleInterface* item = list->child(i);
                    names.append(item && item->isValid() ? item->text(QAccessible::Name)
                                                         : u"<invalid>"_s);
                }
            });
            QTest::keyClick(&w.view, Qt::Key_F10, Qt::ShiftModifier);
            QVERIFY2(names == expected,
                     qPrintable(u"round %1: %2"_s.arg(round).arg(names.join(u'|'))));
        }
    }

    void enterAndDoubleClickRunTheEditCommand() {
        Window w;
        addAll(w, makeFiles("edit-", 3));
        w.frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.frame));
        // Watch the command without opening its dialog.
        QAction* edit = w.frame.action(ID_EDIT_PROPERTIES);
        QObject::disconnect(edit, &QAction::triggered, &w.frame, nullptr);
        QSignalSpy runs(edit, &QAction::triggered);
        QWidget* viewport = w.view.viewport();
        const QPoint onRow1(20, w.view.rowViewportPosition(1) + 5);
        const QPoint belowRows(20, w.view.rowViewportPosition(2) + 40);

        w.view.setFocus();
        QTest::keyClick(&w.view, Qt::Key_Return);
        QTest::keyClick(&w.view, Qt::Key_Enter);
        doubleClick(viewport, Qt::LeftButton, belowRows);
        QCOMPARE(runs.count(), 0);

        w.select({0, 2});
        QTest::keyClick(&w.view, Qt::Key_Return);
        QCOMPARE(runs.count(), 1);
        QTest::keyClick(&w.view, Qt::Key_Enter);
        QCOMPARE(runs.count(), 2);
        doubleClick(viewport, Qt::RightButton, onRow1);
        QCOMPARE(runs.count(), 2);
        doubleClick(viewport, Qt::LeftButton, onRow1);
        QCOMPARE(runs.count(), 3);
        QCOMPARE(w.view.selectedRows(), std::vector<int>{1}); // the click selected its row
        // A double click on no row clears the selection first, so nothing is edited.
        doubleClick(viewport, Qt::LeftButton, belowRows);
        QCOMPARE(runs.count(), 3);

        // Other keys keep the table's handling.
        w.view.setCurrentIndex(w.rows.index(0, 0));
        QTest::keyClick(&w.view, Qt::Key_Down);
        QCOMPARE(w.view.currentIndex().row(), 1);
    }

    void scrollingRepaintsTheWholeList() {
        Window w;
        InstantFileSystem fs;
        for (int i = 0; i < 300; ++i)
            w.rows.addFile("/wheel/f" + QByteArray::number(i), fs);
        w.frame.resize(300, 300); // narrower than the columns
        w.frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.frame));
        QWidget* viewport = w.view.viewport();
        // The frame's layout may still settle by a pixel after the first exposure.
        QTest::qWait(50);
        PaintRecorder paints(viewport);
        const QRegion whole(viewport->rect());

        QWheelEvent wheel(QPointF(50, 50), viewport->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        QVERIFY(w.view.verticalScrollBar()->value() > 0);
        QTRY_VERIFY(!paints.regions.isEmpty());
        QCOMPARE(paints.regions.last().intersected(whole), whole);

        paints.regions.clear();
        w.view.horizontalScrollBar()->setValue(40);
        QTRY_VERIFY(!paints.regions.isEmpty());
        QCOMPARE(paints.regions.last().intersected(whole), whole);
    }

    void editKeysDoNothing() {
        Window w;
        addAll(w, makeFiles("clip-", 2));
        w.frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.frame));
        w.view.setFocus();
        w.view.setCurrentIndex(w.rows.index(0, ColName));
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(u"before"_s);
        const QList<QKeyCombination> keys = {
            Qt::ControlModifier | Qt::Key_C, Qt::ControlModifier | Qt::Key_Insert,
            Qt::ControlModifier | Qt::Key_X, Qt::ShiftModifier | Qt::Key_Delete,
            Qt::ControlModifier | Qt::Key_V, Qt::ShiftModifier | Qt::Key_Insert,
            Qt::ControlModifier | Qt::Key_Z, Qt::AltModifier | Qt::Key_Backspace};
        for (QKeyCombination k : keys) {
            QTest::keyClick(&w.view, k.key(), k.keyboardModifiers());
            QCOMPARE(clipboard->text(), u"before"_s);
        }
        QCOMPARE(w.rows.rowCount(), 2);
        QCOMPARE(w.view.currentIndex(), w.rows.index(0, ColName));
    }

    void openHandsEverySelectedRowInRowOrder() {
        Window w;
        QList<QByteArray> f = makeFiles("open-", 4);
        f.insert(2, test::makeFile(dir(), "\x93\xfa\x96\x7b.txt")); // Shift_JIS, not UTF-8
        addAll(w, f);
        w.frame.runCommand(ID_CONTEXT_OPEN);
        QVERIFY(w.t.shell.opened.isEmpty());

        w.select({4, 2, 0, 3, 1});
        QVERIFY(w.enabled(ID_CONTEXT_OPEN));
        w.frame.runCommand(ID_CONTEXT_OPEN);
        QCOMPARE(w.t.shell.opened, f);
        QVERIFY(w.t.shell.chosen.isEmpty());
        QVERIFY(w.t.prompt.shown.isEmpty());
        ::unlink(f[2].constData()); // a name QTemporaryDir cannot spell
    }

    void changeAssociationTakesTheFirstSelectedRow() {
        Window w;
        QList<QByteArray> f = makeFiles("assoc-", 3);
        addAll(w, f);
        w.frame.runCommand(ID_EDIT_CHANGE_ASSOCIATION);
        QVERIFY(w.t.shell.chosen.isEmpty());

        w.select({2, 1});
        QVERIFY(!w.enabled(ID_EDIT_CHANGE_ASSOCIATION));
        QVERIFY(!w.enabled(ID_CONTEXT_CHANGE_ASSOCIATION));
        w.frame.action(ID_EDIT_CHANGE_ASSOCIATION)->trigger();
        QVERIFY(w.t.shell.chosen.isEmpty());
        w.frame.runCommand(ID_EDIT_CHANGE_ASSOCIATION);
        QCOMPARE(w.t.shell.chosen, QList<QByteArray>{f[1]});

        w.select({2});
        w.frame.action(ID_CONTEXT_CHANGE_ASSOCIATION)->trigger();
        QCOMPARE(w.t.shell.chosen, (QList<QByteArray>{f[1], f[2]}));
        QVERIFY(w.t.shell.opened.isEmpty());
    }
};

QTEST_MAIN(TestListCommands)
#include "tst_listcommands.moc"
