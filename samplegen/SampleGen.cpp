#include "samplegen/SampleGen.h"
#include "datafiles/TempFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lm::gen {

namespace {

struct SampleFormat {
    const char* name;
    int maxChannels; // channels the format can address (A-Line: its calibration tables)
    void (*write)(BinaryFile&, const SampleOptions&);
};

constexpr SampleFormat kFormats[] = {
    {"ald", 128, WriteAlinePciSample},
    {"isa", 32, WriteAlineIsaSample},
    {"dta", 255, WriteDispSample},
    {"sdt", 255, WriteSpartanSample},
};

const SampleFormat* FindFormat(const std::string& name)
{
    for (const auto& format : kFormats)
        if (name == format.name)
            return &format;
    return nullptr;
}

std::string Folder(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string SystemError(const std::string& what, const std::string& path)
{
    return what + " '" + path + "': " + std::strerror(errno);
}

} // namespace

bool IsSampleFormat(const std::string& format)
{
    return FindFormat(format) != nullptr;
}

void GenerateSampleFile(const std::string& format, const SampleOptions& options, const std::string& path)
{
    const SampleFormat* sample = FindFormat(format);
    if (!sample)
        throw std::runtime_error("Unknown sample format '" + format + "' (ald, dta, sdt, isa)");
    if (options.channels < 1 || options.channels > sample->maxChannels)
        throw std::runtime_error("Channels must lie in 1.." + std::to_string(sample->maxChannels) +
                                 " for the '" + format + "' format");

    // The temporary file lives beside the target so that the final rename stays on one file system.
    const std::string temp = CreateTempFileBeside(path);
    if (temp.empty())
        throw std::runtime_error(SystemError("Cannot create a temporary file in", Folder(path)));

    try {
        BinaryFile out;
        if (!out.Open(temp, BinaryFile::Mode::Write))
            throw std::runtime_error(SystemError("Cannot write", temp));
        sample->write(out, options);
        if (!out.Close())
            throw std::runtime_error(SystemError("Cannot write", path));
        if (std::rename(temp.c_str(), path.c_str()) != 0)
            throw std::runtime_error(SystemError("Cannot write", path));
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
}

} // namespace lm::gen
