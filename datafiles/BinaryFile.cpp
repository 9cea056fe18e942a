#include "datafiles/BinaryFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lm {

BinaryFile::~BinaryFile()
{
    Close();
}

void BinaryFile::AllocateBuffer()
{
    storage_.resize(kBufferSize);
    buf_ = storage_.data();
    bufCapacity_ = kBufferSize;
}

bool BinaryFile::Open(const std::string& path, Mode mode)
{
    Close();
    if (mode == Mode::Read)
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    else
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0)
        return false;
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        errno = EISDIR;
        return false;
    }
    mode_ = mode == Mode::Read ? Kind::FileRead : Kind::FileWrite;
    readSize_ = uint64_t(st.st_size);
    AllocateBuffer();
    bufPos_ = bufLen_ = 0;
    bufStart_ = 0;
    failed_ = false;
    return true;
}

void BinaryFile::OpenMemory(const uint8_t* data, size_t size)
{
    Close();
    mode_ = Kind::MemoryRead;
    buf_ = const_cast<uint8_t*>(data); // never written in this mode
    bufCapacity_ = bufLen_ = size;
    bufPos_ = 0;
    bufStart_ = 0;
    failed_ = false;
}

void BinaryFile::OpenMemoryWrite(std::vector<uint8_t>& target)
{
    Close();
    mode_ = Kind::MemoryWrite;
    memoryTarget_ = &target;
    target.clear();
    buf_ = nullptr;
    bufCapacity_ = bufLen_ = bufPos_ = 0;
    bufStart_ = 0;
    failed_ = false;
}

bool BinaryFile::Close()
{
    if (mode_ == Kind::Closed)
        return true;
    bool ok = Flush() && !failed_;
    if (fd_ >= 0) {
        if (::close(fd_) != 0)
            ok = false;
        fd_ = -1;
    }
    mode_ = Kind::Closed;
    storage_.clear();
    storage_.shrink_to_fit();
    buf_ = nullptr;
    memoryTarget_ = nullptr;
    bufCapacity_ = bufLen_ = bufPos_ = 0;
    bufStart_ = 0;
    return ok;
}

bool BinaryFile::Refill()
{
    // Only for FileRead: drop the consumed buffer and read the next block.
    bufStart_ += bufPos_;
    bufPos_ = 0;
    bufLen_ = 0;
    for (;;) {
        const ssize_t got = ::pread(fd_, buf_, bufCapacity_, off_t(bufStart_));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bufLen_ = size_t(got);
        return true;
    }
}

size_t BinaryFile::ReadSlow(uint8_t* dst, size_t n)
{
    if (mode_ == Kind::MemoryRead) {
        const size_t avail = bufLen_ > bufPos_ ? bufLen_ - bufPos_ : 0;
        const size_t take = std::min(avail, n);
        if (take > 0) // an empty memory stream has no buffer at all
            std::memcpy(dst, buf_ + bufPos_, take);
        bufPos_ += take;
        return take;
    }
    if (mode_ != Kind::FileRead)
        return 0;
    size_t done = 0;
    while (done < n) {
        const size_t avail = bufLen_ > bufPos_ ? bufLen_ - bufPos_ : 0;
        if (avail > 0) {
            const size_t take = std::min(avail, n - done);
            std::memcpy(dst + done, buf_ + bufPos_, take);
            bufPos_ += take;
            done += take;
            continue;
        }
        if (!Refill())
            break;
    }
    return done;
}

int BinaryFile::PeekSlow()
{
    uint8_t byte = 0;
    if (Read(&byte, 1) != 1)
        return -1;
    Seek(Tell() - 1); // within the block just read
    return byte;
}

size_t BinaryFile::WriteSlow(const uint8_t* src, size_t n)
{
    if (mode_ == Kind::MemoryWrite) {
        auto& target = *memoryTarget_;
        const uint64_t pos = bufStart_;
        if (pos + n > target.size())
            target.resize(size_t(pos + n));
        if (n)
            std::memcpy(target.data() + pos, src, n);
        bufStart_ += n;
        return n;
    }
    if (mode_ != Kind::FileWrite) {
        failed_ = true;
        return 0;
    }
    if (!Flush())
        return 0;
    if (n >= bufCapacity_) {
        size_t done = 0;
        while (done < n) {
            const ssize_t put = ::pwrite(fd_, src + done, n - done, off_t(bufStart_ + done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                failed_ = true;
                break;
            }
            done += size_t(put);
        }
        bufStart_ += done;
        return done;
    }
    std::memcpy(buf_, src, n);
    bufPos_ = bufLen_ = n;
    return n;
}

bool BinaryFile::Flush()
{
    if (mode_ != Kind::FileWrite || bufLen_ == 0)
        return !failed_;
    size_t done = 0;
    while (done < bufLen_) {
        const ssize_t put = ::pwrite(fd_, buf_ + done, bufLen_ - done, off_t(bufStart_ + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            failed_ = true;
            break;
        }
        done += size_t(put);
    }
    bufStart_ += bufPos_;
    bufPos_ = bufLen_ = 0;
    return !failed_;
}

bool BinaryFile::Seek(uint64_t offset)
{
    switch (mode_) {
    case Kind::Closed:
        return false;
    case Kind::MemoryRead:
        // Positions past the end are allowed; reads there simply answer nothing.
        if (offset > bufLen_) {
            bufPos_ = bufLen_;
            bufStart_ = offset - bufLen_;
        } else {
            bufStart_ = 0;
            bufPos_ = size_t(offset);
        }
        return true;
    case Kind::MemoryWrite:
        bufStart_ = offset;
        return true;
    case Kind::FileRead:
        if (offset >= bufStart_ && offset <= bufStart_ + bufLen_) {
            bufPos_ = size_t(offset - bufStart_);
        } else {
            bufStart_ = offset;
            bufPos_ = bufLen_ = 0;
        }
        return true;
    case Kind::FileWrite:
        if (!Flush())
            return false;
        bufStart_ = offset;
        return true;
    }
    return false;
}

bool BinaryFile::Skip(uint64_t n)
{
    const uint64_t target = Tell() + n;
    if (target > Size()) {
        Seek(Size());
        return false;
    }
    return Seek(target);
}

size_t BinaryFile::ReadAt(uint64_t offset, void* dst, size_t n)
{
    const uint64_t saved = Tell();
    Seek(offset);
    const size_t got = Read(dst, n);
    Seek(saved);
    return got;
}

uint64_t BinaryFile::Size()
{
    switch (mode_) {
    case Kind::Closed:
        return 0;
    case Kind::MemoryRead:
        return bufLen_;
    case Kind::MemoryWrite:
        return memoryTarget_->size();
    case Kind::FileRead:
        return readSize_;
    case Kind::FileWrite: {
        struct stat st {};
        if (::fstat(fd_, &st) != 0)
            return 0;
        uint64_t size = uint64_t(st.st_size);
        if (mode_ == Kind::FileWrite)
            size = std::max<uint64_t>(size, bufStart_ + bufLen_);
        return size;
    }
    }
    return 0;
}

} // namespace lm
