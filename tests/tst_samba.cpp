// What Kelvoro writes on a generic file system, as a Samba server shows it to its clients: a
// private smbd on a loopback port shares a temporary folder, and smbclient's allinfo reports
// the attributes and creation time a Windows client would see.
#include "clirunner.h"
#include "statushelpers.h"
#include "support/photofiles.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <ctime>

using namespace kelvoro;
using namespace kelvoro::platform;
using namespace Qt::Literals::StringLiterals;

namespace {

// A port nobody listens on right now.
int freeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// smbclient prints times in the zone it runs in; it runs in UTC here.
QString utcText(std::int64_t t) {
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    gmtime_r(&tt, &tm);
    char buffer[64];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%a %b %e %H:%M:%S %Y UTC", &tm);
    return QString::fromLatin1(buffer, static_cast<qsizetype>(n));
}

} // namespace

class TestSamba : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_smbd;
    int m_port = 0;
    QString m_smbclient;

    QByteArray share() const { return QFile::encodeName(m_dir.path()) + "/share"; }

    // allinfo's "key: value" lines for one name.
    QMap<QString, QString> allinfo(const QString& name) {
        QProcess client;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"TZ"_s, u"UTC"_s);
        client.setProcessEnvironment(env);
        client.setProcessChannelMode(QProcess::MergedChannels);
        client.start(m_smbclient, {u"//127.0.0.1/share"_s, u"-p"_s, QString::number(m_port),
                                   u"-N"_s, u"-c"_s, u"allinfo \"%1\""_s.arg(name)});
        client.waitForFinished(20000);
        QMap<QString, QString> info;
        const QString output = QString::fromLocal8Bit(client.readAll());
        for (const QString& line : output.split(u'\n')) {
            const qsizetype colon = line.indexOf(u':');
            if (colon > 0)
                info.insert(line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
        }
        if (!info.contains(u"attributes"_s))
            qWarning("smbclient said: %s", qPrintable(output));
        return info;
    }

