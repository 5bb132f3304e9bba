#include "filelist/filelistmodel.h"
#include "filelist/filelistsort.h"
#include "platform/filestatus.h"
#include "properties/savechanges.h"
#include "rename/newname.h"
#include "rename/renamerows.h"
#include "support/testfiles.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kelvoro;
using namespace Qt::Literals::StringLiterals;

namespace {

// One row: "name" or "dir/name", a modification time (-1: not given) and the read-only flag.
struct Entry {
    QByteArray path;
    std::int64_t modified = 0;
    bool readOnly = false;
};

void fill(FileListModel& model, const QList<Entry>& entries) {
    for (const Entry& s : entries) {
        platform::FileStatus status;
        status.ok = true;
        if (s.modified >= 0)
            status.modified = s.modified;
        status.attributes = s.readOnly ? platform::attr::ReadOnly : 0;
        const QByteArray path = s.path.contains('/') ? "/t/" + s.path : "/t/d/" + s.path;
        QVERIFY(model.queueFile(path, status));
    }
    model.publishPending();
}

QByteArrayList rowPaths(const FileListModel& model) {
    QByteArrayList out;
    for (int r = 0; r < model.rowCount(); ++r)
        out << model.row(r).path().mid(3);
    return out;
}

} // namespace

Q_DECLARE_METATYPE(QList<Entry>)

