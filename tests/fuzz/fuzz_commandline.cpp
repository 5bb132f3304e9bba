// The command line as arguments: entries are pieces of the input and never hold a NUL byte,
// which would cut a path short.
#include "filelist/commandline.h"

#include <cstdint>
#include <cstdlib>

using namespace kelvoro;

namespace {

void check(const QList<CommandLineEntry>& entries, const QByteArray& input) {
    for (const CommandLineEntry& entry : entries)
        if (entry.path.contains('\0') || !input.contains(entry.path))
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    check(entriesFromArguments(input.split('\n')), input);
    return 0;
}
