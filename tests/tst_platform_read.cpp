#include "platform/dosattrib.h"
#include "platform/filesystem.h"
#include "support/testfiles.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace kelvoro;
using namespace kelvoro::platform;

Q_DECLARE_METATYPE(std::optional<std::int64_t>)

namespace {

struct Vector {
    QByteArray label;
    std::uint32_t attrib = 0;
    std::optional<std::int64_t> created;
    QByteArray blob;
    bool readOnly = false; // read, never written
};

QList<Vector> loadVectors() {
    QFile file(QStringLiteral(KELVORO_TESTDATA_DIR "/dosattrib-vectors.txt"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test vectors");
    QList<Vector> vectors;
    const QRegularExpression header(
        QStringLiteral(R"(attrib=(0x[0-9a-f]+)\s+create(?:_time_nttime)?=(none|\d+))"));
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines[i]);
        if (line.startsWith(QLatin1Char('#')) || line.trimmed().isEmpty())
            continue;
        Vector v;
        v.label = lines[i].trimmed();
        v.readOnly = line.startsWith(QStringLiteral("READ-ONLY"));
        QString hex;
        if (line.contains(QStringLiteral("wine-style"))) {
            v.attrib = 0x2;
            hex = line.section(QLatin1Char(':'), 1);
        } else {
            const auto m = header.match(line);
            if (!m.hasMatch())
                qFatal("unreadable vector line %s", lines[i].constData());
            v.attrib = m.captured(1).toUInt(nullptr, 16);
            if (m.captured(2) != QStringLiteral("none"))
                v.created = unixFromNtTime(m.captured(2).toULongLong());
            hex = QString::fromUtf8(lines[++i]);
        }
        v.blob = QByteArray::fromHex(hex.remove(QLatin1Char(' ')).trimmed().toLatin1());
        vectors.append(v);
    }
    return vectors;
}

} // namespace

class TestPlatformRead : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }

    static bool userXattrsWork(const QByteArray& path) {
        return ::setxattr(path.constData(), "user.kelvoro-probe", "1", 1, 0) == 0 &&
               ::removexattr(path.constData(), "user.kelvoro-probe") == 0;
    }

