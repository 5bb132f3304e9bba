// Saves and renames act on the file each row listed. A directory, a link or another file put
// in its place between listing and saving is refused, and nothing is changed; a listed link
// keeps working while it leads to the same file. A path with a NUL byte never reaches a
// system call as the shorter name it would turn into.
#include "common/fileerrortext.h"
#include "filelist/filelistmodel.h"
#include "platform/attributestore.h"
#include "platform/filesystem.h"
#include "platform/linux/spawn.h"
#include "properties/savechanges.h"
#include "rename/renamerows.h"
#include "statushelpers.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace kelvoro;
using namespace kelvoro::platform;
using namespace kelvoro::test;

namespace {

// What takes the listed file's name between listing and saving.
enum class Swap { Directory, LinkToOther, LinkToDirectory, OtherFile };

constexpr std::int64_t kListedTime = 1600000000;
constexpr std::int64_t kNewTime = 1281152096;

// Everything of a file a save could change.
struct Snapshot {
    std::uint32_t mode = 0;
    std::int64_t modified = 0;
    std::int64_t accessed = 0;
    QByteArray blob;

    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshotOf(const QByteArray& path) {
    const struct statx sx = statOf(path);
    return {sx.stx_mode & 07777u, sx.stx_mtime.tv_sec, sx.stx_atime.tv_sec,
            xattrOf(path, "user.DOSATTRIB").value_or("(none)")};
}

char* toString(const Snapshot& s) {
    return qstrdup(QByteArray("mode %1 modified %2 accessed %3 blob %4")
                       .replace("%1", QByteArray::number(s.mode, 8))
                       .replace("%2", QByteArray::number(s.modified))
                       .replace("%3", QByteArray::number(s.accessed))
                       .replace("%4", s.blob.toHex(' '))
                       .constData());
}

QByteArray makeDirectory(const QByteArray& path) {
    if (::mkdir(path.constData(), 0755) != 0)
        qFatal("mkdir %s failed", path.constData());
    setTimes(path, kListedTime, kListedTime);
    return path;
}

// Puts something else at path; returns what a save that went wrong would have changed.
QByteArray swapIn(const QByteArray& path, Swap how) {
    const QByteArray directory = path.left(path.lastIndexOf('/'));
    if (::unlink(path.constData()) != 0)
        qFatal("unlink %s failed", path.constData());
    switch (how) {
    case Swap::Directory:
        return makeDirectory(path);
    case Swap::LinkToOther:
    case Swap::LinkToDirectory: {
        const QByteArray other =
            how == Swap::LinkToOther
                ? makeFile(directory, "other-" + path.mid(path.lastIndexOf('/') + 1))
                : makeDirectory(path + ".dir");
        ::chmod(other.constData(), 0644);
        setTimes(other, kListedTime, kListedTime);
        if (::symlink(other.constData(), path.constData()) != 0)
            qFatal("symlink failed");
        return other;
    }
    case Swap::OtherFile: {
        const QByteArray other = makeFile(directory, "incoming", "someone else's");
        ::chmod(other.constData(), 0644);
        setTimes(other, kListedTime, kListedTime);
        if (::rename(other.constData(), path.constData()) != 0)
            qFatal("rename failed");
        return path;
    }
    }
    return {};
}

void addSwaps() {
    QTest::addColumn<Swap>("swap");
    QTest::newRow("directory") << Swap::Directory;
    QTest::newRow("link to another file") << Swap::LinkToOther;
    QTest::newRow("link to a directory") << Swap::LinkToDirectory;
    QTest::newRow("another file") << Swap::OtherFile;
}

std::optional<FileErrorCause> causeOfWrite(const std::string& path) {
    try {
        nativeFileSystem().writeStatus(path, wanted(attr::Hidden | attr::ReadOnly, {}, kNewTime));
    } catch (const FileError& e) {
        return e.cause();
    }
    return std::nullopt;
}

RenameOptions front(const QByteArray& text) {
    RenameOptions o;
    o.mode = renamemode::Front;
    o.front = text;
    return o;
}

} // namespace

Q_DECLARE_METATYPE(Swap)

class TestIdentity : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_next = 0;
    FileSystem& m_fs = nativeFileSystem();

