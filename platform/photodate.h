#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelvoro::platform {

// When the photo or video at `path` (native bytes) was taken, in seconds since the epoch, as
// its metadata says: Exif DateTimeOriginal, else DateTimeDigitized, else the image's DateTime,
// each at its Exif offset when one is recorded and otherwise in local time; for a video whose
// Exif is empty, its movie header's creation time (UTC). Nothing for a file without such a
// date, one that is not a regular file or one that cannot be read. Never throws; safe to call
// from several threads at once.
std::optional<std::int64_t> readPhotoDate(const std::string& path);

} // namespace kelvoro::platform
