// kelvoro-cli run as a program, on real files: what it shows, what it writes, what it refuses.
#include "clirunner.h"
#include "statushelpers.h"
#include "support/photofiles.h"
#include "support/testfiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

using namespace kelvoro;
using namespace kelvoro::platform;
using namespace kelvoro::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// A Shift_JIS name ("テスト.txt"), not valid UTF-8.
const QByteArray kShiftJisName = "\x83\x65\x83\x58\x83\x67.txt";

FileStatus statusOf(const QByteArray& path) {
    return nativeFileSystem().readStatus(path.toStdString());
}

// Everything a write would change, ctime included: it moves with any change to the inode.
QByteArray fingerprint(const QByteArray& path) {
    const struct statx sx = statOf(path);
    return QByteArray::number(sx.stx_mode) + ' ' + QByteArray::number(sx.stx_mtime.tv_sec) + '.' +
           QByteArray::number(sx.stx_mtime.tv_nsec) + ' ' +
           QByteArray::number(sx.stx_atime.tv_sec) + ' ' + QByteArray::number(sx.stx_ctime.tv_sec) +
           '.' + QByteArray::number(sx.stx_ctime.tv_nsec) + ' ' +
           xattrOf(path, "user.DOSATTRIB").value_or("none").toHex();
}

QJsonObject jsonOf(const QByteArray& line) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError)
        qWarning("not JSON: %s", line.constData());
    return document.object();
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_base;

    QByteArray file(const QByteArray& name) { return makeFile(m_base, name); }
    QByteArray freshFolder(const QByteArray& name) {
        const QByteArray folder = m_base + '/' + name;
        std::filesystem::remove_all(toStd(folder));
        if (!QDir().mkpath(QFile::decodeName(folder)))
            qWarning("cannot make %s", folder.constData());
        return folder;
    }

