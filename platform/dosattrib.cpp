#include "platform/dosattrib.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace kelvoro::platform {

namespace {

constexpr std::uint64_t kNtEpochOffset = 116444736000000000ULL; // 1601 → 1970 in 100 ns
constexpr std::uint64_t kNtPerSecond = 10000000ULL;
constexpr std::uint32_t kValidAttrib = 0x01;
constexpr std::uint32_t kValidCreateTime = 0x10;

class Reader {
public:
    explicit Reader(std::string_view data) : m_data(data) {}

    bool align(std::size_t n) {
        m_pos = (m_pos + n - 1) / n * n;
        return m_pos <= m_data.size();
    }
    template <typename T> std::optional<T> get() {
        if (m_pos + sizeof(T) > m_data.size())
            return std::nullopt;
        T value = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            value |= static_cast<T>(static_cast<unsigned char>(m_data[m_pos + i])) << (8 * i);
        m_pos += sizeof(T);
        return value;
    }
    bool skip(std::size_t n) {
        m_pos += n;
        return m_pos <= m_data.size();
    }
    std::size_t pos() const { return m_pos; }
    void seek(std::size_t pos) { m_pos = pos; }

private:
    std::string_view m_data;
    std::size_t m_pos = 0;
};

class Writer {
public:
    void align(std::size_t n) {
        while (m_data.size() % n != 0)
            m_data.push_back('\0');
    }
    template <typename T> void put(T value) {
        for (std::size_t i = 0; i < sizeof(T); ++i)
            m_data.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    void putString(const std::string& s) {
        m_data.append(s);
        m_data.push_back('\0');
    }
    std::string take() { return std::move(m_data); }

private:
    std::string m_data;
};

std::optional<std::uint32_t> parseHexString(std::string_view text) {
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
        return std::nullopt;
    std::string digits(text.substr(2));
    char* end = nullptr;
    const unsigned long value = std::strtoul(digits.c_str(), &end, 16);
    if (end == digits.c_str() || *end != '\0')
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

constexpr std::uint64_t kLatestNt = static_cast<std::uint64_t>(INT64_MAX);

} // namespace

std::optional<std::int64_t> unixFromNtTime(std::uint64_t nt) {
    if (nt > kLatestNt)
        return std::nullopt;
    // In unsigned arithmetic, which cannot overflow; floor, so times before 1970 do not
    // round towards the epoch.
    if (nt >= kNtEpochOffset)
        return static_cast<std::int64_t>((nt - kNtEpochOffset) / kNtPerSecond);
    return -static_cast<std::int64_t>((kNtEpochOffset - nt + kNtPerSecond - 1) / kNtPerSecond);
}

std::uint64_t ntTimeFromUnix(std::int64_t seconds) {
    constexpr std::int64_t earliest = -static_cast<std::int64_t>(kNtEpochOffset / kNtPerSecond);
    constexpr std::int64_t latest =
        static_cast<std::int64_t>((kLatestNt - kNtEpochOffset) / kNtPerSecond);
    if (seconds <= earliest)
        return 1;
    if (seconds >= latest)
        return kNtEpochOffset + static_cast<std::uint64_t>(latest) * kNtPerSecond;
    return static_cast<std::uint64_t>(seconds - earliest) * kNtPerSecond;
}

namespace {

std::optional<std::int64_t> createdFrom(std::uint32_t validFlags, std::uint64_t nt) {
    if ((validFlags & kValidCreateTime) == 0 || nt == 0)
        return std::nullopt;
    return unixFromNtTime(nt);
}

// The create-time field to write: the one read while it still stands for the time given, or
// for a time that could not be read; otherwise the time given, or none.
std::optional<std::uint64_t> createTimeField(const DosAttrib& info) {
    const std::optional<std::uint64_t>& stored = info.storedCreateTime;
    if (stored && createdFrom(kValidCreateTime, *stored) == info.created)
        return stored;
    if (info.created)
        return ntTimeFromUnix(*info.created);
    return std::nullopt;
}

} // namespace

std::optional<DosAttrib> decodeDosAttrib(std::string_view blob) {
    const auto nul = blob.find('\0');
    const std::string_view text = blob.substr(0, nul);
    const std::optional<std::uint32_t> fromText = parseHexString(text);
    if (nul == std::string_view::npos) {
        // Wine writes the hex string alone.
        if (!fromText)
            return std::nullopt;
        return DosAttrib{*fromText, std::nullopt};
    }

    Reader r(blob);
    r.seek(nul + 1);
    r.align(2);
    const auto version = r.get<std::uint16_t>();
    const auto level = r.get<std::uint16_t>();
    // A blob whose binary part does not parse is not trusted at all, as Samba does.
    if (!version || !level || *version != *level || !r.align(4))
        return std::nullopt;
    const auto valid = r.get<std::uint32_t>();
    const auto attrib = r.get<std::uint32_t>();
    if (!valid || !attrib)
        return std::nullopt;

    std::optional<std::uint64_t> created;
    switch (*version) {
    case 3:
        // ea_size, size, alloc_size come before the creation time.
        if (r.skip(4 + 8 + 8))
            created = r.get<std::uint64_t>();
        break;
    case 4:
        if (r.skip(8)) // itime
            created = r.get<std::uint64_t>();
        break;
    case 5:
        created = r.get<std::uint64_t>();
        break;
    default:
        return std::nullopt;
    }
    if (!created)
        return std::nullopt;

    DosAttrib info;
    if (*valid & kValidAttrib)
        info.attributes = *attrib;
    else if (fromText)
        info.attributes = *fromText;
    info.created = createdFrom(*valid, *created);
    if (*valid & kValidCreateTime)
        info.storedCreateTime = *created;
    return info;
}

std::string encodeDosAttrib(const DosAttrib& info) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", info.attributes);
    Writer w;
    w.putString(text);
    w.align(2);
    w.put<std::uint16_t>(3);
    w.put<std::uint16_t>(3);
    w.align(4);
    const std::optional<std::uint64_t> createTime = createTimeField(info);
    w.put<std::uint32_t>(kValidAttrib | (createTime ? kValidCreateTime : 0));
    w.put<std::uint32_t>(info.attributes);
    w.put<std::uint32_t>(0);                      // ea_size
    w.put<std::uint64_t>(0);                      // size
    w.put<std::uint64_t>(0);                      // alloc_size
    w.put<std::uint64_t>(createTime.value_or(0)); // create_time
    w.put<std::uint64_t>(0);                      // change_time
    return w.take();
}

} // namespace kelvoro::platform
