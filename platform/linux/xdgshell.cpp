#include "common/pathpieces.h"
#include "platform/linux/programchooser.h"
#include "platform/linux/spawn.h"
#include "platform/shell.h"

namespace kelvoro::platform {

namespace {

std::string bytes(const QByteArray& a) {
    return std::string(a.constData(), static_cast<std::size_t>(a.size()));
}

class XdgShell : public Shell {
public:
    void openWithAssociatedProgram(const QByteArray& path) override {
        spawnDetached({"xdg-open", bytes(path)});
    }
    void chooseProgram(const QByteArray& path, QWidget* parent) override {
        if (!isUsablePath(bytes(path)))
            return;
        chooseProgramWith(QDBusConnection::sessionBus(), path, parent);
    }
    void openUrl(const QUrl& url) override { spawnDetached({"xdg-open", bytes(url.toEncoded())}); }
};

} // namespace

Shell& nativeShell() {
    static XdgShell instance;
    return instance;
}

} // namespace kelvoro::platform