    // A fresh directory for each case.
    QByteArray freshDirectory() {
        return makeDirectory(QFile::encodeName(m_dir.path()) + "/case" +
                             QByteArray::number(++m_next));
    }
    static QByteArray listedFile(const QByteArray& directory, const QByteArray& name) {
        const QByteArray path = makeFile(directory, name);
        ::chmod(path.constData(), 0644);
        setTimes(path, kListedTime, kListedTime);
        return path;
    }
    // Lists the paths the way the list does: one by one, or read together.
    void list(FileListModel& model, const QByteArrayList& paths) {
        if (paths.size() == 1) {
            QVERIFY(model.addFile(paths.front(), m_fs));
            return;
        }
        std::vector<std::string> block;
        for (const QByteArray& p : paths)
            block.push_back(toStd(p));
        const std::vector<FileStatus> statuses = m_fs.readStatuses(block);
        for (qsizetype i = 0; i < paths.size(); ++i)
            QVERIFY(model.queueFile(paths[i], statuses[std::size_t(i)]));
        model.publishPending();
    }
    static void stageEverything(FileListModel& model) {
        for (int r = 0; r < model.rowCount(); ++r)
            model.stageEdit(r, CalendarTime(kNewTime), CalendarTime(kNewTime),
                            CalendarTime(kNewTime), RowFlags{true, true, false, false});
    }

private Q_SLOTS:
    void initTestCase() {
        ::umask(022);
        if (!userXattrsWork(makeFile(QFile::encodeName(m_dir.path()), "probe")))
            QSKIP("the temporary directory's file system stores no user extended attributes");
    }

    void saveRefusesWhatTookTheRowsPlace_data() {
        QTest::addColumn<Swap>("swap");
        QTest::addColumn<int>("rows");
        for (const auto& [name, swap] : {std::pair{"directory", Swap::Directory},
                                         {"link to another file", Swap::LinkToOther},
                                         {"link to a directory", Swap::LinkToDirectory},
                                         {"another file", Swap::OtherFile}})
            for (int rows : {1, 3})
                QTest::addRow("%s, %d row(s)", name, rows) << swap << rows;
    }
    void saveRefusesWhatTookTheRowsPlace() {
        QFETCH(Swap, swap);
        QFETCH(int, rows);
        const QByteArray directory = freshDirectory();
        QByteArrayList paths;
        for (int i = 0; i < rows; ++i)
            paths << listedFile(directory, "f" + QByteArray::number(i) + ".txt");
        FileListModel model;
        list(model, paths);
        stageEverything(model);
        const int replaced = rows / 2;
        const QByteArray untouched = swapIn(paths[replaced], swap);
        const Snapshot before = snapshotOf(untouched);

        const SaveResult result = saveStagedRows(model, m_fs);
        QCOMPARE(result.outcome, SaveResult::Outcome::Failed);
        QCOMPARE(result.row, replaced);
        QVERIFY(result.error.has_value());
        QCOMPARE(result.error->cause(), FileErrorCause::Replaced);
        QCOMPARE(result.error->path(), toStd(paths[replaced]));
        QCOMPARE(snapshotOf(untouched), before);
        QCOMPARE(model.stagedCount(), rows);
        // Rows before it were saved, rows after it were not reached.
        for (int i = 0; i < rows; ++i)
            if (i != replaced)
                QCOMPARE(mtimeOf(paths[i]), i < replaced ? kNewTime : kListedTime);

        const QString shown = displayPath(paths[replaced]);
        const QString message = fileErrorText(FileErrorCause::Replaced, shown);
        QVERIFY(message.contains(shown));
        QVERIFY(message != fileErrorText(FileErrorCause::Generic, shown));
    }

    // A listed link shows and saves the file it leads to, as long as it leads to that file.
    void listedLinkWritesItsTargetWhileItLeadsThere_data() {
        QTest::addColumn<bool>("retargeted");
        QTest::newRow("same target") << false;
        QTest::newRow("retargeted") << true;
    }
    void listedLinkWritesItsTargetWhileItLeadsThere() {
        QFETCH(bool, retargeted);
        const QByteArray directory = freshDirectory();
        const QByteArray target = listedFile(directory, "target.txt");
        const QByteArray other = listedFile(directory, "other.txt");
        const QByteArray link = directory + "/link.txt";
        QCOMPARE(::symlink("target.txt", link.constData()), 0);
        FileListModel model;
        QVERIFY(model.addFile(link, m_fs));
        stageEverything(model);
        if (retargeted) {
            QCOMPARE(::unlink(link.constData()), 0);
            QCOMPARE(::symlink("other.txt", link.constData()), 0);
        }
        const Snapshot otherBefore = snapshotOf(other);
        const Snapshot targetBefore = snapshotOf(target);

        const SaveResult result = saveStagedRows(model, m_fs);
        QCOMPARE(snapshotOf(other), otherBefore);
        if (retargeted) {
            QCOMPARE(result.outcome, SaveResult::Outcome::Failed);
            QCOMPARE(result.error->cause(), FileErrorCause::Replaced);
            QCOMPARE(snapshotOf(target), targetBefore);
        } else {
            QCOMPARE(result.outcome, SaveResult::Outcome::Saved);
            QCOMPARE(mtimeOf(target), kNewTime);
            QCOMPARE(modeOf(target), 0444u);
            QCOMPARE(m_fs.readStatus(toStd(link)).attributes & attr::Managed,
                     attr::ReadOnly | attr::Hidden | attr::NotContentIndexed);
        }
    }

