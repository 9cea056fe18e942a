#pragma once

// DiSP / Locan / Mistras message-stream data file. The file has no header of its own: it
// is a sequence of messages (u16 length L, then L body bytes whose first byte is the
// message id). The layout of hit messages is defined by the active data set carried in a
// hardware setup message (id 42), so a reader decodes hits with the list last seen.

#include "datafiles/AWDiskFile.h"
#include "datafiles/ByteOrder.h"

#include <cstdint>
#include <vector>

namespace lm {

// One entry of the characteristic table: id -> size in a hit message and listing texts.
struct LDCharacteristic {
    uint8_t size;  // bytes in a hit message
    uint8_t width; // listing column width
    const char* name;
    const char* shortName;
};

class LDFile final : public AWDiskFile {
public:
    // Message ids.
    enum Id : uint8_t {
        idHit = 1,
        idParametric = 2,
        idForcedParametric = 3,
        idActiveDataSet = 5,
        idComment = 7,
        idResetClock = 11,
        idTestAbort = 15,
        idGain = 22,
        idThreshold = 23,
        idHdt = 24,
        idHlt = 25,
        idPdt = 26,
        idIdentification = 41,
        idHardwareSetup = 42,
        idText = 99,
        idBeginSetup = 100,
        idEndSetup = 101,
        idResume = 128,
        idStop = 129,
        idPause = 130,
        idTRRecord = 173,
        idTimeMark = 211,
    };

    // Highest characteristic id with a value slot (23 and 24 are the frequency centroid and
    // peak frequency of newer systems).
    static constexpr int kMaxCharacteristic = 24;
    // The table entry of a characteristic id, or nullptr for ids that take no bytes and
    // have no name (0, 22 and everything above 24).
    static const LDCharacteristic* Characteristic(int id);

    // Reader: reads nothing.
    explicit LDFile(BinaryFile& in);
    // Writer: copies nothing; the setup messages travel with the records.
    LDFile(LDFile& reader, BinaryFile& out);

    void WriteHeader() override;
    void ReadRecord(LMShortHit& hit) override;
    long double GetValue(HitParam param) override;
    long double GetTime() override { return Time().Seconds(); }
    EventClass CheckEventTime() override { return CheckEventTicks(Time()); }
    bool IsAtFirstRecord() override { return file_.Tell() == 0; }
    uint64_t SeekBegin() override;
    uint64_t SeekFirstRecord() override;
    bool SkipRecord() override { return ReadMessage(); }
    bool ReadNext() override;
    void AppendRecord(AWDiskFile& reader) override;
    bool IsHit() override { return Id() == idHit; }
    bool IsTestStop() override { return Id() == idStop; }
    bool HasTime() override
    {
        const uint8_t id = Id();
        return id == idHit || id == idResume || id == idStop || id == idPause;
    }
    bool IsEndOfData() override { return Id() == idTestAbort; }
    bool IsParametric() override { return Id() == idParametric || Id() == idForcedParametric; }
    bool IsComment() override { return Id() == idComment; }
    bool IsTRRecord() override { return Id() == idTRRecord; }
    int GetRecordCount() override;
    int GetHitCount() override;
    void PrintFile(std::ostream& out, uint32_t columns) override;
    bool CanBeFiltered() override { return true; }

    // Message 211: a time mark when short, some other timed record otherwise.
    bool IsTimeMark() { return Id() == idTimeMark; }
    // Like ReadNext, but after a hardware setup message the stream is left at its first
    // sub-record, so that the sub-records are read one by one as messages of their own.
    int ReadNextListed();
    // Prints one line "ID = <id> Length = <L>" for every message read with ReadNextListed.
    void PrintDump(std::ostream& out);

    // The current message.
    uint16_t Length() const { return length_; }
    const uint8_t* Body() const { return body_.data(); }
    // Active data set in force.
    const std::vector<uint8_t>& ActiveList() const { return active_; }
    int ActiveParametricCount() const { return parametricCount_; }

private:
    // Where a characteristic's value lies in a hit message under the active list: a 4-byte
    // little-endian load at `offset` masked to the value's size (mask 0: not in the list).
    struct Field {
        uint16_t offset = 8;
        uint32_t mask = 0;
    };

    uint8_t Id() const { return body_[0]; }
    TickTime Time() const { return TickTime::FromBytes(body_.data() + 1); }
    // Reads one message into the body area; false at the end, on a short read or L = 0.
    // Before the body of anything but a hit that will be decoded is overwritten, the slots
    // of a pending hit are filled from it.
    bool ReadMessage(bool decodesHits = false);
    // ReadMessage for a message not wholly in the block buffer (or at the end).
    bool ReadMessageByParts(bool decodesHits);
    void ParseHardwareSetup();
    void SetActiveDataSet(const uint8_t* sub, size_t available);
    uint32_t HitValue(int slot) const
    {
        return read_u32le(body_.data() + plan_[slot].offset) & plan_[slot].mask;
    }
    // Fills the slots from the pending hit (the current body).
    void DecodeSlots();
    // The last hit's value of a slot.
    uint32_t Slot(int slot) const { return slotsPending_ ? HitValue(slot) : slots_[slot]; }

    // Listing helpers.
    void PrintMessage(std::ostream& out, const uint8_t* body, size_t length);
    void PrintHitCaption(std::ostream& out);
    void PrintHitRow(std::ostream& out, const uint8_t* body);
    void NoteChannelSetup(const uint8_t* body, size_t length);
    void FlushChannelSetup(std::ostream& out);

    std::vector<uint8_t> body_; // body of the current message, zero past its length
    uint16_t length_ = 0;
    size_t dirty_ = 0; // bytes of body_ that may be non-zero

    std::vector<uint8_t> active_; // active list, in the order of the hit values
    int parametricCount_ = 0;
    Field plan_[kMaxCharacteristic + 1]; // decoding plan derived from the active list
    std::vector<uint8_t> listed_;        // the slots the list fills
    uint16_t parametricOffset_ = 8;

    // The values of the last hit, for GetValue. While its body is current they are read
    // from it (so are those of the common record); the slots are filled only when the
    // body is about to be replaced by something else than the next hit.
    uint32_t slots_[kMaxCharacteristic + 1] = {};
    bool slotsPending_ = false;
    // Set when the active list changed since the last hit decoded: the next one clears the
    // slots, since hits only fill the slots of the list and the others must read 0.
    bool slotsStale_ = false;
    uint8_t parametricId_ = 0;
    int16_t parametricValue_ = 0;

    bool captionDue_ = true; // listing: print the hit caption before the next hit
    struct ChannelSetup {
        int channel;
        int value[5];
    };
    std::vector<ChannelSetup> channelSetup_; // listing: rows gathered from messages 22-26

    LDFile* lastReader_ = nullptr; // reader of the last AppendRecord, checked once
};

// Content check of the format table: the first message is the identification text (id 41).
// Reads from the stream and restores its position.
bool IsDispFile(BinaryFile& file);

} // namespace lm
