#include "lmtool/Command.h"
#include "datafiles/DataFileOpen.h"
#include "datafiles/TempFile.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string Folder(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates an empty temporary file beside `target` and answers its path.
std::string MakeTempBeside(const std::string& target)
{
    const std::string temp = lm::CreateTempFileBeside(target);
    if (temp.empty())
        throw std::runtime_error("Cannot create a temporary file in '" + Folder(target) +
                                 "': " + std::strerror(errno));
    return temp;
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// The copy loop: every record the reader delivers is appended, then the header is finished.
void CopyRecords(lm::AWDiskFile& reader, lm::AWDiskFile& writer)
{
    reader.SeekFirstRecord();
    writer.SeekFirstRecord();
    while (reader.ReadNext())
        writer.AppendRecord(reader);
    writer.WriteHeader();
}

int RunCopy(int argc, char** argv)
{
    CLI::App app{
        "Copies a data file record by record through a writer of its own format (the header counts are\n"
        "rewritten). The target is written to a temporary file that replaces it only when complete."};
    app.name("lmtool copy");
    std::string source, target;
    app.add_option("SOURCE", source, "data file to copy")->required();
    app.add_option("TARGET", target, "file to write")->required();
    CLI11_PARSE(app, argc, argv);

    lm::BinaryFile in;
    if (!in.Open(source, lm::BinaryFile::Mode::Read)) {
        std::fprintf(stderr, "Data file doesn't exist\n");
        return 1;
    }
    if (SameFile(source, target)) {
        std::fprintf(stderr, "The target is the source file itself; it is never overwritten\n");
        return 1;
    }
    const int writable = lm::RecogniseForWriting(in);
    if (writable < 0) {
        std::fprintf(stderr, lm::RecogniseForLoading(in) == lm::dtAlineIsa
                                 ? "Aline ISA files cannot be written\n"
                                 : "Unknown data type..\n");
        return 1;
    }

    std::string temp;
    try {
        temp = MakeTempBeside(target);
        lm::BinaryFile out;
        if (!out.Open(temp, lm::BinaryFile::Mode::Write))
            throw std::runtime_error("Cannot write '" + target + "': " + std::strerror(errno));
        {
            lm::DataCopy copy = lm::OpenDataCopy(in, out);
            if (!copy)
                throw std::runtime_error("Unknown data type..");
            CopyRecords(*copy.reader, *copy.writer);
        }
        if (!out.Close())
            throw std::runtime_error("Cannot write '" + target + "': " + std::strerror(errno));
        if (std::rename(temp.c_str(), target.c_str()) != 0)
            throw std::runtime_error("Cannot write '" + target + "': " + std::strerror(errno));
    } catch (const std::exception& e) {
        if (!temp.empty())
            ::unlink(temp.c_str());
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace

LMTOOL_COMMAND(copy, "copy", "copy a data file through a writer of its format", RunCopy);
