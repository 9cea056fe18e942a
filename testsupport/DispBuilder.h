#pragma once

// DiSP message streams built in code for tests: the file header message, a hardware setup
// with amplitude as the only hit value and one parametric, then messages one by one.

#include "testsupport/SpartanBuilder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lmtest {

class DispBuilder {
public:
    DispBuilder()
    {
        Message({41, 0, 0, 0, 'D', 'i', 'S', 'P'});
        // Hardware setup: active data set with amplitude only, one parametric.
        Message({42, 0, 0, 0, 4, 0, 5, 1, 6, 1});
    }
    DispBuilder& Hit(double seconds, uint8_t amplitude)
    {
        std::vector<uint8_t> body(12, 0);
        body[0] = 1;
        PutTime(body, 1, Ticks(seconds));
        body[7] = 1;
        body[8] = amplitude;
        body[9] = 1; // parametric id and value
        return Message(body);
    }
    DispBuilder& Parametric(double seconds)
    {
        std::vector<uint8_t> body(10, 0);
        body[0] = 2;
        PutTime(body, 1, Ticks(seconds));
        return Message(body);
    }
    DispBuilder& TR() { return Message({173, 1, 2, 3}); }
    DispBuilder& Abort() { return Message({15}); }
    DispBuilder& Message(std::vector<uint8_t> body)
    {
        bytes_.push_back(uint8_t(body.size()));
        bytes_.push_back(uint8_t(body.size() >> 8));
        bytes_.insert(bytes_.end(), body.begin(), body.end());
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// Message ids of a DiSP file, in file order.
inline std::vector<int> DispIds(const std::vector<uint8_t>& file)
{
    std::vector<int> ids;
    for (size_t at = 0; at + 2 < file.size();) {
        const size_t length = file[at] | (file[at + 1] << 8);
        ids.push_back(file[at + 2]);
        at += 2 + length;
    }
    return ids;
}

} // namespace lmtest
