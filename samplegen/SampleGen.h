#pragma once

// Writers of synthetic sample files, one per format, all fed by SampleEventStream.

#include "datafiles/BinaryFile.h"
#include "samplegen/SampleEvents.h"

#include <string>

namespace lm::gen {

// Each writer encodes the whole session into `out` (opened for writing by the caller) and
// throws std::runtime_error when something cannot be written.
void WriteAlinePciSample(BinaryFile& out, const SampleOptions& options); // "ald"
void WriteAlineIsaSample(BinaryFile& out, const SampleOptions& options); // "isa"
void WriteDispSample(BinaryFile& out, const SampleOptions& options);     // "dta"
void WriteSpartanSample(BinaryFile& out, const SampleOptions& options);  // "sdt"

// Format names accepted by GenerateSampleFile: "ald", "isa", "dta", "sdt".
bool IsSampleFormat(const std::string& format);
// Writes a sample file through a temporary file renamed over `path` when complete; only a
// regular file (or a new name) is replaced, else EOutputFile (a std::runtime_error) is thrown.
void GenerateSampleFile(const std::string& format, const SampleOptions& options, const std::string& path);

} // namespace lm::gen
