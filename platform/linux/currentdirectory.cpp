#include "platform/currentdirectory.h"

#include <cerrno>
#include <unistd.h>

namespace kelvoro::platform {

std::optional<std::string> currentDirectory() {
    // Longer than PATH_MAX is possible: the buffer grows until the whole path fits.
    std::string buffer(4096, '\0');
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
            buffer.resize(std::char_traits<char>::length(buffer.c_str()));
            // "(unreachable)/..." names a directory outside this process's root.
            if (buffer.empty() || buffer.front() != '/')
                return std::nullopt;
            return buffer;
        }
        if (errno != ERANGE || buffer.size() >= (std::size_t(1) << 24))
            return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace kelvoro::platform