private Q_SLOTS:
    // QTemporaryDir cannot remove names that are not valid UTF-8.
    void cleanupTestCase() { std::filesystem::remove_all(toStd(m_base)); }

    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_base = QFile::encodeName(m_dir.path());
        if (!userXattrsWork(file("probe")))
            QSKIP("the temporary directory's file system stores no user extended attributes");
    }

    void showsRowsAsTheListDoes() {
        const QByteArray plain = file("plain.txt");
        const QByteArray odd = file(kShiftJisName);
        setTimes(plain, 1704164645, 1704168245);
        nativeFileSystem().writeStatus(
            odd.toStdString(),
            wanted(attr::Hidden | attr::Archive | attr::ReadOnly | attr::NotContentIndexed,
                   1281152096, 1704164645, 1704164645));
        const CliResult r = runCli({"show", plain, odd});
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.code, 0);
        const QByteArray created =
            QByteArray::fromStdString(formatTimeText(*statusOf(plain).created));
        QCOMPARE(r.out,
                 m_base + "\tplain.txt\t" + created +
                     "\t2024/01/02 12:04:05\t2024/01/02 13:04:05\t---I\n" + m_base + '\t' +
                     kShiftJisName +
                     "\t2010/08/07 12:34:56\t2024/01/02 12:04:05\t2024/01/02 12:04:05\tRHA-\n");
    }

    void jsonNamesAnyFileExactly() {
        const QByteArray odd = makeFile(m_base, "json-" + kShiftJisName);
        const CliResult r = runCli({"show", "--json", odd});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.count('\n'), 1);
        const QJsonObject row = jsonOf(r.out);
        QCOMPARE(QByteArray::fromBase64(row.value(u"path_base64"_s).toString().toLatin1()), odd);
        QCOMPARE(row.value(u"directory"_s).toString(), QString::fromUtf8(m_base));
        QCOMPARE(row.value(u"store"_s).toString(), u"samba"_s);
        // A valid name needs no second form.
        const QJsonObject plain = jsonOf(runCli({"show", "--json", file("valid.txt")}).out);
        QCOMPARE(plain.value(u"name"_s).toString(), u"valid.txt"_s);
        QVERIFY(!plain.contains(u"path_base64"_s));
    }

    void showAfterSetGivesBackWhatWasSet_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QByteArrayList>("options");
        QTest::addColumn<QStringList>("expected"); // key=value of the JSON row

        const QByteArray tokyo = "Asia/Tokyo";
        const QByteArray berlin = "Europe/Berlin";
        QTest::newRow("local time, hidden")
            << tokyo << QByteArrayList{"--created", "2024-01-02 03:04:05", "--hidden", "on"}
            << QStringList{u"created=2024-01-02T03:04:05+09:00"_s, u"hidden=true"_s,
                           u"archive=false"_s, u"readonly=false"_s, u"index=true"_s};
        QTest::newRow("ISO with offset, seen in Berlin summer")
            << berlin
            << QByteArrayList{"--modified", "2024-07-02T12:04:05+09:00", "--archive", "on"}
            << QStringList{u"modified=2024-07-02T05:04:05+02:00"_s, u"archive=true"_s};
        QTest::newRow("epoch, read-only, not indexed")
            << tokyo << QByteArrayList{"--accessed", "@0",  "--readonly", "on",
                                       "--index",    "off", "--modified", "@86400"}
            << QStringList{u"accessed=1970-01-01T09:00:00+09:00"_s,
                           u"modified=1970-01-02T09:00:00+09:00"_s, u"readonly=true"_s,
                           u"index=false"_s};
        QTest::newRow("shift and copy of the old time")
            << tokyo << QByteArrayList{"--modified",    "+2d3h",      "--created",
                                       "copy:modified", "--accessed", "copy:modified"}
            << QStringList{u"modified=2024-01-04T15:04:05+09:00"_s,
                           u"created=2024-01-02T12:04:05+09:00"_s,
                           u"accessed=2024-01-02T12:04:05+09:00"_s};
    }
    void showAfterSetGivesBackWhatWasSet() {
        QFETCH(QByteArray, zone);
        QFETCH(QByteArrayList, options);
        QFETCH(QStringList, expected);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"TZ"_s, QString::fromLatin1(zone));

        const QByteArray path =
            makeFile(m_base, QByteArray(QTest::currentDataTag()) + kShiftJisName);
        setTimes(path, 1704164645, 1704164645);
        const CliResult set =
            runCli(QByteArrayList{"set"} + options + QByteArrayList{path}, {}, env);
        QCOMPARE(set.err, QByteArray());
        QCOMPARE(set.code, 0);
        QCOMPARE(set.out, QByteArray());

        const QJsonObject row = jsonOf(runCli({"show", "--json", path}, {}, env).out);
        for (const QString& pair : expected) {
            const QString key = pair.section(u'=', 0, 0);
            const QString value = pair.section(u'=', 1);
            const QJsonValue shown = row.value(key);
            QCOMPARE(shown.isBool() ? QString::fromLatin1(shown.toBool() ? "true" : "false")
                                    : shown.toString(),
                     value);
        }
    }

    void pathsFromFindPrint0() {
        const QByteArray tree = m_base + "/tree";
        QVERIFY(QDir().mkpath(QFile::decodeName(tree + "/sub dir")));
        const QByteArrayList names = {"a.jpg", "sub dir/b c.jpg", "line\nbreak.jpg",
                                      "-leading-dash.jpg", "sub dir/" + kShiftJisName + ".jpg"};
        for (const QByteArray& name : names)
            makeFile(tree, name);
        const QByteArray outside = file("outside.jpg");
        const QByteArray before = fingerprint(outside);

        const CliResult r =
            runShell("find " + shellBytes(tree) +
                     " -name '*.jpg' -print0 | \"$CLI\" set -0 --modified @1700000000 "
                     "--archive on --created '2023-01-01 00:00:00'");
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.code, 0);
        for (const QByteArray& name : names) {
            const FileStatus s = statusOf(tree + '/' + name);
            QVERIFY2(s.ok, name.constData());
            QCOMPARE(s.modified, std::optional<std::int64_t>(1700000000));
            QCOMPARE(s.created, std::optional<std::int64_t>(1672498800));
            QCOMPARE(s.attributes & attr::Archive, attr::Archive);
        }
        QCOMPARE(fingerprint(outside), before);
    }

    void pathWithANulByteIsRefused() {
        const QByteArray cut = file("nul-cut.txt");
        const QByteArray good = file("nul-good.txt");
        const QByteArray before = fingerprint(cut);
        const CliResult r =
            runCli({"set", "--hidden", "on", "-"}, cut + QByteArray("\0tail\n", 6) + good + '\n');
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err, "kelvoro-cli: NUL 文字を含むパスは使えません。\n"_ba);
        QCOMPARE(fingerprint(cut), before);
        QCOMPARE(statusOf(good).attributes & attr::Hidden, attr::Hidden);
    }

    // A photo share's times from the photos themselves and from their names.
    void datesFromPhotosAndNames() {
        const QByteArray folder = m_base + "/photos";
        QVERIFY(QDir().mkpath(QFile::decodeName(folder)));
        const QByteArray photo =
            makeImage(folder, "IMG_20230405_060708.jpg", "JPEG",
                      {{"Exif.Photo.DateTimeOriginal", "2024:01:02 03:04:05"}});
        const QByteArray bare = makeFile(folder, "bare-" + kShiftJisName);
        // Looking for a photo date reads the file; with its access time after its modification
        // time, relatime leaves the access time alone, so any change seen is the tool's.
        const std::int64_t now = std::time(nullptr);
        const timespec times[2] = {{now - 60, 0}, {now - 3600, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, bare.constData(), times, 0), 0);
        const QByteArray before = fingerprint(bare);
        const CliResult r =
            runShell("find " + shellBytes(folder) +
                     " -type f -print0 | \"$CLI\" set -0 --created exif --modified name "
                     "--archive on");
        QCOMPARE(r.code, 1);
        // The file without either date is named once and left as it was; the photo is done.
        QCOMPARE(r.err, "kelvoro-cli: " + bare + " には撮影日時が記録されていません。\n");
        QCOMPARE(fingerprint(bare), before);
        const FileStatus s = statusOf(photo);
        QCOMPARE(s.created, std::optional<std::int64_t>(1704132245)); // Tokyo time
        QCOMPARE(s.modified, std::optional<std::int64_t>(1680642428));
        QCOMPARE(s.attributes & attr::Archive, attr::Archive);
    }

    void exitStatuses_data() {
        QTest::addColumn<QByteArrayList>("arguments"); // "@" stands for the good file
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QByteArray>("named"); // in the error text
        QTest::newRow("all done") << QByteArrayList{"set", "--hidden", "on", "@"} << 0 << true
                                  << QByteArray();
        QTest::newRow("one missing, the other still done")
            << QByteArrayList{"set", "--hidden", "on", "missing-" + kShiftJisName, "@"} << 1 << true
            << "missing-" + kShiftJisName;
        QTest::newRow("a folder, the file still done")
            << QByteArrayList{"set", "--hidden", "on", "@", "."} << 1 << true << QByteArray(".");
        QTest::newRow("time that cannot be worked out")
            << QByteArrayList{"set", "--modified", "+9223372036854775807s", "@"} << 1 << false
            << QByteArray("modified");
        QTest::newRow("usage: bad flag value")
            << QByteArrayList{"set", "--hidden", "maybe", "@"} << 2 << false << QByteArray("maybe");
        QTest::newRow("usage: unknown option")
            << QByteArrayList{"set", "--hidden", "on", "--bogus", "@"} << 2 << false
            << QByteArray("--bogus");
        QTest::newRow("usage: nothing to set")
            << QByteArrayList{"set", "@"} << 2 << false << QByteArray();
        QTest::newRow("usage: no command") << QByteArrayList{} << 2 << false << QByteArray();
    }
    void exitStatuses() {
        QFETCH(QByteArrayList, arguments);
        QFETCH(int, code);
        QFETCH(bool, changed);
        QFETCH(QByteArray, named);
        QDir::setCurrent(m_dir.path());
        const QByteArray path = file("exit.txt");
        setTimes(path, 1704164645, 1704164645);
        const QByteArray before = fingerprint(path);
        std::replace(arguments.begin(), arguments.end(), "@"_ba, path);

        const CliResult r = runCli(arguments);
        QCOMPARE(r.code, code);
        QCOMPARE(fingerprint(path) != before, changed);
        QCOMPARE(r.out, QByteArray());
        if (code == 0) {
            QCOMPARE(r.err, QByteArray());
        } else {
            QVERIFY(r.err.startsWith("kelvoro-cli: "));
            QVERIFY2(r.err.contains(named), r.err.constData());
        }
        ::unlink(path.constData());
    }

    void failingFileIsNamedAndTheOthersAreDone() {
        const QByteArray locked = file("locked-" + kShiftJisName);
        const QByteArray free = file("free.txt");
        if (runShell("chattr +i " + shellBytes(locked)).code != 0)
            QSKIP("chattr +i is refused here; root cannot be denied a write otherwise");
        const CliResult r = runCli({"set", "--modified", "@1600000000", locked, free});
        QCOMPARE(runShell("chattr -i " + shellBytes(locked)).code, 0);
        QCOMPARE(r.code, 1);
        // The name as the file system has it, not a decoded copy.
        QCOMPARE(r.err, "kelvoro-cli: " + locked + " へのアクセスは拒否されました。\n");
        QCOMPARE(statusOf(free).modified, std::optional<std::int64_t>(1600000000));
        QVERIFY(statusOf(locked).modified != std::optional<std::int64_t>(1600000000));
    }

    void dryRunChangesNothing() {
        const QByteArray path = file("dry-" + kShiftJisName);
        setTimes(path, 1704164645, 1704164645);
        nativeFileSystem().writeStatus(path.toStdString(), wanted(attr::Archive, 1704164645));
        const QByteArray before = fingerprint(path);
        const CliResult r =
            runCli({"set", "-n", "--modified", "-1h", "--created", "2024-01-02 12:04:05",
                    "--archive", "off", "--readonly", "on", "--hidden", "off", path});
        QCOMPARE(r.code, 0);
        QCOMPARE(fingerprint(path), before);
        // Only what would change; the creation time and hidden flag already are as asked.
        QCOMPARE(r.out, path + ": modified 2024/01/02 12:04:05 -> 2024/01/02 11:04:05\n" + path +
                            ": readonly off -> on\n" + path + ": archive on -> off\n");
    }

    void renamesWithEachOption_data() {
        QTest::addColumn<QByteArrayList>("options");
        QTest::addColumn<QByteArrayList>("names"); // given in this order
        QTest::addColumn<QByteArrayList>("expected");

        const QByteArray sjisTitle = kShiftJisName.chopped(4);
        QTest::newRow("extension of a Shift_JIS name")
            << QByteArrayList{"--ext", "md"} << QByteArrayList{kShiftJisName, "plain.jpg"}
            << QByteArrayList{"plain.md", sjisTitle + ".md"}; // by byte
        QTest::newRow("plain replace") << QByteArrayList{"--replace", "o", "0"}
                                       << QByteArrayList{"foo.txt"} << QByteArrayList{"f00.txt"};
        QTest::newRow("pattern, letter case ignored")
            << QByteArrayList{"--regex", "--ignore-case", "--replace", "^img_(\\d+)", "photo-\\1"}
            << QByteArrayList{"IMG_12.jpg"} << QByteArrayList{"photo-12.jpg"};
        QTest::newRow("pattern on a Shift_JIS name")
            << QByteArrayList{"--regex", "--replace", "\\.txt$", ".bak"}
            << QByteArrayList{kShiftJisName} << QByteArrayList{sjisTitle + ".bak"};
        QTest::newRow("front, with a new extension")
            << QByteArrayList{"--front", "new-", "--ext", "png"} << QByteArrayList{"x.jpg"}
            << QByteArrayList{"new-x.png"};
        QTest::newRow("end goes before the extension")
            << QByteArrayList{"--end", "-v2"} << QByteArrayList{"x.txt"}
            << QByteArrayList{"x-v2.txt"};
        QTest::newRow("numbers follow the order given")
            << QByteArrayList{"--number", "9:1:2", "--separator", "_"}
            << QByteArrayList{"b.txt", "a.txt"} << QByteArrayList{"a_10.txt", "b_09.txt"};
        QTest::newRow("number before the name, counting down")
            << QByteArrayList{"--number", "5:-2", "--number-position", "before", "--separator", " "}
            << QByteArrayList{"a", "b"} << QByteArrayList{"3 b", "5 a"};
        QTest::newRow("a new name with the number")
            << QByteArrayList{"--number", "1", "--name", "photo", "--separator", "-"}
            << QByteArrayList{"z.jpg", "y.jpg"} << QByteArrayList{"photo-1.jpg", "photo-2.jpg"};
        QTest::newRow("lower case") << QByteArrayList{"--case", "lower"}
                                    << QByteArrayList{"AbC.JPG"} << QByteArrayList{"abc.jpg"};
        QTest::newRow("upper case") << QByteArrayList{"--case", "upper"}
                                    << QByteArrayList{"AbC.jpg"} << QByteArrayList{"ABC.JPG"};
        QTest::newRow("lower-case extension")
            << QByteArrayList{"--case", "lower-ext"} << QByteArrayList{"AbC.JPG"}
            << QByteArrayList{"AbC.jpg"};
    }
    void renamesWithEachOption() {
        QFETCH(QByteArrayList, options);
        QFETCH(QByteArrayList, names);
        QFETCH(QByteArrayList, expected);
        const QByteArray folder = freshFolder("rename-" + QByteArray(QTest::currentDataTag()));
        QByteArrayList paths;
        for (const QByteArray& name : names)
            paths.append(makeFile(folder, name, name));

        const CliResult r =
            runCli(QByteArrayList{"rename"} + options + QByteArrayList{"--"} + paths);
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QByteArray());
        QCOMPARE(namesIn(folder), expected);
    }

    void renameDryRunChangesNothing() {
        const QByteArray folder = freshFolder("rename-dry");
        const QByteArray odd = makeFile(folder, kShiftJisName);
        const QByteArray plain = makeFile(folder, "plain.txt");
        const CliResult r = runCli({"rename", "-n", "--front", "x-", odd, plain});
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, odd + " -> " + folder + "/x-" + kShiftJisName + '\n' + plain + " -> " +
                            folder + "/x-plain.txt\n");
        QCOMPARE(namesIn(folder), (QByteArrayList{"plain.txt", kShiftJisName}));
    }

    // Each file takes the other's name: one of them goes through a temporary name.
    void swapReplacesNothing() {
        const QByteArray folder = freshFolder("rename-swap");
        makeFile(folder, "ab", "first");
        makeFile(folder, "ba", "second");
        const CliResult r = runCli({"rename", "--regex", "--replace", "^(.)(.)$", "\\2\\1",
                                    folder + "/ab", folder + "/ba"});
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.code, 0);
        QCOMPARE(namesIn(folder), (QByteArrayList{"ab", "ba"}));
        QCOMPARE(contentOf(folder + "/ab"), "second"_ba);
        QCOMPARE(contentOf(folder + "/ba"), "first"_ba);
    }

    void takenNameIsKeptAndTold() {
        const QByteArray folder = freshFolder("rename-taken");
        const QByteArray blocked = makeFile(folder, "t1.txt", "mine");
        const QByteArray free = makeFile(folder, "t2.txt");
        makeFile(folder, "t1-new.txt", "keep");
        for (const QByteArray& dry : {"--dry-run"_ba, "--end"_ba}) {
            QByteArrayList arguments{"rename", "--end", "-new", blocked, free};
            if (dry == "--dry-run")
                arguments.insert(1, dry);
            const CliResult r = runCli(arguments);
            QCOMPARE(r.code, 1);
            QCOMPARE(r.err, "kelvoro-cli: " + blocked + ": 既に存在します\n");
        }
        QCOMPARE(contentOf(folder + "/t1-new.txt"), "keep"_ba);
        QCOMPARE(contentOf(blocked), "mine"_ba);
        QCOMPARE(namesIn(folder), (QByteArrayList{"t1-new.txt", "t1.txt", "t2-new.txt"}));
    }

    void renameFromFindPrint0() {
        const QByteArray tree = freshFolder("rename-find");
        QVERIFY(QDir().mkpath(QFile::decodeName(tree + "/sub")));
        for (const QByteArray& name :
             {"a.jpg"_ba, "line\nbreak.jpg"_ba, "-dash.jpg"_ba, "sub/" + kShiftJisName})
            makeFile(tree, name);
        const CliResult r = runShell("find " + shellBytes(tree) +
                                     " -type f -print0 | \"$CLI\" rename -0 --front z-");
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.code, 0);
        QCOMPARE(namesIn(tree), (QByteArrayList{"z--dash.jpg", "z-a.jpg", "z-line\nbreak.jpg"}));
        QCOMPARE(namesIn(tree + "/sub"), QByteArrayList{"z-" + kShiftJisName});
    }

    // -r numbers in the walk's order: a folder's files by name, then its subfolders.
    void recursiveWalksNestedFolders() {
        const QByteArray tree = freshFolder("walk");
        QVERIFY(QDir().mkpath(QFile::decodeName(tree + "/s/t")));
        const QByteArrayList files = {"b.txt", ".dot", "s/a.txt", "s/t/" + kShiftJisName};
        for (const QByteArray& name : files)
            makeFile(tree, name);
        const CliResult set = runCli({"set", "-r", "--hidden", "on", tree});
        QCOMPARE(set.err, QByteArray());
        QCOMPARE(set.code, 0);
        for (const QByteArray& name : files)
            QCOMPARE(statusOf(tree + '/' + name).attributes & attr::Hidden, attr::Hidden);
        const CliResult show = runCli({"show", "--recursive", tree + '/'});
        QCOMPARE(show.code, 0);
        QCOMPARE(show.out.count('\n'), files.size());
        QVERIFY(show.out.contains(tree + "/s/t\t" + kShiftJisName + '\t'));
        // Without -r a folder is still refused.
        QCOMPARE(runCli({"show", tree}).code, 1);

        const CliResult rename = runCli({"rename", "-r", "--number", "1", "--name", "n", tree});
        QCOMPARE(rename.err, QByteArray());
        QCOMPARE(namesIn(tree), (QByteArrayList{"n1.dot", "n2.txt"}));
        QCOMPARE(namesIn(tree + "/s"), QByteArrayList{"n3.txt"});
        QCOMPARE(namesIn(tree + "/s/t"), QByteArrayList{"n4.txt"});
    }

    // A folder the walk cannot read is named; the files of the others are still done.
    void unreadableFolderIsNamed() {
        const QByteArray tree = freshFolder("walk-locked");
        QVERIFY(QDir().mkpath(QFile::decodeName(tree + "/locked")));
        const QByteArray open = makeFile(tree, "open.txt");
        makeFile(tree, "locked/inside.txt");
        // Root reads any folder: the tool runs as nobody, who owns the tree.
        const QByteArray script = "chmod 755 " + shellBytes(m_base) + " && chown -R 65534:65534 " +
                                  shellBytes(tree) + " && chmod 000 " +
                                  shellBytes(tree + "/locked") +
                                  " && exec setpriv --reuid=65534 --regid=65534 --clear-groups "
                                  "\"$CLI\" set -r --archive on " +
                                  shellBytes(tree);
        const CliResult r = runShell(script);
        runShell("chmod 755 " + shellBytes(tree + "/locked"));
        if (r.code == 127 || r.err.contains("setpriv"))
            QSKIP("cannot run the tool as another user here");
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err, "kelvoro-cli: " + tree + "/locked へのアクセスは拒否されました。\n");
        QCOMPARE(statusOf(open).attributes & attr::Archive, attr::Archive);
    }

    void renameExitStatuses_data() {
        QTest::addColumn<QByteArrayList>("arguments"); // "@" stands for the file
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("named"); // in the error text
        QTest::newRow("done") << QByteArrayList{"rename", "--end", "_", "@"} << 0 << QByteArray();
        QTest::newRow("one missing, the other still done")
            << QByteArrayList{"rename", "--end", "_", "missing.txt", "@"} << 1
            << QByteArray("missing.txt");
        QTest::newRow("usage: bad pattern")
            << QByteArrayList{"rename", "--regex", "--replace", "(x", "y", "@"} << 2
            << QByteArray("(x");
        QTest::newRow("usage: separator in a text")
            << QByteArrayList{"rename", "--front", "a/b", "@"} << 2 << QByteArray("--front");
        QTest::newRow("usage: replace and front together")
            << QByteArrayList{"rename", "--replace", "a", "b", "--front", "c", "@"} << 2
            << QByteArray("--front");
        QTest::newRow("usage: bad number")
            << QByteArrayList{"rename", "--number", "1:2:0", "@"} << 2 << QByteArray("1:2:0");
        QTest::newRow("usage: nothing to change")
            << QByteArrayList{"rename", "@"} << 2 << QByteArray();
        QTest::newRow("usage: replace missing its second value")
            << QByteArrayList{"rename", "@", "--replace", "a"} << 2 << QByteArray("--replace");
    }
    void renameExitStatuses() {
        QFETCH(QByteArrayList, arguments);
        QFETCH(int, code);
        QFETCH(QByteArray, named);
        const QByteArray folder = freshFolder("rename-exit-" + QByteArray(QTest::currentDataTag()));
        QDir::setCurrent(QFile::decodeName(folder));
        std::replace(arguments.begin(), arguments.end(), "@"_ba, makeFile(folder, "e.txt"));

        const CliResult r = runCli(arguments);
        QCOMPARE(r.code, code);
        QCOMPARE(namesIn(folder), QByteArrayList{code == 2 ? "e.txt"_ba : "e_.txt"_ba});
        if (code == 0) {
            QCOMPARE(r.err, QByteArray());
        } else {
            QVERIFY(r.err.startsWith("kelvoro-cli: "));
            QVERIFY2(r.err.contains(named), r.err.constData());
        }
        QDir::setCurrent(m_dir.path());
    }

    void worksWithoutADisplay() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            env.remove(name);
        const CliResult version = runCli({"--version"}, {}, env);
        QCOMPARE(version.code, 0);
        QCOMPARE(version.out, "kelvoro-cli " KELVORO_VERSION "\n");
        const CliResult help = runCli({"set", "--help"}, {}, env);
        QCOMPARE(help.code, 0);
        QVERIFY(help.out.contains("--dry-run"));
        const QByteArray path = file("headless.txt");
        const CliResult show = runCli({"show", path}, {}, env);
        QCOMPARE(show.err, QByteArray());
        QCOMPARE(show.code, 0);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
