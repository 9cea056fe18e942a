// Loading and saving through the data-file library (kept apart from the in-memory logic).

#include "datafiles/DataFileOpen.h"
#include "datafiles/DataFormat.h"
#include "datafiles/OutputFile.h"
#include "lmqwin2/dataset/LMDataSet.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace lm {

void LMDataSet::Load(const std::string& fileName, LoadMonitor* monitor)
{
    Clear();
    MaxTime = 0.0;
    TimeAxisMax = 0.0;

    // Its two text exceptions pass out as they are; the stream is closed by then.
    OpenedDataFile opened = OpenDataFile(fileName);
    // Reader first, then the stream: OpenedDataFile's member order does that on unwinding.
    LoadFrom(*opened.reader, opened.type, fileName, monitor);
}

namespace {

namespace fs = std::filesystem;

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    if (fs::equivalent(fs::path(a), fs::path(b), error))
        return true;
    // A target that does not exist yet cannot be the source; compare names as a fallback.
    const fs::path ca = fs::weakly_canonical(fs::path(a), error);
    if (error)
        return false;
    const fs::path cb = fs::weakly_canonical(fs::path(b), error);
    return !error && ca == cb;
}

} // namespace

void LMDataSet::Save(const std::string& targetName) const
{
    if (!IsLoaded())
        throw std::runtime_error("No data file is loaded: nothing to save");
    const DataFormat* format = FindDataFormat(FileType);
    if (!format || !format->makeWriter)
        throw std::runtime_error(std::string(DataFileTypeName(FileType)) + " data files cannot be saved");
    if (targetName.empty())
        throw std::runtime_error("No target file name given");
    if (SameFile(FileName, targetName))
        throw std::runtime_error("Cannot save onto the loaded data file itself: choose another name");

    BinaryFile source;
    if (!source.Open(FileName, BinaryFile::Mode::Read))
        throw std::runtime_error("Cannot open the data file '" + FileName + "'");
    // The copy must walk the file with the same kind of reader that loaded it, or the
    // records would not line up with the data set.
    if (RecogniseForWriting(source) != FileType)
        throw std::runtime_error("The data file '" + FileName + "' cannot be written in its own format");

    // Only a regular file is replaced, keeping its permissions; the leftovers of a killed
    // save beside the target go first.
    std::unique_ptr<OutputFile> output;
    try {
        RemoveStaleTempFiles(ResolveOutputTarget(targetName));
        output = std::make_unique<OutputFile>(targetName);
    } catch (const EOutputFile& e) {
        throw std::runtime_error("Cannot write the file '" + targetName + "': " + e.what());
    }
    BinaryFile target;
    if (!target.Open(output->TempPath(), BinaryFile::Mode::Write))
        throw std::runtime_error("Cannot write the file '" + targetName + "'");
    try {
        DataCopy copy = OpenDataCopy(source, target);
        if (!copy)
            throw std::runtime_error("The data file '" + FileName + "' cannot be written in its own format");
        copy.reader->SeekFirstRecord();
        copy.writer->SeekFirstRecord();
        CopyUndeleted(*copy.reader, *copy.writer);
        copy.writer->WriteHeader();
    } catch (...) {
        target.Close();
        throw;
    }
    if (!target.Close())
        throw std::runtime_error("Error writing the file '" + targetName + "'");
    try {
        output->Commit();
    } catch (const EOutputFile& e) {
        throw std::runtime_error("Cannot replace the file '" + targetName + "': " + e.what());
    }
}

} // namespace lm
