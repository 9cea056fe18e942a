#pragma once

// Filter files: a filter's controls as INI text (UTF-8), one section per control group.
//
//   [Filter]       Name, Type (Included|Excluded), Treatment (Hits|Events|Mechanic),
//                  MPT, LOCK, Forward, Back (taken as typed), DeleteParametric, DeleteTR,
//                  SmartEndOfTime (0|1); DeleteTR may be missing (not given)
//   [A] [B] [C] [D] And=0|1; every other line is one grid row, cells separated by '|'
//                  (3 cells for A-C, 5 for D); a missing section is one empty row
//   [Expressions]  1= to 4= (missing rows are empty)

#include "lmfwin/filter/FilterControls.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace lm {

// A fault in a filter file: the line number and what is wrong.
class EFilterFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads filter-file text into controls (file names stay empty, the page is active).
FilterControls ReadFilterFile(const std::string& text);
// Reads a filter file; a path that is not a regular file, or a file larger than
// kMaxFilterFileSize, is refused with EFilterFile naming it.
FilterControls LoadFilterFile(const std::string& path);
inline constexpr uint64_t kMaxFilterFileSize = uint64_t(64) << 20;
// Writes the controls as filter-file text.
std::string WriteFilterFile(const FilterControls& controls);

} // namespace lm
