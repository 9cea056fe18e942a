#include "samplegen/SampleGen.h"

#include "datafiles/OutputFile.h"

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

    // Only a regular file (or a new name) is replaced, and only once the whole file is written.
    OutputFile output(path);
    BinaryFile out;
    if (!out.Open(output.TempPath(), BinaryFile::Mode::Write))
        throw std::runtime_error(SystemError("Cannot write", output.TempPath()));
    sample->write(out, options);
    if (!out.Close())
        throw std::runtime_error(SystemError("Cannot write", path));
    output.Commit();
}

} // namespace lm::gen
