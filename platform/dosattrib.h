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
};

// Reads versions 3, 4 and 5 and the bare "0x…" string; nothing for what it cannot read.
std::optional<DosAttrib> decodeDosAttrib(std::string_view blob);

// Version 3, byte for byte as Samba writes it; every Samba since 3.5 and Wine read it.
std::string encodeDosAttrib(const DosAttrib& info);

std::int64_t unixFromNtTime(std::uint64_t nt);
std::uint64_t ntTimeFromUnix(std::int64_t seconds);

} // namespace kelvoro::platform
