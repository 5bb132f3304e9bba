#include "app/cli/rowtext.h"

#include "app/cli/timevalue.h"
#include "common/pathpieces.h"

#include <QStringDecoder>

namespace kelvoro::cli {

namespace {

using platform::attr::Archive;
using platform::attr::Hidden;
using platform::attr::NotContentIndexed;
using platform::attr::ReadOnly;

std::string_view view(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QByteArray bytes(std::string_view s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

bool isUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(bytes);
    return !decoder.hasError();
}

// A JSON string from native bytes; invalid UTF-8 becomes replacement characters.
QByteArray jsonString(const QByteArray& native) {
    const QByteArray utf8 = isUtf8(native) ? native : QString::fromUtf8(native).toUtf8();
    QByteArray out = "\"";
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + '"';
}

QByteArray jsonTime(const std::optional<std::int64_t>& t) {
    const std::string text = t ? isoTimeText(*t) : std::string();
    return text.empty() ? QByteArray("null") : '"' + bytes(text) + '"';
}

QByteArray jsonBool(bool value) {
    return value ? QByteArray("true") : QByteArray("false");
}

QByteArray listTime(const std::optional<std::int64_t>& t) {
    return t ? bytes(formatTimeText(*t)) : QByteArray();
}

} // namespace

const char* storeName(platform::AttributeStore store) {
    using platform::AttributeStore;
    switch (store) {
    case AttributeStore::SambaBlob:
        return "samba";
    case AttributeStore::Ntfs3g:
        return "ntfs-3g";
    case AttributeStore::Ntfs3:
        return "ntfs3";
    case AttributeStore::Cifs:
        return "cifs";
    case AttributeStore::Fat:
        return "fat";
    case AttributeStore::None:
        break;
    }
    return "none";
}

QByteArray rowLine(const QByteArray& absolutePath, const platform::FileStatus& status) {
    const std::uint32_t a = status.attributes;
    QByteArray flags = "----";
    if (a & ReadOnly)
        flags[0] = 'R';
    if (a & Hidden)
        flags[1] = 'H';
    if (a & Archive)
        flags[2] = 'A';
    if ((a & NotContentIndexed) == 0)
        flags[3] = 'I';
    const std::string_view path = view(absolutePath);
    return bytes(directoryOf(path)) + '\t' + bytes(nameOf(path)) + '\t' + listTime(status.created) +
           '\t' + listTime(status.modified) + '\t' + listTime(status.accessed) + '\t' + flags +
           '\n';
}

QByteArray rowJson(const QByteArray& absolutePath, const platform::FileStatus& status,
                   platform::AttributeStore store) {
    const std::string_view path = view(absolutePath);
    const std::uint32_t a = status.attributes;
    QByteArray out = "{\"path\":" + jsonString(absolutePath);
    if (!isUtf8(absolutePath))
        out += ",\"path_base64\":\"" + absolutePath.toBase64() + '"';
    out += ",\"directory\":" + jsonString(bytes(directoryOf(path)));
    out += ",\"name\":" + jsonString(bytes(nameOf(path)));
    out += ",\"created\":" + jsonTime(status.created);
    out += ",\"modified\":" + jsonTime(status.modified);
    out += ",\"accessed\":" + jsonTime(status.accessed);
    out += ",\"readonly\":" + jsonBool(a & ReadOnly);
    out += ",\"hidden\":" + jsonBool(a & Hidden);
    out += ",\"archive\":" + jsonBool(a & Archive);
    out += ",\"index\":" + jsonBool((a & NotContentIndexed) == 0);
    out += ",\"attributes\":" + QByteArray::number(a);
    out += ",\"store\":\"" + QByteArray(storeName(store)) + "\"}\n";
    return out;
}

} // namespace kelvoro::cli
