#include "datafiles/TempFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace lm {

std::string CreateTempFileBeside(const std::string& target)
{
    namespace fs = std::filesystem;
    fs::path folder = fs::path(target).parent_path();
    if (folder.empty())
        folder = ".";
    const std::string base = "." + fs::path(target).filename().string() + ".";
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const uint64_t seed = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                              (uint64_t(::getpid()) << 32) ^ (uint64_t(counter++) * 0x9E3779B97F4A7C15ull);
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, "%012llx.tmp", (unsigned long long)(seed & 0xFFFFFFFFFFFFull));
        const std::string path = (folder / (base + suffix)).string();
        // O_EXCL: never take over a file that exists; the mode passes through the umask like
        // that of any file the user creates.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST)
            return {};
    }
    errno = EEXIST;
    return {};
}

} // namespace lm
