#include "lmtool/Command.h"
#include "datafiles/DataFileOpen.h"
#include "datafiles/OutputFile.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

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

    try {
        // Only a regular file is replaced, keeping its permissions; leftovers of a killed
        // copy beside the target go first.
        lm::RemoveStaleTempFiles(lm::ResolveOutputTarget(target));
        lm::OutputFile output(target);
        lm::BinaryFile out;
        if (!out.Open(output.TempPath(), lm::BinaryFile::Mode::Write))
            throw std::runtime_error("Cannot write '" + target + "': " + std::strerror(errno));
        {
            lm::DataCopy copy = lm::OpenDataCopy(in, out);
            if (!copy)
                throw std::runtime_error("Unknown data type..");
            CopyRecords(*copy.reader, *copy.writer);
        }
        if (!out.Close())
            throw std::runtime_error("Cannot write '" + target + "': " + std::strerror(errno));
        output.Commit();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace

LMTOOL_COMMAND(copy, "copy", "copy a data file through a writer of its format", RunCopy);