private Q_SLOTS:
    void everyVectorDecodes() {
        const QList<Vector> vectors = loadVectors();
        QCOMPARE(vectors.size(), 8);
        for (const Vector& v : vectors) {
            const auto info = decodeDosAttrib(std::string_view(v.blob.constData(), v.blob.size()));
            QVERIFY2(info.has_value(), v.label.constData());
            QCOMPARE(info->attributes, v.attrib);
            QCOMPARE(info->created, v.created);
        }
    }

    void writtenVectorsEncodeByteForByte() {
        for (const Vector& v : loadVectors()) {
            if (v.readOnly)
                continue;
            const std::string blob = encodeDosAttrib(DosAttrib{v.attrib, v.created});
            QCOMPARE(QByteArray(blob.data(), qsizetype(blob.size())).toHex(' '), v.blob.toHex(' '));
        }
    }

    void garbageIsRejected() {
        QVERIFY(!decodeDosAttrib("").has_value());
        QVERIFY(!decodeDosAttrib("hello").has_value());
        QVERIFY(!decodeDosAttrib(std::string_view("0x20\0\0\x03\0", 8)).has_value());
        QCOMPARE(unixFromNtTime(116444736000000000ULL), std::optional<std::int64_t>(0));
        QCOMPARE(unixFromNtTime(116444735990000000ULL), std::optional<std::int64_t>(-1));
        QCOMPARE(ntTimeFromUnix(1704164645), 133486382450000000ULL);
    }

    // Create-time fields as a blob may hold them (written by any program), each with its
    // 100 ns value; what a flag-only save writes back must hold the same field.
    void createTimesSurviveAFlagChange_data() {
        QTest::addColumn<quint64>("field");
        QTest::addColumn<std::optional<std::int64_t>>("created");
        using T = std::optional<std::int64_t>;
        QTest::newRow("top bit set") << quint64(0x8000000000000000) << T{};
        QTest::newRow("far past Windows' range") << quint64(0x819db1dc81329c00) << T{};
        QTest::newRow("largest") << quint64(0xffffffffffffffff) << T{};
        QTest::newRow("last Windows time") << quint64(0x7fffffffffffffff) << T{910692730085};
        QTest::newRow("first 100 ns after 1601") << quint64(1) << T{-11644473600};
        QTest::newRow("within the first second") << quint64(9999999) << T{-11644473600};
        QTest::newRow("fraction of a second") << quint64(133486382451234567) << T{1704164645};
        QTest::newRow("marked valid, zero") << quint64(0) << T{};
    }
    void createTimesSurviveAFlagChange() {
        QFETCH(quint64, field);
        QFETCH(std::optional<std::int64_t>, created);
        DosAttrib original;
        original.attributes = attr::Archive;
        original.created = 1704164645;
        std::string blob = encodeDosAttrib(original);
        const std::size_t at = blob.size() - 16;
        for (std::size_t i = 0; i < 8; ++i)
            blob[at + i] = static_cast<char>((field >> (8 * i)) & 0xff);

        std::optional<DosAttrib> read = decodeDosAttrib(blob);
        QVERIFY(read.has_value());
        QCOMPARE(read->created, created);
        read->attributes |= attr::Hidden;
        const std::string written = encodeDosAttrib(*read);
        QCOMPARE(QByteArray::fromStdString(written.substr(12, 4)).toHex(), "11000000");
        QCOMPARE(QByteArray::fromStdString(written.substr(at, 8)).toHex(),
                 QByteArray::fromStdString(blob.substr(at, 8)).toHex());
        QCOMPARE(decodeDosAttrib(written)->attributes, attr::Archive | attr::Hidden);
    }

    // A time set by the user is written as its whole second; the first second after 1601
    // stays a time rather than the zero that means none.
    void setCreateTimesEncode_data() {
        QTest::addColumn<std::int64_t>("created");
        QTest::addColumn<quint64>("field");
        QTest::newRow("1601") << std::int64_t(-11644473600) << quint64(1);
        QTest::newRow("1601, one second on") << std::int64_t(-11644473599) << quint64(10000000);
        QTest::newRow("1970") << std::int64_t(0) << quint64(116444736000000000);
        QTest::newRow("2024") << std::int64_t(1704164645) << quint64(133486382450000000);
    }
    void setCreateTimesEncode() {
        QFETCH(std::int64_t, created);
        QFETCH(quint64, field);
        QCOMPARE(quint64(ntTimeFromUnix(created)), field);
        DosAttrib info;
        info.created = created;
        const std::optional<DosAttrib> back = decodeDosAttrib(encodeDosAttrib(info));
        QVERIFY(back.has_value());
        QCOMPARE(back->created, std::optional<std::int64_t>(created));
        // A time changed since the blob was read replaces the field read.
        info.storedCreateTime = 133486382451234567;
        QCOMPARE(decodeDosAttrib(encodeDosAttrib(info))->created, std::optional(created));
    }

    // The same through a save of the flags only, on the disk.
    void flagOnlySaveKeepsAnUnreadableCreateTime() {
        const QByteArray path = test::makeFile(dir(), "far-create");
        if (!userXattrsWork(path))
            QSKIP("this file system does not store user extended attributes");
        DosAttrib original;
        original.attributes = attr::Archive;
        original.created = 1704164645;
        std::string blob = encodeDosAttrib(original);
        blob.replace(blob.size() - 16, 8, std::string("\x00\x9c\x32\x81\xdc\xb1\x9d\x81", 8));
        QCOMPARE(::setxattr(path.constData(), "user.DOSATTRIB", blob.data(), blob.size(), 0), 0);
        FileStatus status = nativeFileSystem().readStatus(path.toStdString());
        QVERIFY(status.ok);
        status.attributes |= attr::Hidden;
        nativeFileSystem().writeStatus(path.toStdString(), status);
        char after[128] = {};
        const ssize_t size = ::getxattr(path.constData(), "user.DOSATTRIB", after, sizeof after);
        QCOMPARE(size, ssize_t(blob.size()));
        QCOMPARE(QByteArray(after + size - 16, 8).toHex(),
                 QByteArray::fromStdString(blob.substr(blob.size() - 16, 8)).toHex());
        QCOMPARE(nativeFileSystem().readStatus(path.toStdString()).attributes & attr::Hidden,
                 attr::Hidden);
    }

    void readsTimesAndModeBits() {
        const QByteArray path = test::makeFile(dir(), "plain.txt");
        test::setTimes(path, 1281152096, 1281152000);
        FileStatus s = nativeFileSystem().readStatus(path.toStdString());
        QVERIFY(s.ok);
        QCOMPARE(s.modified, std::optional<std::int64_t>(1281152096));
        QCOMPARE(s.accessed, std::optional<std::int64_t>(1281152000));
        QVERIFY(s.created.has_value()); // birth time or, without one, the modification time
        QCOMPARE(s.attributes & attr::Managed, attr::NotContentIndexed * 0); // no blob: all clear

        ::chmod(path.constData(), 0444);
        s = nativeFileSystem().readStatus(path.toStdString());
        QCOMPARE(s.attributes, attr::ReadOnly);
        ::chmod(path.constData(), 0200); // someone may write: not read-only
        s = nativeFileSystem().readStatus(path.toStdString());
        QCOMPARE(s.attributes, 0u);

        const QByteArray dot = test::makeFile(dir(), ".hidden");
        QCOMPARE(nativeFileSystem().readStatus(dot.toStdString()).attributes, attr::Hidden);

        const FileStatus missing = nativeFileSystem().readStatus(dir().toStdString() + "/nope");
        QVERIFY(!missing.ok);
    }

    void readsEveryBlobVersionFromTheDisk() {
        const QByteArray probe = test::makeFile(dir(), "probe");
        if (!userXattrsWork(probe))
            QSKIP("this file system does not store user extended attributes");
        int n = 0;
        for (const Vector& v : loadVectors()) {
            // A dot name: the blob, not the name, decides hidden.
            const QByteArray path = test::makeFile(dir(), ".v" + QByteArray::number(n++));
            QCOMPARE(::setxattr(path.constData(), "user.DOSATTRIB", v.blob.constData(),
                                std::size_t(v.blob.size()), 0),
                     0);
            test::setTimes(path, 1600000000, 1600000000);
            const FileStatus s = nativeFileSystem().readStatus(path.toStdString());
            QVERIFY(s.ok);
            QCOMPARE(s.attributes, v.attrib);
            if (v.created)
                QCOMPARE(s.created, v.created);
            else
                QVERIFY(s.created.has_value());
        }
    }

    // Enough files for the parallel read: each status is the one read alone, in order.
    void readsManyAtOnceAsOneByOne() {
        std::vector<std::string> paths;
        for (int i = 0; i < 1500; ++i) {
            QByteArray name = (i % 7 == 0 ? "." : "m") + QByteArray::number(i);
            if (i % 11 == 0)
                name += "\xff";
            const QByteArray path =
                i % 13 == 0 ? dir() + "/missing" + name : test::makeFile(dir(), name);
            if (i % 13 != 0) {
                test::setTimes(path, 1000000000 + i, 1000000000 - i);
                if (i % 3 == 0)
                    ::chmod(path.constData(), 0444);
            }
            paths.push_back(test::toStd(path));
        }
        const std::vector<FileStatus> many = nativeFileSystem().readStatuses(paths);
        QCOMPARE(many.size(), paths.size());
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const FileStatus one = nativeFileSystem().readStatus(paths[i]);
            QCOMPARE(many[i].ok, one.ok);
            QCOMPARE(many[i].modified, one.modified);
            QCOMPARE(many[i].accessed, one.accessed);
            QCOMPARE(many[i].created, one.created);
            QCOMPARE(many[i].attributes, one.attributes);
        }
        QCOMPARE(many[3].modified, std::optional<std::int64_t>(1000000003));
        QCOMPARE(many[3].attributes, attr::ReadOnly);
        QCOMPARE(many[7].attributes, attr::Hidden);
        QVERIFY(!many[13].ok);
    }

    void probesWithoutBlocking() {
        FileSystem& fs = nativeFileSystem();
        const QByteArray file = test::makeFile(dir(), "r.txt");
        const QByteArray fifo = dir() + "/fifo";
        QCOMPARE(::mkfifo(fifo.constData(), 0644), 0);
        QVERIFY(fs.isReadableRegularFile(file.toStdString()));
        QVERIFY(!fs.isReadableRegularFile(fifo.toStdString())); // and returns at once
        QVERIFY(!fs.isReadableRegularFile(dir().toStdString()));
        QVERIFY(!fs.isReadableRegularFile("/dev/null"));
        QVERIFY(!fs.isReadableRegularFile(dir().toStdString() + "/missing"));
        QCOMPARE(fs.openForReadingError(file.toStdString()), 0);
        QCOMPARE(fs.openForReadingError(dir().toStdString()), EISDIR);
        QCOMPARE(fs.openForReadingError(dir().toStdString() + "/missing"), ENOENT);
        QVERIFY(fs.isDirectory(dir().toStdString()));
        QVERIFY(!fs.isDirectory(file.toStdString()));
    }
};

QTEST_GUILESS_MAIN(TestPlatformRead)
#include "tst_platform_read.moc"
