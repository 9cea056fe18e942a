#include "datafiles/DataFileOpen.h"

#include "datafiles/DataFormat.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>

namespace lm {

namespace {

constexpr size_t kReportLimit = 2048;

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
