#include "platform/photodate.h"

#include "common/datefinder.h"
#include "common/pathpieces.h"

#include <exiv2/exiv2.hpp>

#include <filesystem>
#include <mutex>
#include <system_error>

namespace kelvoro::platform {

namespace {

// Seconds from 1904-01-01, the movie header's epoch, to 1970-01-01.
constexpr std::int64_t kQuickTimeEpoch = 2082844800;

std::mutex g_xmpLock;

void lockXmp(void*, bool lock) {
    if (lock)
        g_xmpLock.lock();
    else
        g_xmpLock.unlock();
}

// The XMP toolkit must be set up once, before threads use it; exiv2 would otherwise do it
// lazily and unsafely. Its warnings about damaged files are not ours to print.
void setUpExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize(lockXmp, nullptr);
    });
}

std::string exifText(const Exiv2::ExifData& exif, const char* key) {
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    return it == exif.end() ? std::string() : it->toString();
}

std::optional<std::int64_t> exifDate(const Exiv2::ExifData& exif) {
    static constexpr std::pair<const char*, const char*> kTags[] = {
        {"Exif.Photo.DateTimeOriginal", "Exif.Photo.OffsetTimeOriginal"},
        {"Exif.Photo.DateTimeDigitized", "Exif.Photo.OffsetTimeDigitized"},
        {"Exif.Image.DateTime", "Exif.Photo.OffsetTime"},
    };
    for (const auto& [dateKey, offsetKey] : kTags) {
        const std::optional<LocalFields> fields = parseExifDateTime(exifText(exif, dateKey));
        if (fields)
            return fieldsToTime(*fields, parseUtcOffset(exifText(exif, offsetKey)));
    }
    return std::nullopt;
}

std::optional<std::int64_t> movieDate(const Exiv2::XmpData& xmp) {
    const auto it = xmp.findKey(Exiv2::XmpKey("Xmp.video.DateUTC"));
    if (it == xmp.end())
        return std::nullopt;
    const std::string text = it->toString();
    std::int64_t seconds = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || seconds > (INT64_MAX - 9) / 10)
            return std::nullopt;
        seconds = seconds * 10 + (c - '0');
    }
    // Zero is how a header says "not set".
    if (text.empty() || seconds == 0)
        return std::nullopt;
    return seconds - kQuickTimeEpoch;
}

} // namespace

std::optional<std::int64_t> readPhotoDate(const std::string& path) {
    if (!isUsablePath(path))
        return std::nullopt;
    std::error_code ec;
    // Opening a FIFO or a device would block or read forever.
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), ec))
        return std::nullopt;
    setUpExiv2();
    try {
        const auto image = Exiv2::ImageFactory::open(path);
        if (!image.get())
            return std::nullopt;
        image->readMetadata();
        if (auto date = exifDate(image->exifData()))
            return date;
        return movieDate(image->xmpData());
    } catch (...) {
        // exiv2 throws for files it does not know or cannot parse: such a file has no date.
        return std::nullopt;
    }
}

} // namespace kelvoro::platform
