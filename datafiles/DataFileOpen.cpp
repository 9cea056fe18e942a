#include "datafiles/DataFileOpen.h"

#include "datafiles/ByteOrder.h"
#include "datafiles/DataFormat.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <sstream>
#include <stdexcept>

namespace lm {

namespace {

constexpr uint32_t kAlineFileType = 43521;
constexpr uint32_t kAlineIsaSignature = 0x1313CFCF;
constexpr uint32_t kAlinePciSignature = 0x1515CFCF;
constexpr size_t kReportLimit = 2048;

// Every test reads from offset 0 so that the stream's block buffer, once filled, serves
// all of them.
bool IsAlineFile(BinaryFile& file, size_t signatureOffset, uint32_t signature)
{
    std::array<uint8_t, 3964> head;
    if (file.ReadAt(0, head.data(), signatureOffset + 4) != signatureOffset + 4)
        return false;
    return read_u32le(head.data() + 12) == kAlineFileType &&
           read_u32le(head.data() + signatureOffset) == signature;
}

int Recognise(BinaryFile& file, const std::vector<const DataFormat*>& order)
{
    for (const DataFormat* format : order)
        if (format->recognise(file))
            return format->type;
    return -1;
}

} // namespace

std::unique_ptr<AWDiskFile> CreateReader(int type, BinaryFile& file)
{
    const DataFormat* format = FindDataFormat(type);
    return format && format->makeReader ? format->makeReader(file) : nullptr;
}

bool IsText(const uint8_t* bytes, long length)
{
    for (long i = 0; i < length; ++i) {
        const uint8_t b = bytes[i];
        if (b >= 0x20 && b <= 0x7E)
            continue;
        if (b >= 9 && b <= 13)
            continue;
        if (b == 0 && i > 0)
            continue;
        return false;
    }
    return true;
}

bool IsAlineIsaFile(BinaryFile& file)
{
    return IsAlineFile(file, 3844, kAlineIsaSignature);
}

bool IsAlinePciFile(BinaryFile& file)
{
    return IsAlineFile(file, 3960, kAlinePciSignature);
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

int RecogniseForLoading(BinaryFile& file)
{
    return Recognise(file, LoadingOrder());
}

int RecogniseForWriting(BinaryFile& file)
{
    return Recognise(file, WritingOrder());
}

OpenedDataFile OpenDataFile(const std::string& path)
{
    OpenedDataFile opened;
    opened.stream = std::make_unique<BinaryFile>();
    if (!opened.stream->Open(path, BinaryFile::Mode::Read))
        throw std::runtime_error("Data file doesn't exist");
    const int type = RecogniseForLoading(*opened.stream);
    if (type < 0) {
        opened.stream->Close();
        throw std::runtime_error("Unknown data type..");
    }
    opened.type = DataFileType(type);
    opened.reader = CreateReader(type, *opened.stream);
    return opened;
}

DataCopy OpenDataCopy(BinaryFile& source, BinaryFile& target)
{
    DataCopy copy;
    if (const DataFormat* format = FindDataFormat(RecogniseForWriting(source))) {
        auto reader = format->makeReader(source);
        copy.writer = format->makeWriter(*reader, target);
        copy.reader = std::move(reader);
    }
    return copy;
}

std::string DescribeDataFile(const std::string& path)
{
    OpenedDataFile opened = OpenDataFile(path);
    std::ostringstream text;
    text << "Data type: " << DataFileTypeName(opened.type) << '\n';
    opened.reader->PrintInfo(text);
    opened.reader.reset();
    opened.stream->Close();
    std::string report = text.str();
    if (report.size() > kReportLimit)
        report.resize(kReportLimit);
    return report;
}

bool IsDataFilePath(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    for (const DataFormat& format : DataFormats())
        if (std::find(format.extensions.begin(), format.extensions.end(), extension) !=
            format.extensions.end())
            return true;
    return false;
}

} // namespace lm
