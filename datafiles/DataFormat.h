#pragma once

// What the programs know about each data-file format, one row per format: its type, report
// name, file extensions, content recognition, reader and writer factories and its place in
// the recognition orders for loading and for writing. Recognition, opening, the listing of
// registered extensions and the file dialogs' filters are all derived from this table, so a
// new format is its own .h/.cpp pair plus one row.

#include "datafiles/AWDiskFile.h"
#include "datafiles/BinaryFile.h"
#include "datafiles/LMRec.h"

#include <memory>
#include <span>
#include <string>
#include <vector>

namespace lm {

class LoadMonitor;
struct RecordWalk;

struct DataFormat {
    DataFileType type;
    // Shown by the data-type report.
    const char* reportName;
    // Title of the format in file dialogs; nullptr when the dialogs do not offer it.
    const char* dialogName;
    // Extensions the dialogs offer for it (lower case, without the dot).
    std::vector<std::string> dialogExtensions;
    // Extensions of files taken as data files of this format when named (upper case, with
    // the dot); the content still decides the format.
    std::vector<std::string> extensions;
    // Content test; reads from the stream and restores its position. nullptr: the format
    // is known by name only and never recognised.
    bool (*recognise)(BinaryFile& file);
    // Reader on an open stream; nullptr when the format has no reader.
    std::unique_ptr<AWDiskFile> (*makeReader)(BinaryFile& file);
    // Writer of the same class made from such a reader; nullptr when it cannot be written.
    std::unique_ptr<AWDiskFile> (*makeWriter)(AWDiskFile& reader, BinaryFile& target);
    // Place in the recognition order (0 tried first); -1 when not tried.
    int loadingPriority;
    int writingPriority;
    // The loader's pass over the records made for the reader's class (direct calls per
    // record); nullptr when the format has no reader.
    RecordWalk (*walkRecords)(AWDiskFile& reader, std::vector<LMShortHit>& records, LoadMonitor* monitor,
                              uint64_t fileSize);
};

// Every format, in DataFileType order.
std::span<const DataFormat> DataFormats();
// The row of a type; nullptr for an unknown code.
const DataFormat* FindDataFormat(int type);
// The formats tried when loading or when writing, in recognition order.
const std::vector<const DataFormat*>& LoadingOrder();
const std::vector<const DataFormat*>& WritingOrder();

} // namespace lm
