#pragma once

// Recognition of a data file's format from its content, and creation of the matching
// reader (and writer for a copy). A file's type is never taken from its name. The formats,
// their orders and factories are the rows of the format table (DataFormat.h); each
// format's content check lives with its reader (IsSpartanFile in SDFile.h, ...).

#include "datafiles/AWDiskFile.h"
#include "datafiles/BinaryFile.h"
#include "datafiles/LMRec.h"

#include <memory>
#include <string>

namespace lm {

// Loading order (A-Line ISA, A-Line 32D, Spartan 3000, DiSP/Locan); -1 when none holds.
int RecogniseForLoading(BinaryFile& file);
// Writing order (Spartan 3000, DiSP/Locan, A-Line 32D); -1 when none holds.
int RecogniseForWriting(BinaryFile& file);

// The reader of a recognised type (a DataFileType) on an open stream; nullptr for a type
// without a reader.
std::unique_ptr<AWDiskFile> CreateReader(int type, BinaryFile& file);

struct OpenedDataFile {
    DataFileType type = dtSpartan;
    // Declared before the reader so that the reader is destroyed first.
    std::unique_ptr<BinaryFile> stream;
    std::unique_ptr<AWDiskFile> reader;
};

// Opens a path for reading and creates the reader of its recognised format. Raises
// std::runtime_error with "Data file doesn't exist" or "Unknown data type..".
OpenedDataFile OpenDataFile(const std::string& path);

struct DataCopy {
    std::unique_ptr<AWDiskFile> reader;
    std::unique_ptr<AWDiskFile> writer;
    explicit operator bool() const { return reader && writer; }
};

// Creates a reader on `source` and a writer of the same class on `target` (writing
// order). Answers an empty pair, having written nothing, when no writable format holds.
DataCopy OpenDataCopy(BinaryFile& source, BinaryFile& target);

// The data-type report: "Data type: " + report name + newline + the reader's PrintInfo
// (at most 2048 characters). Raises the same texts as OpenDataFile.
std::string DescribeDataFile(const std::string& path);

// True when the extension is one of the registered data-file extensions of the format
// table (any case).
bool IsDataFilePath(const std::string& path);

} // namespace lm
