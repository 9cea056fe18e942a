#include "datafiles/LDFile.h"

#include "datafiles/ByteOrder.h"
#include "datafiles/RecognitionText.h"
#include "datafiles/internal/StreamFormat.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iomanip>
#include <ostream>
#include <stdexcept>

namespace lm {

namespace {

// Bodies are at most 65535 bytes (u16 length). Decoding a hit or listing an active data
// set reads at fixed offsets that may lie past a short message: at most 8 + 255 values of
// 4 bytes + 255 parametrics of 3 bytes. The area behind the body is kept zero so such
// reads see zeros, as in a cleared body area.
constexpr size_t kMaxBody = 65535;
constexpr size_t kBodyArea = kMaxBody + 1 + 2048;

constexpr LDCharacteristic kTable[LDFile::kMaxCharacteristic + 1] = {
    {0, 0, nullptr, nullptr},
    {2, 6, "RiseTime", "Rise"},
    {2, 6, "Counts to Peak", "CntPk"},
    {2, 6, "Counts", "Cnts"},
    {2, 6, "Energy", "Ener"},
    {4, 7, "Duration", "Durat"},
    {1, 4, "Amplitude", "Amp"},
    {1, 4, "RMS", "RMS"},
    {1, 4, "ASL", "ASL"},
    {1, 3, "Gain", "Gn"},
    {1, 3, "Threshold", "TH"},
    {1, 5, "Pre-Amp Current", "PrAm"},
    {4, 7, "LostHits", "LstHts"},
    {2, 6, "AverFreq", "A-Frq"},
    {2, 6, "Reserved5", "R5"},
    {0, 4, "Reserved6", "R6"},
    {4, 6, "Reserved7", "R7"},
    {2, 6, "RMS", "RMS"},
    {2, 6, "ReverbFreq", "R-Frq"},
    {2, 6, "InitFreq", "I-Frq"},
    {4, 8, "SignalStrength", "SigStr"},
    {4, 8, "AbsolutEnergy", "AbsEn"},
    {0, 0, nullptr, nullptr},
    // Newer systems add the frequency centroid and the peak frequency after id 21; without
    // their two bytes every later value of such hits would be misplaced.
    {2, 6, "FreqCentroid", "C-Frq"},
    {2, 6, "PeakFreq", "P-Frq"},
};

uint32_t LoadValue(const uint8_t* p, int size)
{
    switch (size) {
    case 1:
        return p[0];
    case 2:
        return read_u16le(p);
    case 4:
        return read_u32le(p);
    default:
        return 0;
    }
}

std::string Printable(const uint8_t* p, size_t n)
{
    std::string s;
    s.reserve(n);
    for (size_t i = 0; i < n && p[i] != 0; ++i) {
        const uint8_t c = p[i];
        s.push_back(c >= 0x20 && c <= 0x7E ? char(c) : ' ');
    }
    return s;
}

// Width of "ID = nnn  Length = nnnnn  ", the prefix of every listing line.
constexpr int kPrefixWidth = 26;

long double ParametricVolts(uint16_t raw)
{
    return (long double)raw * 0.005L - 10.0L;
}

} // namespace

const LDCharacteristic* LDFile::Characteristic(int id)
{
    if (id <= 0 || id > kMaxCharacteristic || kTable[id].name == nullptr)
        return nullptr;
    return &kTable[id];
}

LDFile::LDFile(BinaryFile& in) : AWDiskFile(in), body_(kBodyArea, 0) {}

LDFile::LDFile(LDFile& /*reader*/, BinaryFile& out) : AWDiskFile(out), body_(kBodyArea, 0) {}

void LDFile::WriteHeader()
{
    captionDue_ = true;
    channelSetup_.clear();
}

uint64_t LDFile::SeekBegin()
{
    file_.Seek(0);
    return 0;
}

uint64_t LDFile::SeekFirstRecord()
{
    file_.Seek(0);
    return 0;
}

bool LDFile::ReadMessage(bool decodesHits)
{
    const uint8_t* message = file_.Buffered(2);
    const uint16_t length = message ? read_u16le(message) : 0;
    if (length == 0 || !(message = file_.Buffered(2u + length)))
        return ReadMessageByParts(decodesHits);
    // The whole message is in the block buffer: one copy. The pending hit's body is still
    // there: a hit that will be decoded replaces its values, anything else would lose them.
    if (slotsPending_ && !(decodesHits && message[2] == idHit))
        DecodeSlots();
    std::memcpy(body_.data(), message + 2, length);
    file_.Advance(2u + length);
    if (length < dirty_)
        std::memset(body_.data() + length, 0, dirty_ - length);
    dirty_ = length;
    length_ = length;
    return true;
}

bool LDFile::ReadMessageByParts(bool decodesHits)
{
    uint8_t lengthBytes[2];
    uint16_t length = 0;
    size_t got = 0;
    if (file_.Read(lengthBytes, 2) == 2)
        length = read_u16le(lengthBytes);
    if (slotsPending_ && !(decodesHits && length != 0 && file_.PeekByte() == idHit))
        DecodeSlots();
    if (length != 0)
        got = file_.Read(body_.data(), length);
    if (length == 0 || got != length) {
        // Nothing current after a failed read.
        std::memset(body_.data(), 0, std::max(dirty_, got));
        dirty_ = 0;
        length_ = 0;
        return false;
    }
    if (length < dirty_)
        std::memset(body_.data() + length, 0, dirty_ - length);
    dirty_ = length;
    length_ = length;
    return true;
}

bool LDFile::ReadNext()
{
    if (!ReadMessage(true))
        return false;
    const uint8_t id = Id();
    if (id == idHit) {
        slotsPending_ = true;
        if (parametricCount_ != 0) {
            // Only the first parametric of a hit is kept.
            parametricId_ = body_[parametricOffset_];
            parametricValue_ = read_i16le(body_.data() + parametricOffset_ + 1);
        }
    } else if (id == idHardwareSetup) {
        ParseHardwareSetup();
    }
    return true;
}

void LDFile::ParseHardwareSetup()
{
    size_t pos = 4;
    while (pos + 2 <= length_) {
        const size_t size = read_u16le(body_.data() + pos);
        const size_t sub = pos + 2;
        if (size >= 1 && body_[sub] == idActiveDataSet)
            SetActiveDataSet(body_.data() + sub, std::min<size_t>(size, length_ - sub));
        pos = sub + size;
    }
}

void LDFile::SetActiveDataSet(const uint8_t* sub, size_t /*available*/)
{
    // The count byte and the ids are taken as written, like the acquisition software
    // does; past the message the body area reads as zeros, so nothing is read out of
    // bounds whatever the counts say. All ids are kept, however many.
    const int n = sub[1];
    active_.assign(sub + 2, sub + 2 + n);
    parametricCount_ = sub[2 + n];
    // The slots keep the last hit's values until the next hit, which is decoded with the
    // new plan (ReadMessage has filled them from a pending hit before this message).
    std::fill(std::begin(plan_), std::end(plan_), Field{});
    listed_.clear();
    slotsStale_ = true;
    uint16_t offset = 8;
    for (uint8_t id : active_) {
        const LDCharacteristic* c = Characteristic(id);
        if (!c || c->size == 0)
            continue;
        // An id listed twice takes the later value.
        plan_[id] = Field{offset, c->size == 4 ? 0xFFFFFFFFu : (1u << (8 * c->size)) - 1};
        listed_.push_back(id);
        offset = uint16_t(offset + c->size);
    }
    parametricOffset_ = offset;
    captionDue_ = true; // the listing's columns change with the list
}

void LDFile::DecodeSlots()
{
    if (slotsStale_) {
        std::memset(slots_, 0, sizeof slots_);
        slotsStale_ = false;
    }
    for (uint8_t slot : listed_)
        slots_[slot] = HitValue(slot);
    slotsPending_ = false;
}

void LDFile::ReadRecord(LMShortHit& hit)
{
    const uint8_t id = Id();
    if (id == idHit) { // nearly every record
        hit.kind = rkHit;
        hit.SetHitFlags(0);
        hit.time = Time();
        hit.channel = body_[7];
        hit.amplitude = uint8_t(HitValue(6));
        hit.rise = uint16_t(HitValue(1));
        hit.counts = uint16_t(HitValue(3));
        hit.energy = uint16_t(HitValue(4));
        hit.duration = HitValue(5);
        hit.Par1 = float(parametricValue_);
        return;
    }
    switch (id) {
    case idParametric:
    case idForcedParametric:
        hit.kind = rkParametric;
        hit.time = Time();
        hit.Par1 = float(read_u16le(body_.data() + 8));
        break;
    case idComment:
        hit.kind = rkComment;
        break;
    case idResume:
        hit.kind = rkResume;
        hit.time = Time();
        break;
    case idStop:
        hit.kind = rkStop;
        hit.time = Time();
        break;
    case idPause:
        hit.kind = rkPause;
        hit.time = Time();
        break;
    case idTimeMark:
        hit.kind = length_ <= 7 ? rkTimeMark : rkOther;
        hit.time = Time();
        break;
    default:
        hit.kind = rkOther;
        break;
    }
}

long double LDFile::GetValue(HitParam param)
{
    switch (param) {
    case hpTime:
        return Time().Seconds();
    case hpChannel:
        return body_[7];
    case hpRise:
        return Slot(1);
    case hpCntPk:
        return Slot(2);
    case hpCounts:
        return Slot(3);
    case hpEnergy:
        return Slot(4);
    case hpDuration:
        return Slot(5);
    case hpAmplitude:
        return Slot(6);
    case hpRMS:
        return Slot(7);
    case hpGain:
        return Slot(9);
    case hpThreshold:
        return Slot(10);
    case hpFreq:
        return Slot(13);
    case hpPar1:
        return parametricValue_;
    default:
        return 0.0L;
    }
}

void LDFile::AppendRecord(AWDiskFile& reader)
{
    if (&reader != lastReader_) {
        auto* r = dynamic_cast<LDFile*>(&reader);
        if (!r)
            throw std::invalid_argument("LDFile::AppendRecord needs a DiSP reader");
        lastReader_ = r;
    }
    const LDFile& r = *lastReader_;
    if (r.length_ == 0)
        return; // no current message to copy
    const uint8_t id = r.Id();
    if (id == idHit || id == idResume || id == idStop || id == idPause)
        NoteAppendedTime(r.Time());
    ++appended_;
    uint8_t lengthBytes[2];
    write_u16le(lengthBytes, r.length_);
    file_.Write(lengthBytes, 2);
    file_.Write(r.body_.data(), r.length_);
}

int LDFile::GetRecordCount()
{
    SeekFirstRecord();
    int count = 0;
    while (ReadMessage())
        ++count;
    return count;
}

int LDFile::GetHitCount()
{
    SeekFirstRecord();
    int count = 0;
    while (ReadNext())
        if (Id() == idHit)
            ++count;
    return count;
}

int LDFile::ReadNextListed()
{
    if (!ReadNext())
        return 0;
    // Step back into the setup message so that its sub-records come next. The position
    // always ends past the start of the message just read, so a dump cannot loop.
    if (Id() == idHardwareSetup && length_ > 4)
        file_.Seek(file_.Tell() - length_ + 4);
    return 1;
}

void LDFile::PrintDump(std::ostream& out)
{
    SeekFirstRecord();
    while (ReadNextListed())
        out << "ID = " << unsigned(Id()) << " Length = " << length_ << '\n';
}

void LDFile::PrintFile(std::ostream& out, uint32_t /*columns*/)
{
    FormatGuard guard(out);
    SeekFirstRecord();
    captionDue_ = true;
    channelSetup_.clear();
    while (ReadNext()) {
        PrintMessage(out, body_.data(), length_);
        if (Id() != idHardwareSetup)
            continue;
        // The sub-records of a setup message are listed like messages of their own.
        size_t pos = 4;
        while (pos + 2 <= length_) {
            const size_t size = read_u16le(body_.data() + pos);
            const size_t sub = pos + 2;
            const size_t shown = std::min<size_t>(size, length_ - sub);
            if (shown >= 1)
                PrintMessage(out, body_.data() + sub, shown);
            pos = sub + size;
        }
        FlushChannelSetup(out);
    }
    FlushChannelSetup(out);
}

void LDFile::PrintHitCaption(std::ostream& out)
{
    out << std::string(kPrefixWidth, ' ') << std::setw(14) << "Time (sec)" << std::setw(3) << "Cn";
    for (uint8_t id : active_) {
        const LDCharacteristic* c = Characteristic(id);
        if (!c || id == 20 || id == 21)
            continue;
        out << std::setw(c->width) << c->shortName;
    }
    for (int i = 1; i <= parametricCount_; ++i)
        out << std::setw(8) << ("Par" + std::to_string(i));
    out << '\n';
}

void LDFile::PrintHitRow(std::ostream& out, const uint8_t* body)
{
    out << std::setw(14) << std::setprecision(7) << TickTime::FromBytes(body + 1).Seconds() << std::setw(3)
        << unsigned(body[7]);
    size_t offset = 8;
    for (uint8_t id : active_) {
        const LDCharacteristic* c = Characteristic(id);
        if (!c)
            continue;
        if (id != 20 && id != 21)
            out << std::setw(c->width) << LoadValue(body + offset, c->size);
        offset += c->size;
    }
    out << std::setprecision(3);
    for (int i = 0; i < parametricCount_; ++i, offset += 3)
        out << std::setw(8) << ParametricVolts(read_u16le(body + offset + 1));
}

void LDFile::PrintMessage(std::ostream& out, const uint8_t* body, size_t length)
{
    const uint8_t id = body[0];
    if (id < idGain || id > idPdt)
        FlushChannelSetup(out);
    if (id == idHit && captionDue_) {
        PrintHitCaption(out);
        captionDue_ = false;
    }
    out << std::fixed << "ID = " << std::setw(3) << unsigned(id) << "  Length = " << std::setw(5) << length
        << "  ";
    const auto time = [&] {
        out << std::setw(14) << std::setprecision(7) << TickTime::FromBytes(body + 1).Seconds();
    };
    switch (id) {
    case idHit:
        PrintHitRow(out, body);
        break;
    case idParametric:
    case idForcedParametric:
        time();
        out << " Par1 =" << std::setw(8) << std::setprecision(3) << ParametricVolts(read_u16le(body + 8));
        break;
    case idActiveDataSet: {
        out << "Active AE Data Set Parameters :";
        const int n = body[1];
        for (int i = 0; i < n; ++i) {
            const uint8_t cid = body[2 + i];
            const LDCharacteristic* c = Characteristic(cid);
            out << (i == 0 ? " " : ", ");
            if (c)
                out << c->name;
            else
                out << '#' << unsigned(cid);
        }
        break;
    }
    case idComment:
        out << " Test Comment " << Printable(body + 1, length - 1);
        break;
    case idText:
        out << Printable(body + 1, length - 1);
        break;
    case idResetClock:
        out << "Reset Clock";
        break;
    case idTestAbort:
        out << "Test Abort";
        captionDue_ = true;
        break;
    case idGain:
    case idThreshold:
    case idHdt:
    case idHlt:
    case idPdt:
        NoteChannelSetup(body, length);
        break;
    case idIdentification:
        if (length > 4)
            out << Printable(body + 4, length - 4);
        break;
    case idHardwareSetup:
        out << " Hardware Setup";
        break;
    case idBeginSetup:
        out << "Begin Setup";
        break;
    case idEndSetup:
        out << "End of Setup";
        break;
    case idResume:
        time();
        out << " Test Resume";
        break;
    case idStop:
        time();
        out << " Test Stop";
        break;
    case idPause:
        time();
        out << " Test Pause";
        break;
    default:
        out << "Default DiSP record";
        break;
    }
    out << '\n';
}

void LDFile::NoteChannelSetup(const uint8_t* body, size_t /*length*/)
{
    const uint8_t id = body[0];
    const int channel = body[1];
    const int value = id <= idThreshold ? body[2] : read_u16le(body + 2);
    auto row = std::find_if(channelSetup_.begin(), channelSetup_.end(),
                            [&](const ChannelSetup& r) { return r.channel == channel; });
    if (row == channelSetup_.end()) {
        channelSetup_.push_back(ChannelSetup{channel, {-1, -1, -1, -1, -1}});
        row = channelSetup_.end() - 1;
    }
    row->value[id - idGain] = value;
}

void LDFile::FlushChannelSetup(std::ostream& out)
{
    if (channelSetup_.empty())
        return;
    std::sort(channelSetup_.begin(), channelSetup_.end(),
              [](const ChannelSetup& a, const ChannelSetup& b) { return a.channel < b.channel; });
    out << "Channels setup parameters :\n";
    out << "Chan# Gain(dB) TH(dB) HDT(us) HLT(us) PDT(us)\n";
    static constexpr int kWidths[5] = {9, 7, 8, 8, 8};
    for (const ChannelSetup& r : channelSetup_) {
        out << std::setw(5) << r.channel;
        for (int i = 0; i < 5; ++i) {
            out << std::setw(kWidths[i]);
            if (r.value[i] < 0)
                out << '-';
            else
                out << r.value[i];
        }
        out << '\n';
    }
    channelSetup_.clear();
}

bool IsDispFile(BinaryFile& file)
{
    // The first message must be the identification text (id 41 and a zero byte).
    uint8_t head[4];
    if (file.ReadAt(0, head, sizeof head) != sizeof head)
        return false;
    const uint16_t length = read_u16le(head);
    if (length >= 50000 || read_u16le(head + 2) != 41)
        return false;
    if (length <= 6)
        return true;
    // Bytes missing at the end of the file count as 0, as in the Spartan test.
    std::array<uint8_t, 50000> message{};
    file.ReadAt(0, message.data(), length);
    return IsText(message.data() + 6, long(length) - 6);
}

} // namespace lm
