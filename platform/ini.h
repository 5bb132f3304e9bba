#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvoro::platform {

// A small private-profile file: "[section]" headers and "key=value" lines. Section and key
// names match without regard to ASCII case. Writing keeps every other section, key, comment
// and blank line as it was.
class IniFile {
public:
    explicit IniFile(std::string path) : m_path(std::move(path)) {}

    const std::string& path() const { return m_path; }

    // The value, cut to size - 1 bytes like a buffer of size bytes; fallback when the file,
    // section or key is missing (also cut).
    std::string getString(std::string_view section, std::string_view key, std::string_view fallback,
                          std::size_t size) const;

    // getString through an 8-byte buffer, converted with atoi: "abc" gives 0,
    // "12345678" gives 1234567.
    int getInt(std::string_view section, std::string_view key, int fallback) const;

    // False when the file cannot be written; the old file then stays as it was.
    bool setString(std::string_view section, std::string_view key, std::string_view value);
    // Every key of one section in one write: a new file is made beside the old one, under a
    // name no other process can have planted, and renamed over it once it is complete. A file
    // reached through a symbolic link is replaced where the link points; its permissions and
    // each line's ending stay as they were.
    bool setStrings(std::string_view section,
                    const std::vector<std::pair<std::string, std::string>>& values);

private:
    std::string m_path;
};

} // namespace kelvoro::platform
