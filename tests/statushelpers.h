#pragma once

// Helpers for the tests of the status backend and the save on real files and mounts.
#include "platform/filesystem.h"

#include <QFile>
#include <QProcess>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace kelvoro::test {

inline struct statx statOf(const QByteArray& path) {
    struct statx sx {};
    if (::statx(AT_FDCWD, path.constData(), 0, STATX_BASIC_STATS, &sx) != 0)
        qFatal("statx %s failed", path.constData());
    return sx;
}
inline std::int64_t mtimeOf(const QByteArray& path) {
    return statOf(path).stx_mtime.tv_sec;
}
inline std::uint32_t modeOf(const QByteArray& path) {
    return statOf(path).stx_mode & 07777u;
}

inline std::optional<QByteArray> xattrOf(const QByteArray& path, const char* name) {
    char buffer[256];
    const ssize_t n = ::getxattr(path.constData(), name, buffer, sizeof buffer);
    return n < 0 ? std::nullopt : std::optional<QByteArray>(QByteArray(buffer, n));
}

inline bool userXattrsWork(const QByteArray& path) {
    return ::setxattr(path.constData(), "user.probe", "1", 1, 0) == 0;
}

inline platform::FileStatus wanted(std::uint32_t attributes,
                                   std::optional<std::int64_t> created = {},
                                   std::optional<std::int64_t> modified = {},
                                   std::optional<std::int64_t> accessed = {}) {
    platform::FileStatus s;
    s.attributes = attributes;
    s.created = created;
    s.modified = modified;
    s.accessed = accessed;
    return s;
}

// Runs a program; its exit code (-1 when it did not run normally) and its output.
inline std::pair<int, QString> run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForStarted())
        return {-1, program + QStringLiteral(" cannot be started")};
    p.waitForFinished(60000);
    const int code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return {code, QString::fromLocal8Bit(p.readAll()).trimmed()};
}

// A mount for the life of the object; reason() tells why the machine refused it.
class ScopedMount {
public:
    ~ScopedMount() {
        if (!m_target.isEmpty())
            run(QStringLiteral("umount"), {m_target});
    }
    bool mount(const QStringList& arguments, const QByteArray& target) {
        if (::geteuid() != 0) {
            m_reason = "mounting needs root";
            return false;
        }
        const auto [code, output] =
            run(QStringLiteral("mount"), arguments + QStringList{QFile::decodeName(target)});
        if (code != 0) {
            m_reason = (QStringLiteral("mount ") + arguments.join(QLatin1Char(' ')) +
                        QStringLiteral(" refused: ") + output)
                           .toLocal8Bit();
            return false;
        }
        m_target = QFile::decodeName(target);
        return true;
    }
    const char* reason() const { return m_reason.constData(); }

private:
    QString m_target;
    QByteArray m_reason;
};

} // namespace kelvoro::test
