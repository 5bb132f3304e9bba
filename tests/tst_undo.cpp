// Undo and redo of every change: staging, removing rows, clearing, saving (on real files) and
// renaming (on real files), through the frame's Edit menu commands.
#include "app/mainframe.h"
#include "filelist/listundo.h"
#include "properties/change.h"
#include "rename/renamedialog.h"
#include "rename/renameundo.h"
#include "statushelpers.h"
#include "support/privatelocations.h"
#include "support/testfiles.h"
#include "support/whenmodalopens.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QColor>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <numeric>

using namespace kelvoro;
using namespace kelvoro::test;
using namespace Qt::Literals::StringLiterals;
using Kind = test::FakePrompt::Kind;

namespace {

constexpr std::int64_t kOldCreated = 1262304000; // 2010-01-01 09:00:00 in Tokyo
constexpr std::int64_t kOldModified = 1281152096;
constexpr std::int64_t kOldAccessed = 1300000000;
constexpr std::int64_t kNewTime = 1600000000;

struct Window {
    test::TestServices t;
    CMainFrame frame{t.services};
    CTrazzleView& view = *frame.view();
    FileListModel& rows = view.rows();
    QUndoStack& stack = *frame.undoStack();
    QAbstractItemModelTester tester{&rows, QAbstractItemModelTester::FailureReportingMode::QtTest};

