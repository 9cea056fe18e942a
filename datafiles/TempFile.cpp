#include "datafiles/TempFile.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace lm {

namespace {

fs::path FolderOf(const std::string& target)
{
    fs::path folder = fs::path(target).parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

std::string Prefix(const std::string& target)
{
    std::string prefix = ".";
    prefix += fs::path(target).filename().string();
    prefix += '.';
    return prefix;
}

std::string CandidateName(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    const uint64_t seed = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                          (uint64_t(counter++) * 0x9E3779B97F4A7C15ull);
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, "%ld-%012llx.tmp", long(::getpid()),
                  (unsigned long long)(seed & 0xFFFFFFFFFFFFull));
    return (FolderOf(target) / (Prefix(target) + suffix)).string();
}

// The process id in a temporary name of `prefix`, or 0 when the name is not of that form.
long ProcessOfTempName(const std::string& name, const std::string& prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return 0;
    size_t at = prefix.size();
    long pid = 0;
    size_t digits = 0;
    while (at < name.size() && name[at] >= '0' && name[at] <= '9' && digits < 10) {
        pid = pid * 10 + (name[at++] - '0');
        ++digits;
    }
    if (digits == 0 || at >= name.size() || name[at] != '-')
        return 0;
    ++at;
    size_t hex = 0;
    while (at < name.size() && std::isxdigit(static_cast<unsigned char>(name[at]))) {
        ++at;
        ++hex;
    }
    if (hex != 12 || name.compare(at, std::string::npos, ".tmp") != 0)
        return 0;
    return pid;
}

bool ProcessGone(long pid)
{
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// ---- removal on a signal ----
//
// The handler may only use async-signal-safe calls: the paths live in fixed slots, a slot
// is written before it is marked in use and unmarked before it is reused.

constexpr int kSignalSlots = 16;
constexpr size_t kPathMax = 4096;
char gSignalPaths[kSignalSlots][kPathMax];
std::atomic<int> gSignalSlotState[kSignalSlots]; // 0 free, 1 being written, 2 registered
std::mutex gSignalSlotMutex;

void RemoveRegisteredOnSignal(int signal)
{
    for (int i = 0; i < kSignalSlots; ++i)
        if (gSignalSlotState[i].load() == 2)
            ::unlink(gSignalPaths[i]);
    // End the process by the same signal, as it would have ended without us.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void InstallSignalHandlers()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction current {};
            if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
                (current.sa_flags & SA_SIGINFO))
                continue;
            struct sigaction action {};
            action.sa_handler = RemoveRegisteredOnSignal;
            sigemptyset(&action.sa_mask);
            for (int other : {SIGINT, SIGTERM, SIGHUP})
                sigaddset(&action.sa_mask, other);
            ::sigaction(signal, &action, nullptr);
        }
    });
}

} // namespace

std::string TempNameBeside(const std::string& target)
{
    return CandidateName(target);
}

namespace {

// With `removeOnSignal` the name is registered before the file is made, so that no signal
// can come between the two and leave the file behind.
std::string CreateTemp(const std::string& target, bool removeOnSignal)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = CandidateName(target);
        if (removeOnSignal)
            RemoveOnSignal(path);
        // O_EXCL: never take over a file that exists; the mode passes through the umask like
        // that of any file the user creates.
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        const int error = errno;
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (removeOnSignal)
            KeepOnSignal(path);
        errno = error;
        if (error != EEXIST)
            return {};
    }
    errno = EEXIST;
    return {};
}

} // namespace

std::string CreateTempFileBeside(const std::string& target)
{
    return CreateTemp(target, false);
}

int RemoveStaleTempFiles(const std::string& target)
{
    const std::string prefix = Prefix(target);
    std::error_code ec;
    fs::directory_iterator it(FolderOf(target), ec);
    int removed = 0;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const long pid = ProcessOfTempName(name, prefix);
        if (pid <= 0 || pid == long(::getpid()) || !ProcessGone(pid))
            continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (::unlink(it->path().c_str()) == 0)
            ++removed;
    }
    return removed;
}

void RemoveOnSignal(const std::string& path)
{
    if (path.empty() || path.size() >= kPathMax)
        return;
    InstallSignalHandlers();
    std::lock_guard<std::mutex> lock(gSignalSlotMutex);
    for (int i = 0; i < kSignalSlots; ++i) {
        if (gSignalSlotState[i].load() != 0)
            continue;
        gSignalSlotState[i].store(1);
        std::memcpy(gSignalPaths[i], path.c_str(), path.size() + 1);
        gSignalSlotState[i].store(2);
        return;
    }
}

void KeepOnSignal(const std::string& path)
{
    std::lock_guard<std::mutex> lock(gSignalSlotMutex);
    for (int i = 0; i < kSignalSlots; ++i)
        if (gSignalSlotState[i].load() == 2 && path == gSignalPaths[i])
            gSignalSlotState[i].store(0);
}

TempFileBeside::TempFileBeside(const std::string& target) : path_(CreateTemp(target, true)) {}

TempFileBeside TempFileBeside::Adopt(const std::string& path)
{
    TempFileBeside file;
    file.path_ = path;
    return file;
}

TempFileBeside& TempFileBeside::operator=(TempFileBeside&& other) noexcept
{
    if (this != &other) {
        Remove();
        path_ = std::move(other.path_);
        other.path_.clear();
    }
    return *this;
}

void TempFileBeside::Release()
{
    if (!path_.empty())
        KeepOnSignal(path_);
    path_.clear();
}

void TempFileBeside::Remove()
{
    if (path_.empty())
        return;
    ::unlink(path_.c_str());
    KeepOnSignal(path_);
    path_.clear();
}

} // namespace lm
