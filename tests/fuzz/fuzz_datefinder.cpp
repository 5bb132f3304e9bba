// Dates in file names and Exif texts: what is found is a real date and time.
#include "common/datefinder.h"

#include <cstdint>
#include <cstdlib>

using namespace kelvoro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::optional<LocalFields>& fields :
         {findDateInName(text), parseExifDateTime(text)}) {
        if (!fields)
            continue;
        if (!isValidDateTime(*fields))
            std::abort();
        (void)fieldsToTime(*fields, parseUtcOffset(text));
        (void)fieldsToTime(*fields, std::nullopt);
    }
    if (const std::optional<int> offset = parseUtcOffset(text))
        if (*offset < -24 * 3600 || *offset > 24 * 3600)
            std::abort();
    return 0;
}
