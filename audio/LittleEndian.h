#pragma once
// Numbers as RIFF, Ogg and .zip files store them: least significant byte first. The caller has
// checked that the bytes are there.

#include <cstdint>

inline uint16_t ReadLittle16(const uint8_t* at) { return uint16_t(at[0] | at[1] << 8); }

inline uint32_t ReadLittle32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}
