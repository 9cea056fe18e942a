#pragma once

#include <string>

namespace lm {

// Writes text to a temporary file beside path and renames it over path when complete, so
// that a failure leaves an earlier file as it was. Answers false on any failure.
bool WriteFileAtomically(const std::string& path, const std::string& text);

} // namespace lm
