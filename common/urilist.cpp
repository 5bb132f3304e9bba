#include "common/urilist.h"

#include "common/pathpieces.h"

#include <optional>

namespace kelvoro {

namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The path-absolute part after "file:", without its authority when that names this machine.
std::optional<QByteArray> localPart(const QByteArray& rest) {
    if (!rest.startsWith("//"))
        return rest.startsWith('/') ? std::optional(rest) : std::nullopt;
    const qsizetype slash = rest.indexOf('/', 2);
    if (slash < 0)
        return std::nullopt;
    const QByteArray host = rest.mid(2, slash - 2);
    if (!host.isEmpty() && host.toLower() != "localhost")
        return std::nullopt;
    return rest.mid(slash);
}

// The decoded path, or nothing when the text is no valid URI path: a stray '%', a query or
// fragment (which a sender would have had to encode in a file name) or a space.
std::optional<QByteArray> decodedPath(const QByteArray& encoded) {
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c == '?' || c == '#' || static_cast<unsigned char>(c) <= ' ')
            return std::nullopt;
        if (c == '%' &&
            (i + 2 >= encoded.size() || !isHexDigit(encoded[i + 1]) || !isHexDigit(encoded[i + 2])))
            return std::nullopt;
    }
    QByteArray path = QByteArray::fromPercentEncoding(encoded);
    if (!isUsablePath(std::string_view(path.constData(), static_cast<std::size_t>(path.size()))))
        return std::nullopt;
    // "//host/p", also when spelt "/%2Fhost/p", is a share on another machine.
    if (path.startsWith("//"))
        return std::nullopt;
    return path;
}

} // namespace

QList<QByteArray> localPathsFromUriList(const QByteArray& uriList) {
    QList<QByteArray> paths;
    for (QByteArray line : uriList.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        // The scheme is case-insensitive.
        if (line.size() < 5 || line.left(5).toLower() != "file:")
            continue;
        const std::optional<QByteArray> local = localPart(line.mid(5));
        if (!local)
            continue;
        if (const std::optional<QByteArray> path = decodedPath(*local))
            paths.append(*path);
    }
    return paths;
}

} // namespace kelvoro
