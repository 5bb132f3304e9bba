#include "platform/linux/programchooser.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kelvoro;
using namespace kelvoro::platform;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kService = u"org.freedesktop.portal.Desktop"_s;

// Stands in for the desktop portal's OpenURI interface and remembers what it was given.
class FakePortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.OpenURI")

public:
    enum class Answer { Request, Error };
    struct Call {
        QString parentWindow;
        struct stat file {};
        int accessMode = -1;
        QVariantMap options;
        QString requestPath;
    };

    explicit FakePortal(const QDBusConnection& bus) : m_bus(bus) {}

    Answer answer = Answer::Request;
    QList<Call> calls;

    void respond(uint code) {
        QDBusMessage signal = QDBusMessage::createSignal(
            calls.last().requestPath, u"org.freedesktop.portal.Request"_s, u"Response"_s);
        signal << code << QVariantMap();
        m_bus.send(signal);
    }

public Q_SLOTS:
    QDBusObjectPath OpenFile(const QString& parentWindow, const QDBusUnixFileDescriptor& fd,
                             const QVariantMap& options, const QDBusMessage& message) {
        Call call;
        call.parentWindow = parentWindow;
        ::fstat(fd.fileDescriptor(), &call.file);
        call.accessMode = ::fcntl(fd.fileDescriptor(), F_GETFL) & O_ACCMODE;
        call.options = options;
        QString sender = message.service().mid(1);
        sender.replace(u'.', u'_');
        call.requestPath = u"/org/freedesktop/portal/desktop/request/%1/%2"_s.arg(
            sender, options.value(u"handle_token"_s).toString());
        calls.append(call);
        if (answer == Answer::Error) {
            message.setDelayedReply(true);
            m_bus.send(message.createErrorReply(u"org.freedesktop.portal.Error.NotAllowed"_s,
                                                u"refused"_s));
            return {};
        }
        return QDBusObjectPath(call.requestPath);
    }

private:
    QDBusConnection m_bus;
};

} // namespace

class TestPortal : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QByteArray m_file;
    std::unique_ptr<QDBusConnection> m_app;
    std::unique_ptr<QDBusConnection> m_portalSide;
    std::unique_ptr<FakePortal> m_portal;

    QByteArray dir() const { return QFile::encodeName(m_dir.path()); }

    bool m_registered = false;

    bool portalPresent(bool present) {
        if (present != m_registered)
            m_registered = present ? m_portalSide->registerService(kService)
                                   : !m_portalSide->unregisterService(kService);
        return m_registered == present;
    }

    static QList<AppChooserDialog*> openChoosers() {
        QList<AppChooserDialog*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<AppChooserDialog*>(w); d && d->isVisible())
                found.append(d);
        return found;
    }

private Q_SLOTS:
    void initTestCase() {
        const QString daemon = QStandardPaths::findExecutable(u"dbus-daemon"_s);
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed (scripts/setup.sh --test installs dbus)");
        // A bus of our own that starts no services: an installed portal must not answer.
        const QString config = m_dir.filePath(u"bus.conf"_s);
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                   "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/"
                   "busconfig.dtd\">\n<busconfig><type>session</type><listen>unix:dir=" +
                   dir() +
                   "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                   "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                   "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
        file.close();
        m_daemon.start(daemon, {u"--config-file="_s + config, u"--nofork"_s, u"--print-address"_s});
        QVERIFY2(m_daemon.waitForStarted(), "dbus-daemon does not start");
        QVERIFY(QTest::qWaitFor([this] { return m_daemon.canReadLine(); }, 10000));
        m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
        m_app = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(m_address, u"application"_s));
        m_portalSide = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(m_address, u"portal"_s));
        QVERIFY2(m_app->isConnected() && m_portalSide->isConnected(),
                 qPrintable(m_app->lastError().message()));
        m_portal = std::make_unique<FakePortal>(*m_portalSide);
        QVERIFY(m_portalSide->registerObject(u"/org/freedesktop/portal/desktop"_s, m_portal.get(),
                                             QDBusConnection::ExportAllSlots));
        // A name that is not UTF-8 goes over as a descriptor, never as text.
        m_file = test::makeFile(dir(), "\x93\xfa\x96\x7b \"x\".txt", "text\n");
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_dir.path() + u"/no-applications"_s));
    }

    void cleanupTestCase() {
        m_portal.reset();
        m_app.reset();
        m_portalSide.reset();
        QDBusConnection::disconnectFromBus(u"application"_s);
        QDBusConnection::disconnectFromBus(u"portal"_s);
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.kill();
            m_daemon.waitForFinished();
        }
        ::unlink(m_file.constData());
    }

    void init() {
        m_portal->calls.clear();
        m_portal->answer = FakePortal::Answer::Request;
        QVERIFY(portalPresent(true));
    }

    void cleanup() {
        for (AppChooserDialog* d : openChoosers())
            d->reject();
    }

    void thePortalGetsTheFileAsADescriptor() {
        bool noPortal = false;
        openWithPortal(*m_app, m_file, u"x11:4a0001f"_s, [&noPortal] { noPortal = true; });
        QTRY_COMPARE(m_portal->calls.size(), 1);
        const FakePortal::Call call = m_portal->calls.first();
        struct stat file {};
        QCOMPARE(::stat(m_file.constData(), &file), 0);
        QCOMPARE(call.file.st_ino, file.st_ino);
        QCOMPARE(call.file.st_dev, file.st_dev);
        QCOMPARE(call.accessMode, O_RDONLY);
        QCOMPARE(call.parentWindow, u"x11:4a0001f"_s);
        QCOMPARE(call.options.value(u"ask"_s), QVariant(true));
        QVERIFY(!call.options.value(u"handle_token"_s).toString().isEmpty());

        // The user picked a program: nothing more to do here.
        m_portal->respond(0);
        QTest::qWait(200);
        QVERIFY(!noPortal);
        QVERIFY(openChoosers().isEmpty());
    }

    void theUsersCancelIsFinal() {
        chooseProgramWith(*m_app, m_file, nullptr);
        QTRY_COMPARE(m_portal->calls.size(), 1);
        m_portal->respond(1);
        QTest::qWait(200);
        QVERIFY(openChoosers().isEmpty());
    }

    void ourChooserWhenThePortalCannot_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("no portal on the bus") << 0;
        QTest::newRow("an error reply") << 1;
        QTest::newRow("the portal gives up") << 2;
    }

    void ourChooserWhenThePortalCannot() {
        QFETCH(int, how);
        if (how == 0)
            QVERIFY(portalPresent(false));
        if (how == 1)
            m_portal->answer = FakePortal::Answer::Error;
        chooseProgramWith(*m_app, m_file, nullptr);
        if (how == 2) {
            QTRY_COMPARE(m_portal->calls.size(), 1);
            m_portal->respond(2);
        }
        QTRY_COMPARE(openChoosers().size(), 1);
        QCOMPARE(m_portal->calls.size(), how == 0 ? 0 : 1);
    }

    void ourChooserWithoutABus() {
        bool noPortal = false;
        openWithPortal(QDBusConnection(u"never-connected"_s), m_file, {},
                       [&noPortal] { noPortal = true; });
        QVERIFY(noPortal);
        noPortal = false;
        openWithPortal(*m_app, dir() + "/missing.txt", {}, [&noPortal] { noPortal = true; });
        QVERIFY(noPortal);
        QCOMPARE(m_portal->calls.size(), 0);
    }
};

QTEST_MAIN(TestPortal)
#include "tst_portal.moc"
