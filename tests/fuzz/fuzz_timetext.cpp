// Time texts in three zones: a text that reads as a time reads the same after formatting, and
// any instant formats to a text that reads back as that instant (or, in the hour a fall-back
// repeats, the earlier one showing the same text) or is refused, never read as another time.
#include "common/timetext.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>

using namespace kelvoro;

namespace {

bool yearReadsBack(const std::string& text) {
    return text.size() == 19 && text[0] >= '0' && text[0] <= '9' && text.compare(0, 4, "0000") != 0;
}

void checkInstant(CalendarTime t) {
    const std::string text = formatTimeText(t);
    if (text.empty())
        return;
    const std::optional<CalendarTime> back = parseTimeText(text);
    if (!back) {
        if (yearReadsBack(text))
            std::abort();
        return;
    }
    if (*back != t && (*back > t || formatTimeText(*back) != text))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    static const char* const zones[] = {"TZ=Asia/Tokyo", "TZ=Europe/Berlin", "TZ=America/New_York"};
    ::putenv(const_cast<char*>(zones[in.ConsumeIntegralInRange<int>(0, 2)]));
    ::tzset();
    checkInstant(in.ConsumeIntegral<std::int64_t>());
    checkInstant(in.ConsumeIntegralInRange<std::int64_t>(-62135596800, 253402300799));
    const std::string text = in.ConsumeRemainingBytesAsString();
    if (const std::optional<CalendarTime> t = parseTimeText(text)) {
        const std::string canonical = formatTimeText(*t);
        if (yearReadsBack(canonical) && parseTimeText(canonical) != t)
            std::abort();
    }
    (void)timeTextFields(text);
    return 0;
}
