#include "datafiles/SDFile.h"

#include "datafiles/ByteOrder.h"
#include "datafiles/RecognitionText.h"
#include "datafiles/internal/StreamFormat.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <ostream>
#include <stdexcept>

namespace lm {

namespace {

// The recognition's text test: printable ASCII, control bytes 9-13, or a NUL that is not
// the first byte of the run.
bool IsTextRun(const uint8_t* p, long n)
{
    for (long i = 0; i < n; ++i) {
        const uint8_t c = p[i];
        if ((c >= 0x20 && c <= 0x7E) || (c >= 9 && c <= 13) || (c == 0 && i > 0))
            continue;
        return false;
    }
    return true;
}

// Header and record texts are fixed-size fields that may end early at a NUL.
std::string FieldText(const uint8_t* p, size_t n)
{
    const auto* end = std::find(p, p + n, uint8_t(0));
    return std::string(reinterpret_cast<const char*>(p), size_t(end - p));
}

// Printable form of a text field for the listings; control bytes would break the lines.
std::string Printable(std::string s)
{
    for (char& c : s) {
        const auto u = uint8_t(c);
        if (u < 0x20 || u > 0x7E)
            c = ' ';
    }
    return s;
}

const char* YesNo(uint8_t flag)
{
    return flag ? "Yes" : "No";
}

long double Par1Value(const uint8_t* rec)
{
    return ((long double)read_u16le(rec + 27) - 2000.0L) * 0.005L;
}

} // namespace

SDFile::SDFile(BinaryFile& in) : AWDiskFile(in)
{
    file_.Seek(0);
    file_.Read(header_.data(), header_.size());
}

SDFile::SDFile(SDFile& reader, BinaryFile& out) : AWDiskFile(out)
{
    if (reader.IsHeaderValid())
        header_ = reader.header_;
}

uint32_t SDFile::HeaderTime(TickTime t)
{
    const long double v = std::trunc(t.Seconds() * 0.06103515625L * 1000.0L);
    // 48-bit times can exceed the 32-bit field by a little; saturate instead of wrapping.
    if (v >= 4294967295.0L)
        return 0xFFFFFFFFu;
    return uint32_t(v);
}

void SDFile::WriteHeader()
{
    write_u32le(header_.data() + kTotalRecords, uint32_t(dataRecords_));
    write_u32le(header_.data() + kLastHitNumber, uint32_t(dataRecords_));
    write_u32le(header_.data() + kFirstHitNumber, 1);
    write_u32le(header_.data() + kFirstHitTime, HeaderTime(firstTime_));
    write_u32le(header_.data() + kLastHitTime, HeaderTime(events_.EventReference));
    const uint64_t end = file_.Tell();
    file_.Seek(0);
    file_.Write(header_.data(), header_.size());
    // Back to where appending stopped, so the file keeps its records after the header.
    file_.Seek(std::max<uint64_t>(end, kHeaderSize));
}

void SDFile::ReadRecord(LMShortHit& hit)
{
    const uint8_t code = rec_[0];
    switch (code) {
    case scHit:
        hit.kind = rkHit;
        hit.SetHitFlags(0);
        hit.channel = rec_[7];
        hit.rise = read_u16le(rec_ + 12);
        hit.counts = read_u16le(rec_ + 16);
        hit.energy = read_u16le(rec_ + 18);
        hit.duration = read_u32le(rec_ + 20);
        hit.amplitude = rec_[24];
        hit.Par1 = float(Par1Value(rec_));
        break;
    case scParametric:
    case scTimeParametric:
        hit.kind = rkParametric;
        hit.Par1 = float(Par1Value(rec_));
        break;
    case scComment:
        hit.kind = rkComment;
        break;
    case scResume:
        hit.kind = rkResume;
        break;
    case scStop:
        hit.kind = rkStop;
        break;
    case scPause:
        hit.kind = rkPause;
        break;
    default:
        hit.kind = rkOther;
        break;
    }
    if (CodeHasTime(code))
        hit.time = Time();
}

long double SDFile::GetValue(HitParam param)
{
    switch (param) {
    case hpTime:
        return Time().Seconds();
    case hpChannel:
        return rec_[7];
    case hpSeq:
        return read_u32le(rec_ + 8);
    case hpRise:
        return read_u16le(rec_ + 12);
    case hpCntPk:
        return read_u16le(rec_ + 14);
    case hpCounts:
        return read_u16le(rec_ + 16);
    case hpEnergy:
        return read_u16le(rec_ + 18);
    case hpDuration:
        return read_u32le(rec_ + 20);
    case hpAmplitude:
        return rec_[24];
    case hpRMS:
        return rec_[25];
    case hpThreshold:
        return rec_[26];
    case hpPar1:
        return Par1Value(rec_);
    case hpDP:
        return rec_[29];
    case hpGain:
        return rec_[30];
    default:
        return 0.0L;
    }
}

uint64_t SDFile::SeekBegin()
{
    file_.Seek(0);
    return 0;
}

uint64_t SDFile::SeekFirstRecord()
{
    file_.Seek(kHeaderSize);
    return kHeaderSize;
}

bool SDFile::SeekRecord(int n)
{
    if (n < 0)
        return false;
    file_.Seek(uint64_t(kHeaderSize) + uint64_t(kRecordSize) * uint64_t(n));
    return true;
}

bool SDFile::SkipHits()
{
    for (;;) {
        if (!ReadNext())
            return false;
        if (rec_[0] != scHit)
            return true;
    }
}

bool SDFile::ReadPrevious()
{
    const uint64_t pos = file_.Tell();
    if (pos <= uint64_t(kHeaderSize + 2 * kRecordSize))
        return false;
    file_.Seek(pos - 2 * kRecordSize);
    return ReadNext();
}

bool SDFile::WriteRawTo(BinaryFile& out)
{
    return out.Write(rec_, kRecordSize) == kRecordSize;
}

void SDFile::AppendRecord(AWDiskFile& reader)
{
    if (&reader != lastReader_) {
        auto* r = dynamic_cast<SDFile*>(&reader);
        if (!r)
            throw std::invalid_argument("SDFile::AppendRecord needs a Spartan reader");
        lastReader_ = r;
    }
    const uint8_t* rec = lastReader_->rec_;
    if (CodeHasTime(rec[0]))
        NoteAppendedTime(TickTime::FromBytes(rec + 1));
    if (rec[0] != scEndOfData)
        ++dataRecords_;
    ++appended_;
    file_.Write(rec, kRecordSize);
}

std::optional<std::string> SDFile::GetLabel()
{
    const size_t n = std::min<size_t>(header_[kLabelLength], kMaxLabel);
    return FieldText(header_.data() + kLabel, n);
}

std::optional<std::string> SDFile::GetVersion()
{
    return FieldText(header_.data() + kVersion, 6);
}

std::optional<std::string> SDFile::GetDateTime()
{
    return FieldText(header_.data() + kDateTime, 17);
}

bool SDFile::IsHeaderValid()
{
    uint8_t h[kHeaderSize] = {};
    file_.ReadAt(0, h, sizeof h);
    const int label = h[kLabelLength];
    return IsTextRun(h + 20, 18) && IsTextRun(h + kVersion, 6) && label <= kMaxLabel &&
           IsTextRun(h + kLabel, label);
}

int SDFile::GetRecordIndex()
{
    const int64_t pos = int64_t(file_.Tell());
    return int((pos - kHeaderSize) / kRecordSize);
}

int SDFile::CountRecords(bool hitsOnly)
{
    SeekFirstRecord();
    int count = 0;
    while (ReadNext()) {
        const uint8_t code = rec_[0];
        if (hitsOnly ? code == scHit : CodeIsKnown(code))
            ++count;
        if (code == scEndOfData)
            break;
    }
    return count;
}

int SDFile::GetRecordCount()
{
    return CountRecords(false);
}

int SDFile::GetHitCount()
{
    return CountRecords(true);
}

void SDFile::PrintCaption(std::ostream& out, uint32_t columns)
{
    static const std::pair<HitParam, const char*> kCaptions[] = {
        {hpTime, "   Time (sec.)"},
        {hpChannel, " Ch"},
        {hpRise, "  Rise"},
        {hpCntPk, " CntPk"},
        {hpCounts, "  Cnts"},
        {hpDuration, "  Durat"},
        {hpEnergy, "  Ener"},
        {hpAmplitude, " Amp"},
        {hpRMS, " RMS"},
        {hpDP, " DP"},
        {hpPar1, " Par1"},
        {hpSeq, "   Seq"},
    };
    for (const auto& [bit, caption] : kCaptions)
        if (columns & bit)
            out << caption;
    out << '\n';
}

void SDFile::PrintRecord(std::ostream& out, uint32_t columns)
{
    FormatGuard guard(out);
    out << std::fixed;
    const uint8_t code = rec_[0];
    if (code == scHit) {
        if (columns & hpTime)
            out << std::setw(14) << std::setprecision(7) << Time().Seconds();
        if (columns & hpChannel)
            out << std::setw(3) << unsigned(rec_[7]);
        if (columns & hpRise)
            out << std::setw(6) << read_u16le(rec_ + 12);
        if (columns & hpCntPk)
            out << std::setw(6) << read_u16le(rec_ + 14);
        if (columns & hpCounts)
            out << std::setw(6) << read_u16le(rec_ + 16);
        if (columns & hpDuration)
            out << std::setw(7) << read_u32le(rec_ + 20);
        if (columns & hpEnergy)
            out << std::setw(6) << read_u16le(rec_ + 18);
        if (columns & hpAmplitude)
            out << std::setw(4) << unsigned(rec_[24]);
        if (columns & hpRMS)
            out << std::setw(4) << unsigned(rec_[25]);
        if (columns & hpDP)
            out << std::setw(3) << unsigned(rec_[29]);
        if (columns & hpPar1)
            out << std::setw(5) << std::setprecision(2) << Par1Value(rec_);
        if (columns & hpSeq)
            out << std::setw(6) << read_u32le(rec_ + 8);
        out << '\n';
        return;
    }
    // Records without a time (comment, end of data, unknown codes) print their text only:
    // their bytes 1-6 are not a time.
    if (CodeHasTime(code))
        out << std::setw(14) << std::setprecision(7) << Time().Seconds();
    switch (code) {
    case scParametric:
    case scTimeParametric:
        out << " PAR 1 =" << std::setw(6) << std::setprecision(2) << Par1Value(rec_);
        if (code == scParametric)
            out << " DP = " << unsigned(rec_[29]);
        break;
    case scComment:
        out << Printable(FieldText(rec_ + 1, kRecordSize - 1));
        break;
    case scAlarm:
        out << " Alarm Message";
        break;
    case scResume:
        out << " Test Resume";
        break;
    case scStop:
        out << " Test Stop";
        break;
    case scPause:
        out << " Test Pause";
        break;
    case scEndOfData:
        out << " End of Data File";
        break;
    default:
        out << "Error! Record code = " << unsigned(code);
        break;
    }
    out << '\n';
}

void SDFile::PrintHeaderLines(std::ostream& out)
{
    FormatGuard guard(out);
    const uint8_t* h = header_.data();
    out << "Test Label\t\t: " << Printable(*GetLabel()) << '\n';
    out << "Test Time and Date\t: " << Printable(*GetDateTime()) << '\n';
    out << "Program Version\t\t: " << Printable(*GetVersion()) << '\n';
    out << "Total number of record\t: " << read_u32le(h + kTotalRecords) << '\n';
    out << std::fixed << std::showpoint;
    out << "First hit number\t\t: " << read_u32le(h + kFirstHitNumber) << '\n';
    out << "Last hit number\t\t: " << read_u32le(h + kLastHitNumber) << '\n';
    out << std::setprecision(3);
    out << "First Hit Time\t\t: " << HeaderTimeSeconds(read_u32le(h + kFirstHitTime)) << " sec\n";
    out << "Last Hit Time\t\t: " << HeaderTimeSeconds(read_u32le(h + kLastHitTime)) << " sec\n";
    out << "TimeDrivenDataFlag\t: " << YesNo(h[kTimeDrivenFlag]) << '\n';
    out << "ContiniousFlag\t\t: " << YesNo(h[kContinuousFlag]) << '\n';
    out << "AutoDumpFlag\t\t: " << YesNo(h[kAutoDumpFlag]) << '\n';
}

void SDFile::PrintInfo(std::ostream& out)
{
    PrintHeaderLines(out);
    out << '\n';
}

void SDFile::PrintFile(std::ostream& out, uint32_t columns)
{
    PrintHeaderLines(out);
    out << '\n';
    PrintCaption(out, columns);
    SeekFirstRecord();
    // "Total number of record" does not count the end-of-data record, hence one more.
    const uint64_t rows = uint64_t(read_u32le(header_.data() + kTotalRecords)) + 1;
    for (uint64_t i = 0; i < rows && ReadNext(); ++i)
        PrintRecord(out, columns);
}

bool IsSpartanFile(BinaryFile& file)
{
    // A short file is judged as if padded with zero bytes to the 512-byte header.
    uint8_t header[512] = {};
    file.ReadAt(0, header, sizeof header);
    if (IsText(header, 512))
        return false;
    if (!IsText(header + 20, 17) || !IsText(header + 40, 6))
        return false;
    const int labelLength = header[46];
    if (labelLength < 1 || labelLength > 40)
        return false;
    return IsText(header + 47, labelLength - 2);
}

} // namespace lm
