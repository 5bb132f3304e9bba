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
        QCOMPARE(unixFromNtTime(116444736000000000ULL), 0);
        QCOMPARE(unixFromNtTime(116444735990000000ULL), -1);
        QCOMPARE(ntTimeFromUnix(1704164645), 133486382450000000ULL);
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
