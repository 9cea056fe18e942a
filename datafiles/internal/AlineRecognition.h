#pragma once

// What the two A-Line formats' content checks share: the file type at 12 and the format's
// own signature further on.

#include "datafiles/BinaryFile.h"
#include "datafiles/ByteOrder.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace lm {

constexpr uint32_t kAlineFileType = 43521;

// Reads from offset 0 like every content check, so that the stream's block buffer, once
// filled, serves all of them.
inline bool IsAlineFile(BinaryFile& file, size_t signatureOffset, uint32_t signature)
{
    std::array<uint8_t, 3964> head;
    if (file.ReadAt(0, head.data(), signatureOffset + 4) != signatureOffset + 4)
        return false;
    return read_u32le(head.data() + 12) == kAlineFileType &&
           read_u32le(head.data() + signatureOffset) == signature;
}

} // namespace lm
