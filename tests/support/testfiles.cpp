#include "support/testfiles.h"

#include <QDateTime>
#include <QFile>
#include <QTest>
#include <QTimeZone>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace kelvoro::test {

std::string toStd(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QByteArray contentOf(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0)
        return "<missing>";
    char buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return QByteArray(buffer, n < 0 ? 0 : n);
}

QByteArrayList namesIn(const QByteArray& directory) {
    QByteArrayList names;
    for (const auto& entry : std::filesystem::directory_iterator(toStd(directory))) {
        if (!entry.is_regular_file())
            continue;
        const std::string name = entry.path().filename().native();
        names << QByteArray(name.data(), static_cast<qsizetype>(name.size()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

QByteArray makeFile(const QByteArray& directory, const QByteArray& name,
                    const QByteArray& content) {
    const QByteArray path = directory + '/' + name;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        qFatal("cannot create %s", path.constData());
    if (::write(fd, content.constData(), static_cast<std::size_t>(content.size())) !=
        content.size())
        qFatal("cannot write %s", path.constData());
    ::close(fd);
    return path;
}

void setTimes(const QByteArray& path, std::int64_t modified, std::int64_t accessed) {
    const struct timespec times[2] = {{static_cast<time_t>(accessed), 0},
                                      {static_cast<time_t>(modified), 0}};
    if (::utimensat(AT_FDCWD, path.constData(), times, 0) != 0)
        qFatal("cannot set times of %s", path.constData());
}

std::int64_t secondsAt(const char* zone, int year, int month, int day, int hour, int minute,
                       int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), QTimeZone(zone))
        .toSecsSinceEpoch();
}

void setTimeZone(const char* zone) {
    ::setenv("TZ", zone, 1);
    ::tzset();
}

} // namespace kelvoro::test
