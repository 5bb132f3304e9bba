// Photo and video dates through exiv2, from a file that lives only in memory.
#include "platform/photodate.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = ::memfd_create("photo", MFD_CLOEXEC);
    if (fd < 0)
        std::abort();
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd, data + written, size - written);
        if (n <= 0)
            std::abort();
        written += static_cast<std::size_t>(n);
    }
    (void)kelvoro::platform::readPhotoDate("/proc/self/fd/" + std::to_string(fd));
    ::close(fd);
    return 0;
}
