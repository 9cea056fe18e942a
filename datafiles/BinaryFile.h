#pragma once

// Buffered binary file stream the data-file classes work on. It reads and writes in large
// blocks so that walking a file record by record costs a memcpy per record, not a system
// call. It can also work on memory (tests, fuzzing): a read-only view of bytes, or a
// growing byte vector as write target.
//
// The stream is opened and closed by the caller; the format objects only use it.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace lm {

class BinaryFile {
public:
    enum class Mode { Read, Write };

    static constexpr size_t kBufferSize = 1 << 20;

    BinaryFile() = default;
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Opens a file; Write creates or truncates it. Answers false on failure (errno kept).
    bool Open(const std::string& path, Mode mode);
    // Reads from memory that must outlive the stream.
    void OpenMemory(const uint8_t* data, size_t size);
    // Writes into `target` (cleared first), which must outlive the stream.
    void OpenMemoryWrite(std::vector<uint8_t>& target);
    // Flushes and closes; answers false when any write failed or the close failed.
    bool Close();

    bool IsOpen() const { return mode_ != Kind::Closed; }
    bool IsWriting() const { return mode_ == Kind::FileWrite || mode_ == Kind::MemoryWrite; }
    // True once any write or flush has failed (sticky until Close).
    bool Failed() const { return failed_; }

    // Reads up to n bytes at the position; answers the number read (short at end of file).
    size_t Read(void* dst, size_t n)
    {
        if (bufLen_ - bufPos_ >= n && mode_ != Kind::FileWrite) {
            std::memcpy(dst, buf_ + bufPos_, n);
            bufPos_ += n;
            return n;
        }
        return ReadSlow(static_cast<uint8_t*>(dst), n);
    }
    bool ReadExact(void* dst, size_t n) { return Read(dst, n) == n; }
    // The next n bytes when the block buffer holds them all, without moving past them;
    // nullptr otherwise (then Read them). Valid until the next call on the stream.
    const uint8_t* Buffered(size_t n) const
    {
        return bufLen_ - bufPos_ >= n && mode_ != Kind::FileWrite ? buf_ + bufPos_ : nullptr;
    }
    // Moves past n bytes that Buffered(n) has shown.
    void Advance(size_t n) { bufPos_ += n; }
    // The byte at the position without moving past it; -1 at the end of the file.
    int PeekByte()
    {
        if (bufPos_ < bufLen_ && mode_ != Kind::FileWrite)
            return buf_[bufPos_];
        return PeekSlow();
    }
    // Moves the read position forward by n bytes; false when fewer than n bytes remain.
    bool Skip(uint64_t n);
    // Reads n bytes at `offset` and restores the position; answers the number read.
    size_t ReadAt(uint64_t offset, void* dst, size_t n);

    // Writes n bytes at the position (overwriting or extending the file).
    size_t Write(const void* src, size_t n)
    {
        if (mode_ == Kind::FileWrite && bufCapacity_ - bufPos_ >= n) {
            std::memcpy(buf_ + bufPos_, src, n);
            bufPos_ += n;
            if (bufPos_ > bufLen_)
                bufLen_ = bufPos_;
            return n;
        }
        return WriteSlow(static_cast<const uint8_t*>(src), n);
    }

    bool Seek(uint64_t offset);
    uint64_t Tell() const { return bufStart_ + bufPos_; }
    // Current size of the file (including buffered writes).
    uint64_t Size();
    bool Flush();

private:
    enum class Kind { Closed, FileRead, FileWrite, MemoryRead, MemoryWrite };

    size_t ReadSlow(uint8_t* dst, size_t n);
    int PeekSlow();
    size_t WriteSlow(const uint8_t* src, size_t n);
    bool Refill();
    void AllocateBuffer();

    Kind mode_ = Kind::Closed;
    int fd_ = -1;
    bool failed_ = false;
    uint8_t* buf_ = nullptr;       // block buffer, or the memory being read
    std::vector<uint8_t> storage_; // owns the block buffer of file modes
    std::vector<uint8_t>* memoryTarget_ = nullptr;
    size_t bufCapacity_ = 0;
    size_t bufPos_ = 0;     // position inside the buffer
    size_t bufLen_ = 0;     // valid bytes in the buffer
    uint64_t bufStart_ = 0; // file offset of buf_[0]
    uint64_t readSize_ = 0; // size of a file opened for reading (it does not change)
};

} // namespace lm
