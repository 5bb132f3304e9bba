#include "platform/photodate.h"

#include "common/datefinder.h"
#include "common/pathpieces.h"
#include "platform/linux/uniquefd.h"

#include <exiv2/exiv2.hpp>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <cerrno>
#include <mutex>

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

// The file's bytes, mapped read-only. Reading them leaves the access time as it was where the
// kernel lets us (our own files, or as root): the times are what the user is here to set.
class MappedFile {
public:
    explicit MappedFile(const std::string& path) {
        constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
        linuxos::UniqueFd fd(::open(path.c_str(), kFlags | O_NOATIME));
        if (!fd.valid() && errno == EPERM)
            fd.reset(::open(path.c_str(), kFlags));
        struct stat st {};
        // A FIFO or a device would block or read forever.
        if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0)
            return;
        void* data = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE,
                            fd.get(), 0);
        if (data == MAP_FAILED)
            return;
        m_data = static_cast<const Exiv2::byte*>(data);
        m_size = static_cast<std::size_t>(st.st_size);
    }
    ~MappedFile() {
        if (m_data)
            ::munmap(const_cast<Exiv2::byte*>(m_data), m_size);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    const Exiv2::byte* data() const { return m_data; }
    long size() const { return static_cast<long>(m_size); }

private:
    const Exiv2::byte* m_data = nullptr;
    std::size_t m_size = 0;
};

} // namespace

std::optional<std::int64_t> readPhotoDate(const std::string& path) {
    if (!isUsablePath(path))
        return std::nullopt;
    const MappedFile file(path);
    if (!file.data())
        return std::nullopt;
    setUpExiv2();
    try {
        // exiv2 reads from the mapping without copying it.
        const auto image = Exiv2::ImageFactory::open(file.data(), file.size());
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
