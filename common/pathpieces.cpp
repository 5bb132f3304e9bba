#include "common/pathpieces.h"

namespace kelvoro {

std::string_view directoryOf(std::string_view path) {
    const auto pos = path.rfind(kPathSeparator);
    return pos == std::string_view::npos ? std::string_view{} : path.substr(0, pos);
}

std::string_view nameOf(std::string_view path) {
    const auto pos = path.rfind(kPathSeparator);
    return pos == std::string_view::npos ? path : path.substr(pos + 1);
}

std::string_view titleOf(std::string_view name) {
    const auto pos = name.rfind('.');
    return pos == std::string_view::npos ? name : name.substr(0, pos);
}

std::string_view extensionOf(std::string_view name) {
    const auto pos = name.rfind('.');
    return pos == std::string_view::npos ? std::string_view{} : name.substr(pos + 1);
}

std::string joinPath(std::string_view directory, std::string_view name) {
    std::string path;
    path.reserve(directory.size() + 1 + name.size());
    path.append(directory);
    path.push_back(kPathSeparator);
    path.append(name);
    return path;
}

bool isUsablePath(std::string_view path) {
    return !path.empty() && path.find('\0') == std::string_view::npos;
}

} // namespace kelvoro
