#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace lm {

// Exception of the data-file classes and of the event classification. The catching
// program turns the code into its own message; the only code raised is 2001 (records
// out of time order).
class ELMData : public std::runtime_error {
public:
    explicit ELMData(int32_t code) : std::runtime_error("ELMData " + std::to_string(code)), Code(code) {}
    int32_t Code;
};

inline constexpr int32_t kErrNotSorted = 2001;

}  // namespace lm
