// Dropped URI lists: every path given is absolute, local and whole (no NUL byte), and a list
// names each of its paths again when they are written back as file URIs.
#include "common/urilist.h"

#include <cstdint>
#include <cstdlib>

using namespace kelvoro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray list(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> paths = localPathsFromUriList(list);
    QByteArray again;
    for (const QByteArray& path : paths) {
        if (!path.startsWith('/') || path.startsWith("//") || path.contains('\0'))
            std::abort();
        again += "file://" + path.toPercentEncoding("/") + "\r\n";
    }
    if (localPathsFromUriList(again) != paths)
        std::abort();
    return 0;
}