class TestFileListSort : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void order_data() {
        QTest::addColumn<QList<Entry>>("rows");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QByteArrayList>("expected");
        const QList<Entry> names = {{"file10"}, {"file2"}, {"File1"}, {"b"}, {"A"}};
        QTest::newRow("names, natural, case ignored")
            << names << int(ColName) << false
            << QByteArrayList{"d/A", "d/b", "d/File1", "d/file2", "d/file10"};
        QTest::newRow("names, reversed")
            << names << int(ColName) << true
            << QByteArrayList{"d/file10", "d/file2", "d/File1", "d/b", "d/A"};
        // Equal to the collation, told apart by their bytes: a total order.
        const QList<Entry> cases = {{"abc"}, {"ABC"}, {"Abc"}};
        QTest::newRow("case-only ties by bytes")
            << cases << int(ColName) << false << QByteArrayList{"d/ABC", "d/Abc", "d/abc"};
        QTest::newRow("case-only ties by bytes, reversed")
            << cases << int(ColName) << true << QByteArrayList{"d/abc", "d/Abc", "d/ABC"};
        const QList<Entry> invalid = {{"\xff"}, {"\xfe"}, {"x"}};
        QTest::newRow("names that are not text")
            << invalid << int(ColName) << false << QByteArrayList{"d/x", "d/\xfe", "d/\xff"};
        QTest::newRow("folders natural, rows of a folder in their order")
            << QList<Entry>{{"dir10/a"}, {"dir9/b"}, {"dir10/c"}, {"Dir9/a"}} << int(ColDirectory)
            << false << QByteArrayList{"Dir9/a", "dir9/b", "dir10/a", "dir10/c"};
        QTest::newRow("one name in two folders keeps its order")
            << QList<Entry>{{"b/IMG1"}, {"a/IMG1"}, {"a/img0"}, {"b/IMG1.jpg"}} << int(ColName)
            << false << QByteArrayList{"a/img0", "b/IMG1", "a/IMG1", "b/IMG1.jpg"};
        const QList<Entry> times = {{"a", 300}, {"b", -1}, {"c", 100}, {"d", -1}, {"e", 200}};
        QTest::newRow("times, not given first")
            << times << int(ColModified) << false
            << QByteArrayList{"d/b", "d/d", "d/c", "d/e", "d/a"};
        QTest::newRow("times, reversed, ties still in list order")
            << times << int(ColModified) << true
            << QByteArrayList{"d/a", "d/e", "d/c", "d/b", "d/d"};
        const QList<Entry> flags = {
            {"a", 0, false}, {"b", 0, true}, {"c", 0, false}, {"d", 0, true}};
        QTest::newRow("flags set first")
            << flags << int(ColReadOnly) << false << QByteArrayList{"d/b", "d/d", "d/a", "d/c"};
        QTest::newRow("flags clear first")
            << flags << int(ColReadOnly) << true << QByteArrayList{"d/a", "d/c", "d/b", "d/d"};
        // The index column shows set for a file that may be indexed: every row here.
        QTest::newRow("all equal: unchanged")
            << flags << int(ColIndex) << false << QByteArrayList{"d/a", "d/b", "d/c", "d/d"};
    }
    void order() {
        QFETCH(QList<Entry>, rows);
        QFETCH(int, column);
        QFETCH(bool, descending);
        QFETCH(QByteArrayList, expected);
        FileListModel model;
        fill(model, rows);
        model.sort(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        QCOMPARE(rowPaths(model), expected);
    }

    void collationLocaleForCSessions() {
        QCOMPARE(collationLocale(QLocale::c()).language(), QLocale::Japanese);
        QCOMPARE(collationLocale(QLocale(QLocale::German)).language(), QLocale::German);
    }

    // Sorting moves rows, not marks: selection, current row and staged edits go with them.
    void rowsKeepTheirState() {
        FileListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        fill(model, {{"e", 5}, {"a", -1}, {"d", 4}, {"b", 2}, {"c", 2}, {"f", -1}});
        QItemSelectionModel selection(&model);
        for (int r : {0, 2, 3})
            selection.select(model.index(r, 0),
                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection.setCurrentIndex(model.index(4, 3), QItemSelectionModel::NoUpdate);
        model.stageEdit(1, std::nullopt, 7, std::nullopt, model.row(1).flags());
        model.stageEdit(3, std::nullopt, std::nullopt, std::nullopt, model.row(3).flags());

        model.sort(ColModified, Qt::DescendingOrder);
        QCOMPARE(rowPaths(model), (QByteArrayList{"d/a", "d/e", "d/d", "d/b", "d/c", "d/f"}));
        QByteArrayList selected;
        for (const QModelIndex& i : selection.selectedRows())
            selected << model.row(i.row()).name;
        std::sort(selected.begin(), selected.end());
        QCOMPARE(selected, (QByteArrayList{"b", "d", "e"}));
        QCOMPARE(model.row(selection.currentIndex().row()).name, "c"_ba);
        QCOMPARE(selection.currentIndex().column(), 3);
        QCOMPARE(model.stagedCount(), 2);
        QVERIFY(model.row(0).staged && model.row(0).modifiedEdited);
        QVERIFY(model.row(3).staged && !model.row(3).modifiedEdited);

        model.sort(ColName, Qt::AscendingOrder);
        QCOMPARE(rowPaths(model), (QByteArrayList{"d/a", "d/b", "d/c", "d/d", "d/e", "d/f"}));
        QCOMPARE(model.index(0, ColModified).data().toString(),
                 QString::fromStdString(formatTimeText(7)));
        // The index of listed paths follows the rows.
        QVERIFY(model.contains("/t/d/c"));
        QVERIFY(!model.queueFile("/t/d/c", platform::FileStatus{}));
    }

    void sortState() {
        FileListModel model;
        QSignalSpy changed(&model, &FileListModel::sortStateChanged);
        QCOMPARE(model.sortColumn(), -1);
        fill(model, {{"b", 2}, {"a", 1}});
        QCOMPARE(changed.count(), 0); // no sort: nothing to tell
        model.sort(ColName, Qt::AscendingOrder);
        QVERIFY(model.isSorted());
        fill(model, {{"c", 0}});
        QVERIFY(!model.isSorted());
        model.sort(ColName, Qt::AscendingOrder);
        QVERIFY(model.isSorted());
        model.stageEdit(0, std::nullopt, 9, std::nullopt, model.row(0).flags());
        QVERIFY(model.isSorted()); // by name: a time changed nothing
        model.setName(0, "z");
        QVERIFY(!model.isSorted());
        model.clear();
        QVERIFY(model.isSorted());
        QCOMPARE(model.sortColumn(), int(ColName));
        QVERIFY(changed.count() >= 5);

        FileListModel restored;
        restored.setSortKey(ColModified, Qt::DescendingOrder);
        QCOMPARE(restored.sortOrder(), Qt::DescendingOrder);
        QVERIFY(restored.isSorted());
        fill(restored, {{"a", 1}});
        QVERIFY(!restored.isSorted());
    }

    // A renamed folder takes the rows below it along, shown and pending alike, and no other.
    void folderRenameMovesRowsBelow() {
        FileListModel model;
        platform::FileStatus folder;
        folder.ok = true;
        folder.directory = true;
        platform::FileStatus file;
        file.ok = true;
        QVERIFY(model.queueFile("/t/photos", folder));
        for (const QByteArray& p : {"/t/photos/a.jpg"_ba, "/t/photos/sub/b.jpg"_ba,
                                    "/t/photos2/c.jpg"_ba, "/t/photosub.jpg"_ba})
            QVERIFY(model.queueFile(p, file));
        model.publishPending();
        QVERIFY(model.queueFile("/t/photos/sub/pending.jpg", file));

        model.setName(0, "pics");
        model.publishPending();
        QCOMPARE(rowPaths(model),
                 (QByteArrayList{"pics", "pics/a.jpg", "pics/sub/b.jpg", "photos2/c.jpg",
                                 "photosub.jpg", "pics/sub/pending.jpg"}));
        QVERIFY(model.contains("/t/pics/sub/b.jpg"));
        QVERIFY(!model.contains("/t/photos/a.jpg"));
        // A file row of the same name moves nothing.
        model.setName(4, "photos");
        QCOMPARE(model.row(1).directory, "/t/pics"_ba);
    }

    // The whole way on disk: a folder and a file inside renamed in one batch, then a save of
    // a file inside reaches it under the folder's new name.
    void renameFolderThenSaveInside() {
        QTemporaryDir dir;
        const QByteArray base = QFile::encodeName(dir.path());
        QVERIFY(::mkdir((base + "/photos").constData(), 0755) == 0);
        test::makeFile(base, "photos/a.jpg");
        test::makeFile(base, "photos/b.jpg");
        FileListModel model;
        platform::FileSystem& fs = platform::nativeFileSystem();
        for (const QByteArray& p :
             {base + "/photos", base + "/photos/a.jpg", base + "/photos/b.jpg"})
            QVERIFY(model.addFile(p, fs));
        QVERIFY(model.row(0).folder && !model.row(1).folder);

        RenameOptions options;
        options.mode = renamemode::Front;
        options.front = "2024_";
        const RenameResult result = renameRows(model, fs, options, {0, 1});
        QCOMPARE(result.rows.size(), std::size_t(2));
        QCOMPARE(result.rows[1].name, StepOutcome::Moved);
        QCOMPARE(test::namesIn(base + "/2024_photos"), (QByteArrayList{"2024_a.jpg", "b.jpg"}));

        // The folder row itself is saved like a file row.
        model.stageEdit(0, std::nullopt, 1000000000, std::nullopt, model.row(0).flags());
        model.stageEdit(2, std::nullopt, 1281152096, std::nullopt, model.row(2).flags());
        QCOMPARE(saveStagedRows(model, fs).outcome, SaveResult::Outcome::Saved);
        struct stat st {};
        QCOMPARE(::stat((base + "/2024_photos/b.jpg").constData(), &st), 0);
        QCOMPARE(std::int64_t(st.st_mtime), std::int64_t(1281152096));
        QCOMPARE(::stat((base + "/2024_photos").constData(), &st), 0);
        QCOMPARE(std::int64_t(st.st_mtime), std::int64_t(1000000000));
    }
};

QTEST_GUILESS_MAIN(TestFileListSort)
#include "tst_filelistsort.moc"
