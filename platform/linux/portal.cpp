#include "platform/linux/programchooser.h"
#include "platform/linux/uniquefd.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#include <fcntl.h>

namespace kelvoro::platform {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kObject = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kOpenUri = QStringLiteral("org.freedesktop.portal.OpenURI");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

// One OpenFile call: listens for the request's answer until it comes.
class PortalRequest : public QObject {
    Q_OBJECT

public:
    PortalRequest(const QDBusConnection& bus, std::function<void()> noPortal)
        : m_bus(bus), m_noPortal(std::move(noPortal)) {}

    const QString& path() const { return m_path; }

    void watch(const QString& path) {
        unwatch();
        m_path = path;
        m_bus.connect(kService, m_path, kRequest, QStringLiteral("Response"), this,
                      SLOT(response(uint, QVariantMap)));
    }

    void fail() {
        unwatch();
        m_noPortal();
        deleteLater();
    }

public Q_SLOTS:
    void response(uint code, const QVariantMap&) {
        // 1 is the user's cancel; 2 means the portal could not do it.
        if (code == 2)
            fail();
        else {
            unwatch();
            deleteLater();
        }
    }

private:
    void unwatch() {
        if (!m_path.isEmpty())
            m_bus.disconnect(kService, m_path, kRequest, QStringLiteral("Response"), this,
                             SLOT(response(uint, QVariantMap)));
        m_path.clear();
    }

    QDBusConnection m_bus;
    std::function<void()> m_noPortal;
    QString m_path;
};

} // namespace

QString portalParentWindow(QWidget* widget) {
    if (!widget || QGuiApplication::platformName() != u"xcb")
        return {};
    return QStringLiteral("x11:") + QString::number(widget->window()->winId(), 16);
}

void openWithPortal(const QDBusConnection& bus, const QByteArray& path, const QString& parentWindow,
                    std::function<void()> noPortal) {
    if (!bus.isConnected()) {
        noPortal();
        return;
    }
    // Read-only is what every portal version accepts; the descriptor names the file, so the
    // bytes of its name never have to pass as text.
    const linuxos::UniqueFd fd(
        ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid()) {
        noPortal();
        return;
    }
    // The D-Bus type keeps a duplicate of its own.
    const QDBusUnixFileDescriptor descriptor(fd.get());

    static unsigned counter = 0;
    const QString token = QStringLiteral("kelvoro%1").arg(++counter);
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    auto* request = new PortalRequest(bus, std::move(noPortal));
    // Listen before calling: the answer may come before the call's reply.
    request->watch(
        QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token));

    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kObject, kOpenUri, QStringLiteral("OpenFile"));
    call << parentWindow << QVariant::fromValue(descriptor)
         << QVariantMap{{QStringLiteral("ask"), true}, {QStringLiteral("handle_token"), token}};
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), request);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, request, [request, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
        if (reply.isError())
            request->fail();
        else if (reply.value().path() != request->path())
            request->watch(reply.value().path()); // a portal that ignores handle_token
    });
}

void chooseProgramWith(const QDBusConnection& bus, const QByteArray& path, QWidget* parent) {
    const QPointer<QWidget> owner(parent);
    openWithPortal(bus, path, portalParentWindow(parent),
                   [owner, path] { showAppChooser(path, owner.data()); });
}

} // namespace kelvoro::platform

#include "portal.moc"
