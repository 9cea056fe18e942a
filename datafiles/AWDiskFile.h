#pragma once

// The data-file interface: one derived class per acquisition-system format.
//
// A reader wraps a stream opened for reading and walks it record by record; the record
// last read is the current record. A writer is made from a reader of the same class and a
// stream opened for writing: it copies the reader's header, appends the reader's raw
// records unchanged and finally rewrites its header with the counts.
//
// The objects never open or close the stream: the caller does both (delete the objects
// first, then close the streams).
//
// Results: a bool answers whether the operation did what it says (false at the end of the
// file, on a short read or write, or for a position outside the file), a count or index is
// a number of records, and a seek answers the byte offset the stream is left at. Where
// ignoring the answer is a bug the function is [[nodiscard]].
//
// Operations that only one format has: SeekRecord, SkipHits, ReadPrevious, WriteRawTo,
// IsHeaderValid and GetRecordIndex are Spartan only; SkipRecord is DiSP only. In every other
// format they do nothing and answer false or 0.

#include "datafiles/BinaryFile.h"
#include "datafiles/ELMData.h"
#include "datafiles/EventClassifier.h"
#include "datafiles/LMRec.h"
#include "datafiles/TickTime.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace lm {

class AWDiskFile {
public:
    explicit AWDiskFile(BinaryFile& file) : file_(file) {}
    AWDiskFile(const AWDiskFile&) = delete;
    AWDiskFile& operator=(const AWDiskFile&) = delete;

    // 1. Frees the object's buffers, never the stream.
    virtual ~AWDiskFile() = default;
    // 2. Writer: finishes the output file (rewrites its header with the counts). Write
    //    errors show when the stream is closed.
    virtual void WriteHeader() {}
    // 3. Decodes the current record into the common record.
    virtual void ReadRecord(LMShortHit& /*hit*/) {}
    // 4. Value of one parameter of the current record.
    virtual long double GetValue(HitParam /*param*/) { return 0.0L; }
    // 5. Time of the current record in seconds.
    virtual long double GetTime() { return 0.0L; }
    // 6. Event classification of the current hit (see EventClassifier). Raises ELMData
    //    2001 for a hit earlier than the reference.
    virtual EventClass CheckEventTime() { return ecNewEvent; }
    // 7.
    virtual bool IsAtFirstRecord() { return false; }
    // 8. Puts the stream at the start of the file; answers that offset (0).
    virtual uint64_t SeekBegin() { return 0; }
    // 9. Puts the stream at the first record; answers its offset.
    virtual uint64_t SeekFirstRecord() { return 0; }
    // 10. DiSP only: reads the next record without decoding; false at the end.
    [[nodiscard]] virtual bool SkipRecord() { return false; }
    // 11. Spartan only: puts the stream at record n; false when n lies outside the file.
    [[nodiscard]] virtual bool SeekRecord(int /*n*/) { return false; }
    // 12. Reads the next raw record; false at the end of the file or on a short read.
    [[nodiscard]] virtual bool ReadNext() { return false; }
    // 13. Spartan only: reads on to the next hit; false when none is left.
    [[nodiscard]] virtual bool SkipHits() { return false; }
    // 14. Spartan only: reads the record before the current one; false at the first.
    [[nodiscard]] virtual bool ReadPrevious() { return false; }
    // 15. Spartan only: writes the raw current record to another stream; false when it
    //     was not written whole.
    [[nodiscard]] virtual bool WriteRawTo(BinaryFile& /*out*/) { return false; }
    // 16. Writer: appends the reader's current raw record (reader of the same class).
    virtual void AppendRecord(AWDiskFile& /*reader*/) {}
    // 17-24. Predicates on the current record.
    virtual bool IsHit() { return false; }
    virtual bool IsTestStop() { return false; }
    virtual bool HasTime() { return false; }
    virtual bool IsKnownRecord() { return true; }
    virtual bool IsEndOfData() { return false; }
    virtual bool IsParametric() { return false; }
    virtual bool IsComment() { return false; }
    virtual bool IsTRRecord() { return false; }
    // 25-27. Header texts; no value when the format has none.
    virtual std::optional<std::string> GetLabel() { return std::nullopt; }
    virtual std::optional<std::string> GetVersion() { return std::nullopt; }
    virtual std::optional<std::string> GetDateTime() { return std::nullopt; }
    // 28. Spartan only.
    virtual bool IsHeaderValid() { return false; }
    // 29. Spartan only: index of the record the stream stands at.
    [[nodiscard]] virtual int GetRecordIndex() { return 0; }
    // 30. Number of records (rewinds and reads the whole file).
    [[nodiscard]] virtual int GetRecordCount() { return 0; }
    // 31. Number of hit records (rewinds and reads the whole file).
    [[nodiscard]] virtual int GetHitCount() { return 0; }
    // 32-35. Listings; `columns` is a set of HitParam bits.
    virtual void PrintRecord(std::ostream& /*out*/, uint32_t /*columns*/) {}
    virtual void PrintCaption(std::ostream& /*out*/, uint32_t /*columns*/) {}
    virtual void PrintFile(std::ostream& /*out*/, uint32_t /*columns*/) {}
    virtual void PrintInfo(std::ostream& /*out*/) {}
    // 36.
    virtual bool CanBeFiltered() { return false; }
    // 37.
    virtual bool IsALine() { return false; }

    // Stores the two windows of CheckEventTime (event window first).
    void SetEventWindows(TickTime eventWindow, TickTime lockoutWindow)
    {
        events_.MptWindow = eventWindow;
        events_.LockoutWindow = lockoutWindow;
    }

    BinaryFile& File() { return file_; }
    int32_t AppendedCount() const { return appended_; }
    int32_t DataRecordCount() const { return dataRecords_; }
    TickTime EventWindow() const { return events_.MptWindow; }
    TickTime LockoutWindow() const { return events_.LockoutWindow; }
    TickTime ReferenceTime() const { return events_.EventReference; }
    TickTime FirstTime() const { return firstTime_; }
    TickTime CurrentTime() const { return currentTime_; }

protected:
    // The event classification of a hit at tick time t.
    EventClass CheckEventTicks(TickTime t) { return events_.ClassifyTime(t); }
    // The shared time bookkeeping of AppendRecord for a timed record appended at t.
    void NoteAppendedTime(TickTime t);

    BinaryFile& file_;
    int32_t appended_ = 0;
    int32_t dataRecords_ = 0;
    // The reference time doubles as the writer's latest appended time (NoteAppendedTime).
    EventClassifier events_;
    TickTime firstTime_;
    TickTime currentTime_;
};

} // namespace lm
