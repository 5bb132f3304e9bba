// The settings file: any content reads without harm, and a value written into it reads back,
// with the rest of the file and its line endings left as they were.
#include "platform/ini.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

using kelvoro::platform::IniFile;

namespace {

std::string g_path;

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string g_directory;

void removeFiles() {
    ::unlink(g_path.c_str());
    ::rmdir(g_directory.c_str());
}

} // namespace

// In memory where there is a tmpfs: each write syncs the file.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char shm[] = "/dev/shm/kelvoro-fuzz-ini-XXXXXX";
    char tmp[] = "/tmp/kelvoro-fuzz-ini-XXXXXX";
    const char* directory = ::mkdtemp(shm);
    if (directory == nullptr)
        directory = ::mkdtemp(tmp);
    if (directory == nullptr)
        std::abort();
    g_directory = directory;
    g_path = g_directory + "/quib.ini";
    std::atexit(removeFiles);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string before(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream out(g_path, std::ios::binary | std::ios::trunc);
        out << before;
    }
    IniFile ini(g_path);
    for (const char* key : {"0", "1", "8", "", "="})
        (void)ini.getInt("column", key, 7);
    (void)ini.getString("", "", "fallback", 0);
    if (!ini.setStrings("column", {{"0", "123"}, {"8", "4 5"}}))
        std::abort();
    if (ini.getInt("column", "0", -1) != 123 || ini.getString("column", "8", "", 64) != "4 5")
        std::abort();
    // Writing the same values again changes nothing more.
    const std::string once = contentOf(g_path);
    if (!ini.setStrings("column", {{"0", "123"}, {"8", "4 5"}}) || contentOf(g_path) != once)
        std::abort();
    return 0;
}
