#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvoro::platform {

// The DOS attribute blob Samba keeps in the extended attribute "user.DOSATTRIB"
// (and Wine in the same place, as a bare hex string).
struct DosAttrib {
    std::uint32_t attributes = 0;
    std::optional<std::int64_t> created; // seconds since the epoch
    // The create-time field as it was read (when marked valid). While created still names
    // its second, or it holds a time that cannot be shown, it is written back as it was.
    std::optional<std::uint64_t> storedCreateTime = std::nullopt;
};

// Reads versions 3, 4 and 5 and the bare "0x…" string; nothing for what it cannot read.
std::optional<DosAttrib> decodeDosAttrib(std::string_view blob);

// Version 3, byte for byte as Samba writes it; every Samba since 3.5 and Wine read it.
std::string encodeDosAttrib(const DosAttrib& info);

// Seconds since the epoch, rounded down; nothing for a time past what Windows can store
// (the top bit set), which no system here could mean.
std::optional<std::int64_t> unixFromNtTime(std::uint64_t nt);
// For a time from 1601 to the largest unixFromNtTime gives; the first second after 1601
// is stored as its first 100 ns, since 0 means "no time".
std::uint64_t ntTimeFromUnix(std::int64_t seconds);

} // namespace kelvoro::platform
