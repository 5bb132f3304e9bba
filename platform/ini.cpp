#include "platform/ini.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <vector>

namespace kelvoro::platform {

namespace {

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trim(line.substr(1, close - 1));
}

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyValue> keyValue(std::string_view line) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    std::string_view value = trim(line.substr(eq + 1));
    if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                              (value.front() == '\'' && value.back() == '\'')))
        value = value.substr(1, value.size() - 2);
    return KeyValue{trim(line.substr(0, eq)), value};
}

// One line with the ending it had ("\r\n", "\n", or none at the end of the file).
struct Line {
    std::string text;
    std::string ending;
};

std::vector<Line> readLines(const std::string& path) {
    std::vector<Line> lines;
    std::ifstream in(path, std::ios::binary);
    std::string text;
    while (std::getline(in, text)) {
        std::string ending = in.eof() ? "" : "\n";
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
            ending.insert(0, "\r");
        }
        lines.push_back({std::move(text), std::move(ending)});
    }
    return lines;
}

// Replaces the key's line in the section, or adds one after the section's last entry (and
// the section at the end when it is missing).
void setLine(std::vector<Line>& lines, std::string_view section, std::string_view key,
             std::string_view value, const std::string& ending) {
    Line newLine{std::string(key) + "=" + std::string(value), ending};
    std::optional<std::size_t> sectionStart;
    std::size_t insertAt = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionName(lines[i].text)) {
            if (sectionStart)
                break;
            if (sameName(*name, section)) {
                sectionStart = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (!sectionStart)
            continue;
        if (const auto kv = keyValue(lines[i].text); kv && sameName(kv->key, key)) {
            lines[i].text = std::move(newLine.text);
            return;
        }
        if (!trim(lines[i].text).empty())
            insertAt = i + 1;
    }
    if (sectionStart) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(newLine));
        return;
    }
    lines.push_back({"[" + std::string(section) + "]", ending});
    lines.push_back(std::move(newLine));
}

// QSaveFile makes its temporary file exclusively beside the target (following a symbolic
// link to it), keeps the target's permissions and renames only after a complete write.
bool writeLines(const std::string& path, const std::vector<Line>& lines) {
    QSaveFile out(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const Line& line : lines) {
        bytes.append(line.text.data(), static_cast<qsizetype>(line.text.size()));
        bytes.append(line.ending.data(), static_cast<qsizetype>(line.ending.size()));
    }
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

std::string cut(std::string_view s, std::size_t size) {
    return std::string(s.substr(0, size == 0 ? 0 : std::min(s.size(), size - 1)));
}

} // namespace

std::string IniFile::getString(std::string_view section, std::string_view key,
                               std::string_view fallback, std::size_t size) const {
    bool inSection = false;
    for (const auto& [line, ending] : readLines(m_path)) {
        if (const auto name = sectionName(line)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (const auto kv = keyValue(line); kv && sameName(kv->key, key))
            return cut(kv->value, size);
    }
    return cut(fallback, size);
}

int IniFile::getInt(std::string_view section, std::string_view key, int fallback) const {
    const std::string text = getString(section, key, std::to_string(fallback), 8);
    return std::atoi(text.c_str());
}

bool IniFile::setString(std::string_view section, std::string_view key, std::string_view value) {
    return setStrings(section, {{std::string(key), std::string(value)}});
}

bool IniFile::setStrings(std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& values) {
    std::vector<Line> lines = readLines(m_path);
    // New lines end like the file's first line; a new file ends its lines as it always has.
    const auto isBreak = [](const Line& line) { return line.ending.ends_with('\n'); };
    const std::string ending =
        !lines.empty() && isBreak(lines.front()) ? lines.front().ending : "\n";
    // A file that ended without a line break still does.
    const bool openEnd = !lines.empty() && !isBreak(lines.back());
    const std::string tail = openEnd ? lines.back().ending : std::string();
    if (openEnd)
        lines.back().ending = ending;
    for (const auto& [key, value] : values)
        setLine(lines, section, key, value, ending);
    if (openEnd)
        lines.back().ending = tail;
    return writeLines(m_path, lines);
}

} // namespace kelvoro::platform
