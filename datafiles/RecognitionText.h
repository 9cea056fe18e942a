#pragma once

// The text test that the formats' content checks share: printable ASCII, control bytes
// 9-13, or NUL unless first.

#include <cstdint>

namespace lm {

bool IsText(const uint8_t* bytes, long length);

} // namespace lm