    void renameRefusesWhatTookTheRowsPlace_data() { addSwaps(); }
    void renameRefusesWhatTookTheRowsPlace() {
        QFETCH(Swap, swap);
        const QByteArray directory = freshDirectory();
        const QByteArray memo = listedFile(directory, "memo.txt");
        const QByteArray kept = listedFile(directory, "kept.txt");
        FileListModel model;
        list(model, {memo, kept});
        swapIn(memo, swap);

        const RenameResult r = renameRows(model, m_fs, front("new_"), {0, 1});
        QCOMPARE(r.rows.size(), std::size_t(2));
        QCOMPARE(r.rows[0].name, StepOutcome::Failed);
        QCOMPARE(model.row(0).name, QByteArray("memo.txt"));
        struct stat st {};
        QCOMPARE(::lstat(memo.constData(), &st), 0);
        QCOMPARE(::lstat((directory + "/new_memo.txt").constData(), &st), -1);
        // The row whose file is still there is renamed.
        QCOMPARE(r.rows[1].name, StepOutcome::Moved);
        QCOMPARE(contentOf(directory + "/new_kept.txt"), QByteArray("x"));
    }

    void renamedLinkWhileItLeadsToItsTarget() {
        const QByteArray directory = freshDirectory();
        listedFile(directory, "target.txt");
        listedFile(directory, "other.txt");
        const QByteArray a = directory + "/a.lnk";
        const QByteArray b = directory + "/b.lnk";
        QCOMPARE(::symlink("target.txt", a.constData()), 0);
        QCOMPARE(::symlink("target.txt", b.constData()), 0);
        FileListModel model;
        list(model, {a, b});
        QCOMPARE(::unlink(b.constData()), 0);
        QCOMPARE(::symlink("other.txt", b.constData()), 0);

        const RenameResult r = renameRows(model, m_fs, front("new_"), {0, 1});
        QCOMPARE(r.rows[0].name, StepOutcome::Moved);
        QCOMPARE(r.rows[1].name, StepOutcome::Failed);
        QCOMPARE(contentOf(directory + "/new_a.lnk"), QByteArray("x"));
        struct stat st {};
        QCOMPARE(::lstat(b.constData(), &st), 0);
        QVERIFY(S_ISLNK(st.st_mode));
    }

    // The bytes before the NUL name a real file (or directory); no call may act on it, and
    // each says it failed.
    void pathsWithANulByteAreRefused_data() {
        QTest::addColumn<QString>("call");
        for (const char* call :
             {"readStatus", "readStatuses", "writeStatus", "moveNoReplace", "isReadableRegularFile",
              "openForReadingError", "isDirectory", "probeAttributeStore", "spawnDetached"})
            QTest::newRow(call) << QString::fromLatin1(call);
    }
    void pathsWithANulByteAreRefused() {
        QFETCH(QString, call);
        const QByteArray directory = freshDirectory();
        const QByteArray real = listedFile(directory, "a");
        const std::string cut = toStd(real) + std::string("\0.txt", 5);
        const Snapshot before = snapshotOf(real);

        if (call == u"readStatus")
            QVERIFY(!m_fs.readStatus(cut).ok);
        else if (call == u"readStatuses")
            QVERIFY(!m_fs.readStatuses({cut}).front().ok);
        else if (call == u"writeStatus")
            QCOMPARE(causeOfWrite(cut), FileErrorCause::BadPath);
        else if (call == u"moveNoReplace")
            QVERIFY(!m_fs.moveNoReplace(cut, toStd(directory + "/b"), std::nullopt));
        else if (call == u"isReadableRegularFile")
            QVERIFY(!m_fs.isReadableRegularFile(cut));
        else if (call == u"openForReadingError")
            QCOMPARE(m_fs.openForReadingError(cut), EINVAL);
        else if (call == u"isDirectory")
            QVERIFY(!m_fs.isDirectory(toStd(directory) + std::string("\0x", 2)));
        else if (call == u"probeAttributeStore")
            QCOMPARE(probeAttributeStore(cut).error, EINVAL);
        else
            QVERIFY(!spawnDetached({"chmod", "0600", cut}));
        // Give a program started by mistake time to act.
        QVERIFY(spawnDetached({"touch", toStd(directory + "/done")}));
        QTRY_COMPARE(contentOf(directory + "/done"), QByteArray());
        QCOMPARE(snapshotOf(real), before);
        QCOMPARE(contentOf(real), QByteArray("x"));
    }
};

QTEST_GUILESS_MAIN(TestIdentity)
#include "tst_identity.moc"