private Q_SLOTS:
    void initTestCase() {
        const QStringList sbin = {u"/usr/sbin"_s, u"/sbin"_s, u"/usr/bin"_s};
        const QString smbd = QStandardPaths::findExecutable(u"smbd"_s, sbin);
        m_smbclient = QStandardPaths::findExecutable(u"smbclient"_s, sbin);
        if (smbd.isEmpty() || m_smbclient.isEmpty())
            QSKIP("smbd or smbclient is not installed (packages samba, smbclient)");
        if (::geteuid() != 0)
            QSKIP("a private smbd serving as its own user needs root here");
        if (!test::userXattrsWork(test::makeFile(QFile::encodeName(m_dir.path()), "probe")))
            QSKIP("the temporary directory's file system stores no user extended attributes");

        const QString base = m_dir.path();
        for (const char* sub : {"share", "private", "lock", "state", "cache", "pid", "ncalrpc"})
            QVERIFY(QDir(base).mkpath(QLatin1String(sub)));
        m_port = freeLoopbackPort();
        QVERIFY(m_port > 0);
        QFile conf(base + u"/smb.conf"_s);
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write(u"[global]\n"
                   "  server role = standalone server\n"
                   "  smb ports = %2\n"
                   "  interfaces = 127.0.0.1\n"
                   "  bind interfaces only = yes\n"
                   "  private dir = %1/private\n"
                   "  lock directory = %1/lock\n"
                   "  state directory = %1/state\n"
                   "  cache directory = %1/cache\n"
                   "  pid directory = %1/pid\n"
                   "  ncalrpc dir = %1/ncalrpc\n"
                   "  log file = %1/log.smbd\n"
                   "  map to guest = Bad User\n"
                   "  load printers = no\n"
                   "  printcap name = /dev/null\n"
                   "  disable spoolss = yes\n"
                   "  store dos attributes = yes\n"
                   "  ea support = yes\n"
                   "[share]\n"
                   "  path = %1/share\n"
                   "  guest ok = yes\n"
                   "  read only = no\n"
                   "  force user = root\n"_s.arg(base)
                       .arg(m_port)
                       .toUtf8());
        conf.close();

        m_smbd.setProcessChannelMode(QProcess::MergedChannels);
        // smbd signals its whole process group when it stops; keep the test out of it.
        m_smbd.setChildProcessModifier([] { ::setsid(); });
        m_smbd.start(smbd, {u"--foreground"_s, u"--no-process-group"_s, u"--debug-stdout"_s,
                            u"-s"_s, conf.fileName()});
        if (!m_smbd.waitForStarted())
            QSKIP("smbd does not start");
        for (int i = 0; i < 100 && !accepts(m_port); ++i) {
            if (m_smbd.waitForFinished(100))
                QSKIP(qPrintable(u"smbd stopped: "_s + QString::fromLocal8Bit(m_smbd.readAll())));
        }
        if (!accepts(m_port))
            QSKIP("smbd does not answer on its port");
    }

    void cleanupTestCase() {
        if (m_smbd.state() != QProcess::NotRunning) {
            m_smbd.terminate();
            if (!m_smbd.waitForFinished(5000))
                m_smbd.kill();
            m_smbd.waitForFinished(2000);
        }
    }

    void serverShowsWhatKelvoroWrote_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<std::uint32_t>("before"); // mode of the new file
        QTest::addColumn<std::uint32_t>("attributes");
        QTest::addColumn<qint64>("created"); // 0: not given
        QTest::addColumn<QString>("shown");

        using namespace kelvoro::platform::attr;
        QTest::newRow("read-only archive")
            << "ra.txt"_ba << 0644u << (ReadOnly | Archive) << qint64(1704164645) << u"RA (21)"_s;
        QTest::newRow("hidden") << "h.txt"_ba << 0644u << Hidden << qint64(1281152096)
                                << u"H (2)"_s;
        QTest::newRow("no creation time given")
            << "no-ctime.txt"_ba << 0644u << Archive << qint64(0) << u"A (20)"_s;
        QTest::newRow("read-only cleared")
            << "was-ro.txt"_ba << 0444u << Archive << qint64(1) << u"A (20)"_s;
        QTest::newRow("all clear")
            << "plain.txt"_ba << 0644u << 0u << qint64(946684800) << u"(80)"_s;
    }
    void serverShowsWhatKelvoroWrote() {
        QFETCH(QByteArray, name);
        QFETCH(std::uint32_t, before);
        QFETCH(std::uint32_t, attributes);
        QFETCH(qint64, created);
        QFETCH(QString, shown);

        const QByteArray path = test::makeFile(share(), name);
        ::chmod(path.constData(), before);
        const std::optional<std::int64_t> given =
            created != 0 ? std::optional<std::int64_t>(created) : std::nullopt;
        nativeFileSystem().writeStatus(path.toStdString(),
                                       test::wanted(attributes, given, 1281152096));

        const QMap<QString, QString> info = allinfo(QFile::decodeName(name));
        QCOMPARE(info.value(u"attributes"_s), shown);
        QCOMPARE(info.value(u"write_time"_s), utcText(1281152096));
        if (given)
            QCOMPARE(info.value(u"create_time"_s), utcText(*given));
    }

    // What a server administrator runs on the share's photos, then a Windows client's view.
    void serverShowsWhatTheToolSet() {
        test::makeImage(share(), "photo.jpg", "JPEG",
                        {{"Exif.Photo.DateTimeOriginal", "2024:01:02 12:04:05"}});
        const QByteArray plain = test::makeFile(share(), "notes.txt");
        const test::CliResult r =
            test::runShell("find " + test::shellBytes(share()) +
                           " -name '*.jpg' -print0 | \"$CLI\" set -0 --created exif "
                           "--modified exif --archive on --hidden on");
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.code, 0);
        const QMap<QString, QString> info = allinfo(u"photo.jpg"_s);
        QCOMPARE(info.value(u"attributes"_s), u"HA (22)"_s);
        // The photo's local time, in Tokyo where the test runs.
        QCOMPARE(info.value(u"create_time"_s), utcText(1704164645));
        QCOMPARE(info.value(u"write_time"_s), utcText(1704164645));

        const test::CliResult set =
            test::runCli({"set", "--hidden", "on", "--created", "2024-01-02T03:04:05Z", plain});
        QCOMPARE(set.code, 0);
        const QMap<QString, QString> notes = allinfo(u"notes.txt"_s);
        QCOMPARE(notes.value(u"attributes"_s), u"H (2)"_s);
        QCOMPARE(notes.value(u"create_time"_s), utcText(1704164645));
    }
};

QTEST_GUILESS_MAIN(TestSamba)
#include "tst_samba.moc"
