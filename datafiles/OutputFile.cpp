#include "datafiles/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace lm {

namespace {

std::string Describe(OutputFault fault, const std::string& path, int error)
{
    std::string text;
    switch (fault) {
    case OutputFault::NotRegular:
        text = "'" + path + "' is not a regular file; only regular files are replaced";
        break;
    case OutputFault::FolderMissing:
        text = "the folder of '" + path + "' does not exist";
        break;
    case OutputFault::FolderNotWritable:
        text = "no file can be created in the folder of '" + path + "'";
        break;
    case OutputFault::CannotCreate:
        text = "cannot create a file beside '" + path + "'";
        break;
    case OutputFault::CannotReplace:
        text = "cannot write '" + path + "'";
        break;
    case OutputFault::Taken:
        text = "'" + path + "' already exists and is not replaced";
        break;
    }
    if (error != 0)
        text += std::string(" (") + std::strerror(error) + ")";
    return text;
}

std::string FolderOf(const std::string& path)
{
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// The temporary file could not be made: say what is wrong with the folder.
[[noreturn]] void ThrowCreateFault(const std::string& target, int error)
{
    if (error == ENOENT || error == ENOTDIR)
        throw EOutputFile(OutputFault::FolderMissing, target, 0);
    if (error == EACCES || error == EPERM || error == EROFS)
        throw EOutputFile(OutputFault::FolderNotWritable, target, error);
    throw EOutputFile(OutputFault::CannotCreate, target, error);
}

// Copies the bytes of `from` into the (empty, open) file `to`, then flushes it.
bool CopyBytes(int from, int to)
{
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(to, buffer + done, size_t(n - done));
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            done += w;
        }
    }
    return ::fsync(to) == 0;
}

} // namespace

EOutputFile::EOutputFile(OutputFault fault, std::string path, int error)
    : std::runtime_error(Describe(fault, path, error)), fault_(fault), path_(std::move(path)), error_(error)
{
}

std::string ResolveOutputTarget(const std::string& target)
{
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0)
        return target; // a new name (a missing folder shows when the file is created)
    if (S_ISREG(st.st_mode))
        return target;
    if (S_ISLNK(st.st_mode)) {
        struct stat linked {};
        if (::stat(target.c_str(), &linked) == 0 && S_ISREG(linked.st_mode)) {
            std::error_code ec;
            const fs::path real = fs::canonical(target, ec);
            if (!ec)
                return real.string();
        }
    }
    throw EOutputFile(OutputFault::NotRegular, target, 0);
}

OutputFile::OutputFile(const std::string& target) : target_(ResolveOutputTarget(target))
{
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0) {
        replaces_ = true;
        mode_ = st.st_mode & 07777;
        group_ = st.st_gid;
    }
    temp_ = TempFileBeside(target_);
    if (!temp_)
        ThrowCreateFault(target_, errno);
}

void OutputFile::Commit()
{
    const int fd = ::open(temp_.path().c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        throw EOutputFile(OutputFault::CannotReplace, target_, errno);
    bool ok = ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (ok && replaces_) {
        // The group first: changing it may clear set-id bits that the mode then restores.
        if (::fchown(fd, uid_t(-1), group_) != 0) {
            // Not a member of that group: the file keeps the user's own.
        }
        if (::fchmod(fd, mode_) != 0) {
            ok = false;
            error = errno;
        }
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok)
        throw EOutputFile(OutputFault::CannotReplace, target_, error);
    if (std::rename(temp_.path().c_str(), target_.c_str()) != 0)
        throw EOutputFile(OutputFault::CannotReplace, target_, errno);
    temp_.Release();
    SyncFolderOf(target_);
}

void PlaceBackup(const std::string& source, const std::string& backup, bool replace)
{
    struct stat st {};
    const bool taken = ::lstat(backup.c_str(), &st) == 0;
    if (taken && !replace)
        throw EOutputFile(OutputFault::Taken, backup, 0);
    if (taken && !S_ISREG(st.st_mode))
        throw EOutputFile(OutputFault::NotRegular, backup, 0);

    if (!replace) {
        // A link never replaces: a backup that appeared meanwhile is refused all the same. A
        // source given by a symbolic link is linked as the file it names.
        if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, backup.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            SyncFolderOf(backup);
            return;
        }
        if (errno == EEXIST)
            throw EOutputFile(OutputFault::Taken, backup, 0);
    }

    // Made under a temporary name, then renamed into place.
    TempFileBeside made;
    for (int attempt = 0; attempt < 100 && !made; ++attempt) {
        const std::string name = TempNameBeside(backup);
        RemoveOnSignal(name);
        if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            made = TempFileBeside::Adopt(name);
            break;
        }
        const int error = errno;
        KeepOnSignal(name);
        if (error != EEXIST)
            break;
    }
    if (!made) {
        // No hard links here: a copy of the bytes.
        made = TempFileBeside(backup);
        if (!made)
            ThrowCreateFault(backup, errno);
        const int from = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
        const int to = ::open(made.path().c_str(), O_WRONLY | O_CLOEXEC);
        struct stat sourceStat {};
        bool ok = from >= 0 && to >= 0 && ::fstat(from, &sourceStat) == 0 && CopyBytes(from, to);
        int error = ok ? 0 : errno;
        if (ok && ::fchmod(to, sourceStat.st_mode & 07777) != 0) {
            ok = false;
            error = errno;
        }
        if (from >= 0)
            ::close(from);
        if (to >= 0 && ::close(to) != 0 && ok) {
            ok = false;
            error = errno;
        }
        if (!ok)
            throw EOutputFile(OutputFault::CannotReplace, backup, error);
    }
    if (!replace && ::lstat(backup.c_str(), &st) == 0)
        throw EOutputFile(OutputFault::Taken, backup, 0);
    if (std::rename(made.path().c_str(), backup.c_str()) != 0)
        throw EOutputFile(OutputFault::CannotReplace, backup, errno);
    made.Release();
    SyncFolderOf(backup);
}

void SyncFolderOf(const std::string& path)
{
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace lm
