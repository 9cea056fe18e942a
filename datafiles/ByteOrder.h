#pragma once

// Little-endian decoding and encoding of the binary formats, byte by byte, so that no
// struct is ever cast over file bytes.

#include <cstdint>
#include <cstring>

namespace lm {

inline uint16_t read_u16le(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline int16_t read_i16le(const uint8_t* p) { return int16_t(read_u16le(p)); }
inline uint32_t read_u24le(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16); }
inline uint32_t read_u32le(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline int32_t read_i32le(const uint8_t* p) { return int32_t(read_u32le(p)); }
inline uint64_t read_u48le(const uint8_t* p) { return uint64_t(read_u32le(p)) | (uint64_t(read_u16le(p + 4)) << 32); }
inline uint64_t read_u64le(const uint8_t* p) { return uint64_t(read_u32le(p)) | (uint64_t(read_u32le(p + 4)) << 32); }
inline float read_f32le(const uint8_t* p)
{
    const uint32_t bits = read_u32le(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
inline double read_f64le(const uint8_t* p)
{
    const uint64_t bits = read_u64le(p);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline void write_u16le(uint8_t* p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void write_u32le(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
inline void write_u48le(uint8_t* p, uint64_t v)
{
    write_u32le(p, uint32_t(v));
    write_u16le(p + 4, uint16_t(v >> 32));
}
inline void write_u64le(uint8_t* p, uint64_t v)
{
    write_u32le(p, uint32_t(v));
    write_u32le(p + 4, uint32_t(v >> 32));
}
inline void write_f32le(uint8_t* p, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    write_u32le(p, bits);
}
inline void write_f64le(uint8_t* p, double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    write_u64le(p, bits);
}

}  // namespace lm
