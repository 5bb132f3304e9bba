// The rename rule: any options, position and name give either nothing, the name unchanged, or
// a name a move can use; every step is handed a name and none is handed twice the same way.
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
    options.regularExpression = in.ConsumeBool();
    options.ignoreCase = in.ConsumeBool();
    options.numbering.enabled = in.ConsumeBool();
    options.numbering.start = in.ConsumeIntegral<qint64>();
    options.numbering.step = in.ConsumeIntegral<qint64>();
    options.numbering.digits = in.ConsumeIntegralInRange(1, 19);
    options.numbering.position = static_cast<NumberPosition>(in.ConsumeIntegralInRange(0, 2));
    options.numbering.separator = bytes(in);
    options.numbering.base = bytes(in);
    options.letterCase = static_cast<LetterCase>(in.ConsumeIntegralInRange(0, 3));
    const qsizetype position = in.ConsumeIntegral<std::uint16_t>();
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray name(rest.data(), static_cast<qsizetype>(rest.size()));
    const std::optional<QByteArray> result = computeNewName(name, options, position);
    if (result && *result != name && !isUsableName(*result))
        std::abort();
    // Every step a real rename would move through, each refused: the name stays as it was.
    const std::optional<QByteArray> refused = runRenameSteps(
        name, options, position, [](RenameStep, const QByteArray&) { return false; });
    if (refused && *refused != name)
        std::abort();
    (void)isAllowedInName(name);
    return 0;
}
