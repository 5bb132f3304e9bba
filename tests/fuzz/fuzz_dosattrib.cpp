// The user.DOSATTRIB decoder: any bytes decode or are refused, and what decodes encodes to a
// blob that reads back the same, and whose encoding is stable.
#include "platform/dosattrib.h"

#include <cstdint>
#include <cstdlib>

using namespace kelvoro::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view blob(reinterpret_cast<const char*>(data), size);
    const std::optional<DosAttrib> read = decodeDosAttrib(blob);
    if (!read)
        return 0;
    const std::string written = encodeDosAttrib(*read);
    const std::optional<DosAttrib> back = decodeDosAttrib(written);
    if (!back || back->attributes != read->attributes || back->created != read->created)
        std::abort();
    if (encodeDosAttrib(*back) != written)
        std::abort();
    // A time set on top of what was read replaces it, to the second.
    if (read->created) {
        DosAttrib changed = *read;
        changed.created = *read->created / 2;
        const std::optional<DosAttrib> again = decodeDosAttrib(encodeDosAttrib(changed));
        if (!again || again->created != changed.created)
            std::abort();
    }
    return 0;
}
