#pragma once

#include <ios>
#include <ostream>

namespace lm {

// Restores a caller's stream formatting (flags, precision, fill) whatever a listing changed.
class FormatGuard {
public:
    explicit FormatGuard(std::ostream& out)
        : out_(out), flags_(out.flags()), precision_(out.precision()), fill_(out.fill())
    {
    }
    ~FormatGuard()
    {
        out_.flags(flags_);
        out_.precision(precision_);
        out_.fill(fill_);
    }
    FormatGuard(const FormatGuard&) = delete;
    FormatGuard& operator=(const FormatGuard&) = delete;

private:
    std::ostream& out_;
    std::ios_base::fmtflags flags_;
    std::streamsize precision_;
    char fill_;
};

} // namespace lm