    void select(const std::vector<int>& list) {
        view.clearSelection();
        for (int r : list)
            view.selectionModel()->select(rows.index(r, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    // Stages new times and flags on the rows as the edit command does, step and all.
    void stage(const std::vector<int>& list, const RowFlags& flags) {
        auto* step = new StageStep("edit", rows, list);
        for (int r : list)
            rows.stageEdit(r, kNewTime, kNewTime, kNewTime, flags);
        QVERIFY(step->finish());
        stack.push(step);
    }

    QList<QByteArray> names() const {
        QList<QByteArray> result;
        for (int r = 0; r < rows.rowCount(); ++r)
            result.append(rows.row(r).name);
        return result;
    }

    QList<bool> staged() const {
        QList<bool> result;
        for (int r = 0; r < rows.rowCount(); ++r)
            result.append(rows.row(r).staged);
        return result;
    }

    QString menuText(int id) const { return frame.action(id)->text(); }
};

QByteArray makeOldFile(const QByteArray& directory, const QByteArray& name) {
    const QByteArray path = makeFile(directory, name);
    setTimes(path, kOldModified, kOldAccessed);
    return path;
}

// Gives the file the creation time and archive flag Samba would keep for it.
void setOldCreated(const QByteArray& path) {
    platform::FileStatus old = wanted(platform::attr::Archive, kOldCreated);
    platform::nativeFileSystem().writeStatus(path.toStdString(), old);
}

} // namespace

class TestUndo : public QObject {
    Q_OBJECT

    test::PrivateLocations m_locations;
    QTemporaryDir m_dir;

    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }

private Q_SLOTS:
    void init() {
        QVERIFY(m_dir.isValid());
        for (const QByteArray& name : namesIn(dir()))
            QFile::remove(QFile::decodeName(dir() + '/' + name));
    }

    void stagingUndoesAndRedoesWithTheRows_data() {
        QTest::addColumn<bool>("sortBetween");
        QTest::newRow("rows in place") << false;
        QTest::newRow("rows sorted in between") << true;
    }
    void stagingUndoesAndRedoesWithTheRows() {
        QFETCH(bool, sortBetween);
        Window w;
        for (const char* name : {"c", "a", "b"})
            w.view.AddFile(makeOldFile(dir(), name));
        const RowEditState before = w.rows.editState(1);
        w.stage({0, 1}, RowFlags{true, true, false, true});
        QCOMPARE(w.menuText(ID_EDIT_UNDO), u"元に戻す: edit (2 件)\tCtrl+Z(&U)"_s);
        if (sortBetween)
            w.rows.sort(ColName);
        const int a = sortBetween ? 0 : 1;
        w.frame.runCommand(ID_EDIT_UNDO);
        QCOMPARE(w.rows.stagedCount(), 0);
        QCOMPARE(w.rows.editState(a), before);
        QVERIFY(!w.frame.isWindowModified());
        QVERIFY(w.frame.action(ID_EDIT_REDO)->isEnabled());
        QCOMPARE(w.menuText(ID_EDIT_REDO), u"やり直し: edit (2 件)\tCtrl+Y(&R)"_s);
        w.frame.runCommand(ID_EDIT_REDO);
        QCOMPARE(w.rows.stagedCount(), 2);
        QCOMPARE(w.rows.row(a).modified, kNewTime);
        QVERIFY(w.rows.row(a).modifiedEdited);
        QVERIFY(w.rows.row(a).flags().readOnly);
        QVERIFY(w.frame.isWindowModified());
    }

    void removedRowsComeBackInPlaceWithTheirEdits_data() {
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<std::vector<int>>("removed");
        QTest::newRow("one range") << 6 << std::vector<int>{1, 2, 3};
        QTest::newRow("first and last") << 6 << std::vector<int>{0, 5};
        std::vector<int> scattered; // more ranges than the model signals one by one
        for (int r = 0; r < 200; r += 2)
            scattered.push_back(r);
        QTest::newRow("scattered") << 201 << scattered;
    }
    void removedRowsComeBackInPlaceWithTheirEdits() {
        QFETCH(int, rowCount);
        QFETCH(std::vector<int>, removed);
        Window w;
        QList<QByteArray> paths;
        for (int i = 0; i < rowCount; ++i)
            paths.append(makeFile(dir(), "f" + QByteArray::number(i)));
        w.view.addFiles(paths);
        w.stage({removed.front(), rowCount - 1}, RowFlags{});
        const QList<QByteArray> names = w.names();
        const QList<bool> staged = w.staged();
        w.select(removed);
        w.frame.runCommand(ID_EDIT_CLEAR);
        QCOMPARE(w.rows.rowCount(), rowCount - int(removed.size()));
        QCOMPARE(w.stack.undoText(), u"クリア (%1 件)"_s.arg(removed.size()));

        w.frame.runCommand(ID_EDIT_UNDO);
        QCOMPARE(w.names(), names);
        QCOMPARE(w.staged(), staged);
        QCOMPARE(w.rows.stagedCount(), 2);
        // Paths are listed again: adding them is refused as a duplicate.
        QVERIFY(!w.rows.addFile(paths[removed.back()], platform::nativeFileSystem()));

        w.frame.runCommand(ID_EDIT_REDO);
        QCOMPARE(w.rows.rowCount(), rowCount - int(removed.size()));
        QVERIFY(!w.names().contains(names[removed.front()]));
        w.frame.runCommand(ID_EDIT_UNDO);
        w.frame.runCommand(ID_EDIT_UNDO); // the staging
        QCOMPARE(w.names(), names);
        QCOMPARE(w.rows.stagedCount(), 0);
    }

    void emptyingTheListIsAStepAndKeepsTheHistory() {
        Window w;
        for (const char* name : {"a", "b", "c"})
            w.view.AddFile(makeFile(dir(), name));
        w.stage({1}, RowFlags{});
        w.t.prompt.answers = {Prompt::Answer::No};
        w.frame.runCommand(ID_FILE_NEW);
        QCOMPARE(w.rows.rowCount(), 0);
        QCOMPARE(w.stack.count(), 2);
        QCOMPARE(w.stack.undoText(), u"全クリア (3 件)"_s);
        w.frame.runCommand(ID_EDIT_UNDO);
        QCOMPARE(w.names(), (QList<QByteArray>{"a", "b", "c"}));
        QCOMPARE(w.staged(), (QList<bool>{false, true, false}));
        QVERIFY(w.frame.isWindowModified());
        w.frame.runCommand(ID_EDIT_UNDO);
        QCOMPARE(w.rows.stagedCount(), 0);
        // Nothing staged: closing asks nothing, whatever the history holds.
        w.frame.runCommand(ID_EDIT_REDO);
        w.frame.runCommand(ID_EDIT_REDO);
        QCOMPARE(w.rows.rowCount(), 0);
        w.t.prompt.shown.clear();
        QVERIFY(w.frame.close());
        QCOMPARE(w.t.prompt.count(Kind::YesNoCancel), 0);
    }

    void theHistoryIsCapped() {
        Window w;
        w.view.AddFile(makeFile(dir(), "a"));
        for (int i = 0; i < CMainFrame::kUndoLimit + 10; ++i)
            w.stage({0}, RowFlags{i % 2 == 0, false, false, true});
        QCOMPARE(w.stack.count(), CMainFrame::kUndoLimit);
        while (w.stack.canUndo())
            w.frame.runCommand(ID_EDIT_UNDO);
        // The oldest steps are gone: the row keeps what the first remembered step found.
        QVERIFY(w.rows.row(0).staged);
    }

    // Save, undo: the files have their old times, creation time and flags; the rows are red
    // and staged as before the save. Redo writes the new values again.
    void undoOfASaveWritesTheOldValuesBack_data() {
        QTest::addColumn<int>("files");
        QTest::newRow("one after the other") << 3;
        QTest::newRow("on several threads") << 300;
    }
    void undoOfASaveWritesTheOldValuesBack() {
        QFETCH(int, files);
        if (!userXattrsWork(makeFile(dir(), "probe")))
            QSKIP("this file system keeps no user extended attributes");
        QFile::remove(QFile::decodeName(dir() + "/probe"));
        Window w;
        QList<QByteArray> paths;
        for (int i = 0; i < files; ++i) {
            paths.append(makeOldFile(dir(), "p" + QByteArray::number(i) + ".jpg"));
            if (i == 0)
                setOldCreated(paths.back());
        }
        const QByteArray blobBefore = xattrOf(paths[0], "user.DOSATTRIB").value();
        QVERIFY(!xattrOf(paths[1], "user.DOSATTRIB"));
        const std::uint32_t modeBefore = modeOf(paths[1]);
        w.view.addFiles(paths);
        std::vector<int> all(std::size_t(files), 0);
        std::iota(all.begin(), all.end(), 0);
        w.stage(all, RowFlags{true, true, false, true});
        const QList<bool> staged = w.staged();
        w.frame.runCommand(ID_FILE_SAVE);
        QCOMPARE(w.rows.stagedCount(), 0);
        QCOMPARE(mtimeOf(paths[1]), kNewTime);
        QCOMPARE(w.menuText(ID_EDIT_UNDO), u"元に戻す: 保存 (%1 件)\tCtrl+Z(&U)"_s.arg(files));

        w.t.prompt.shown.clear();
        w.frame.runCommand(ID_EDIT_UNDO);
        QCOMPARE(w.t.prompt.shown.size(), 0);
        for (const QByteArray& path : {paths[0], paths[1], paths.back()}) {
            QCOMPARE(mtimeOf(path), kOldModified);
            QCOMPARE(statOf(path).stx_atime.tv_sec, kOldAccessed);
        }
        const platform::FileStatus first =
            platform::nativeFileSystem().readStatus(paths[0].toStdString());
        QCOMPARE(first.created, kOldCreated);
        QCOMPARE(first.attributes & platform::attr::Managed, platform::attr::Archive);
        QCOMPARE(xattrOf(paths[0], "user.DOSATTRIB").value(), blobBefore);
        QCOMPARE(modeOf(paths[1]), modeBefore); // writable again
        QCOMPARE(platform::nativeFileSystem().readStatus(paths[1].toStdString()).attributes &
                     (platform::attr::ReadOnly | platform::attr::Hidden),
                 0u);
        // The list is as it was before the save: new values shown, staged, red.
        QCOMPARE(w.staged(), staged);
        QCOMPARE(w.rows.row(1).modified, kNewTime);
        QVERIFY(w.frame.isWindowModified());
        QVERIFY(w.frame.action(ID_FILE_SAVE)->isEnabled());

        w.frame.runCommand(ID_EDIT_REDO);
        QCOMPARE(w.rows.stagedCount(), 0);
        QCOMPARE(mtimeOf(paths.back()), kNewTime);
        QCOMPARE(modeOf(paths[1]) & 0222u, 0u);
        w.frame.runCommand(ID_EDIT_UNDO);
        QCOMPARE(mtimeOf(paths.back()), kOldModified);
        QCOMPARE(modeOf(paths[1]), modeBefore);
    }

    // A file deleted after the save: the undo stops there with the save's message, names the
    // files it could not restore, and their rows show what their files hold.
    void undoOfASaveStopsAtAFileDeletedMeanwhile() {
        Window w;
        QList<QByteArray> paths;
        for (const char* name : {"a", "b", "c"})
            paths.append(makeOldFile(dir(), name));
        w.view.addFiles(paths);
        w.stage({0, 1, 2}, RowFlags{});
        w.frame.runCommand(ID_FILE_SAVE);
        QVERIFY(QFile::remove(QFile::decodeName(paths[1])));
        w.t.prompt.shown.clear();
        w.frame.runCommand(ID_EDIT_UNDO);
        QCOMPARE(w.t.prompt.count(Kind::Stop), 1);
        const QString message = w.t.prompt.shown.first().text;
        QVERIFY2(message.startsWith(QFile::decodeName(paths[1]) + u" が見つかりませんでした。"_s),
                 qPrintable(message));
        QVERIFY(message.contains(u"2 件のファイルは元に戻せませんでした。"_s));
        QVERIFY(message.contains(QFile::decodeName(paths[2])));
        QVERIFY(!message.contains(QFile::decodeName(paths[0])));
        QCOMPARE(mtimeOf(paths[0]), kOldModified);
        QCOMPARE(mtimeOf(paths[2]), kNewTime);
        QCOMPARE(w.staged(), (QList<bool>{true, false, false}));
        QCOMPARE(w.rows.row(2).modified, kNewTime);

        // Redo saves what was put back; the file still saved stays as it is.
        w.frame.runCommand(ID_EDIT_REDO);
        QCOMPARE(mtimeOf(paths[0]), kNewTime);
        QCOMPARE(w.rows.stagedCount(), 0);
    }

    // The reverse of a swap and of a chain is a rename that never replaces a file.
    void renamesOfSwapsAndChainsAreTakenBack_data() {
        QTest::addColumn<QByteArrayList>("before");
        QTest::addColumn<QByteArrayList>("after");
        QTest::newRow("swap") << QByteArrayList{"a", "b"} << QByteArrayList{"b", "a"};
        QTest::newRow("chain") << QByteArrayList{"a", "b", "c"} << QByteArrayList{"b", "c", "d"};
        QTest::newRow("three in a cycle")
            << QByteArrayList{"a", "b", "c"} << QByteArrayList{"c", "a", "b"};
    }
    void renamesOfSwapsAndChainsAreTakenBack() {
        QFETCH(QByteArrayList, before);
        QFETCH(QByteArrayList, after);
        Window w;
        for (const QByteArray& name : before)
            w.view.AddFile(makeFile(dir(), name, "content of " + name));
        std::vector<int> rows(std::size_t(before.size()));
        std::iota(rows.begin(), rows.end(), 0);
        const RenameResult done = renameRowsTo(w.rows, w.t.services.fileSystem, rows,
                                               std::vector<QByteArray>(after.begin(), after.end()));
        CommandContext context = w.t.contextFor(w.view);
        context.undoStack = &w.stack;
        context.pushUndo(new RenameUndoStep(context, renamedRows(w.rows, done)));
        QCOMPARE(w.names(), after);
        auto contentsAre = [&](const QByteArrayList& names) {
            for (int i = 0; i < names.size(); ++i)
                QCOMPARE(contentOf(dir() + '/' + names[i]), "content of " + before[i]);
        };
        contentsAre(after);
        w.stack.undo();
        QCOMPARE(w.names(), before);
        contentsAre(before);
        QVERIFY(!namesIn(dir()).join().contains(".kelvoro-swap"));
        w.stack.redo();
        QCOMPARE(w.names(), after);
        contentsAre(after);
        w.stack.undo();
        QCOMPARE(namesIn(dir()), before);
        QCOMPARE(w.t.prompt.shown.size(), 0);
    }

    // The rename dialog renames 300 files; Ctrl+Z gives them their old names back, except one
    // whose old name another file took meanwhile: that row stays renamed and is reported.
    void undoOfARenameThroughTheDialog() {
        Window w;
        QList<QByteArray> paths;
        for (int i = 0; i < 300; ++i)
            paths.append(makeFile(dir(), "r" + QByteArray::number(i) + ".txt"));
        w.view.addFiles(paths);
        w.frame.runCommand(ID_EDIT_SELECT_ALL);
        test::WhenModalOpens<CReName> driver([](CReName* d) {
            d->findChild<QCheckBox*>(u"nameCheck"_s)->click();
            d->findChild<QRadioButton*>(u"frontRadio"_s)->click();
            d->findChild<QLineEdit*>(u"frontEdit"_s)->setText(u"x_"_s);
            d->findChild<QPushButton*>(u"okButton"_s)->click();
        });
        w.frame.runCommand(ID_EDIT_RENAME);
        QVERIFY(driver.opened);
        QCOMPARE(w.rows.row(7).name, "x_r7.txt"_ba);
        QCOMPARE(w.menuText(ID_EDIT_UNDO), u"元に戻す: 名前の変更 (300 件)\tCtrl+Z(&U)"_s);
        makeFile(dir(), "r7.txt", "newcomer");
        w.t.prompt.shown.clear();
        w.frame.runCommand(ID_EDIT_UNDO);
        QCOMPARE(w.rows.row(6).name, "r6.txt"_ba);
        QCOMPARE(w.rows.row(299).name, "r299.txt"_ba);
        QCOMPARE(w.rows.row(7).name, "x_r7.txt"_ba);
        QCOMPARE(contentOf(dir() + "/r7.txt"), "newcomer"_ba);
        QCOMPARE(w.t.prompt.count(Kind::Exclamation), 1);
        const QString message = w.t.prompt.shown.first().text;
        QVERIFY2(message.startsWith(u"1 件のファイル名を元に戻せませんでした。"_s),
                 qPrintable(message));
        QVERIFY(message.contains(u"x_r7.txt → r7.txt: 既に存在します"_s));
        QCOMPARE(w.menuText(ID_EDIT_REDO), u"やり直し: 名前の変更 (300 件)\tCtrl+Y(&R)"_s);
        w.frame.runCommand(ID_EDIT_REDO);
        QCOMPARE(w.rows.row(6).name, "x_r6.txt"_ba);
        QCOMPARE(w.rows.row(7).name, "x_r7.txt"_ba);
    }

    // New dates on 50 photos through the property dialog, saved; Ctrl+Z gives the photos
    // their old dates, the rows are red again, and Ctrl+Z once more takes the edit back.
    void fiftyPhotosGetTheirOldDatesBack() {
        Window w;
        QList<QByteArray> paths;
        for (int i = 0; i < 50; ++i)
            paths.append(makeOldFile(dir(), "IMG_" + QByteArray::number(1000 + i) + ".JPG"));
        w.view.addFiles(paths);
        w.frame.runCommand(ID_EDIT_SELECT_ALL);
        test::WhenModalOpens<CChange> driver([](CChange* d) {
            d->findChild<QDateEdit*>(u"modifiedDate"_s)->setDate(QDate(2021, 5, 1));
            d->findChild<QPushButton*>(u"ok"_s)->click();
        });
        w.frame.runCommand(ID_EDIT_PROPERTIES);
        QVERIFY(driver.opened);
        QCOMPARE(w.stack.undoText(), u"タイムスタンプ／属性の編集 (50 件)"_s);
        w.frame.action(ID_FILE_SAVE)->trigger();
        QVERIFY(mtimeOf(paths[49]) != kOldModified);
        const std::int64_t saved = mtimeOf(paths[49]);
        QCOMPARE(w.menuText(ID_EDIT_UNDO), u"元に戻す: 保存 (50 件)\tCtrl+Z(&U)"_s);

        w.frame.action(ID_EDIT_UNDO)->trigger();
        for (const QByteArray& path : paths)
            QCOMPARE(mtimeOf(path), kOldModified);
        QCOMPARE(w.rows.stagedCount(), 50);
        QCOMPARE(w.rows.data(w.rows.index(49, ColModified), Qt::ForegroundRole).value<QColor>(),
                 QColor(0xfa, 0, 0));
        QCOMPARE(w.rows.row(49).modified, saved);
        w.frame.action(ID_EDIT_UNDO)->trigger();
        QCOMPARE(w.rows.stagedCount(), 0);
        QCOMPARE(w.rows.row(49).modified, kOldModified);
        QVERIFY(!w.frame.action(ID_EDIT_UNDO)->isEnabled());
        QCOMPARE(w.menuText(ID_EDIT_UNDO), u"元に戻す\tCtrl+Z(&U)"_s);
    }

    void undoAndRedoFollowTheirKeys() {
        Window w;
        QCOMPARE(
            w.frame.action(ID_EDIT_UNDO)->shortcuts(),
            (QList<QKeySequence>{QKeySequence(u"Ctrl+Z"_s), QKeySequence(u"Alt+Backspace"_s)}));
        QCOMPARE(w.frame.action(ID_EDIT_REDO)->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(u"Ctrl+Y"_s), QKeySequence(u"Ctrl+Shift+Z"_s)}));
        QVERIFY(!w.frame.action(ID_EDIT_UNDO)->isEnabled());
        QVERIFY(!w.frame.action(ID_EDIT_REDO)->isEnabled());
        w.view.AddFile(makeFile(dir(), "a"));
        w.stage({0}, RowFlags{});
        QVERIFY(w.frame.action(ID_EDIT_UNDO)->isEnabled());
        QCOMPARE(w.frame.action(ID_EDIT_UNDO)->toolTip(), u"元に戻す: edit (1 件)"_s);
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
