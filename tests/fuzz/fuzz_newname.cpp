// The rename rule: any options and name give either nothing, the name unchanged, or a name
// a move can use.
#include "rename/newname.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

using namespace kelvoro;

namespace {

QByteArray bytes(FuzzedDataProvider& in) {
    // Empty texts as the dialog hands them over: null, without any buffer.
    const std::string s = in.ConsumeRandomLengthString(64);
    return s.empty() ? QByteArray() : QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    RenameOptions options;
    options.mode = in.ConsumeIntegral<std::uint8_t>() & 0x0f;
    options.extension = bytes(in);
    options.find = bytes(in);
    options.replacement = bytes(in);
    options.front = bytes(in);
    options.end = bytes(in);
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray name(rest.data(), static_cast<qsizetype>(rest.size()));
    const std::optional<QByteArray> result = computeNewName(name, options);
    if (result && *result != name && !isUsableName(*result))
        std::abort();
    (void)extensionStepName(name, options);
    (void)nameStepName(name, options);
    (void)isAllowedInName(name);
    return 0;
}
