// The saved place of the wizard window.
//   KVWindowPosition   state, left, top, width and height, stored as 20 bytes (five
//                      little-endian 32-bit integers) under "RegisterWindow"
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct KVWindowPosition {
    static constexpr std::size_t kSize = 20;
    using Bytes = std::array<uint8_t, kSize>;

    int32_t state = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;

    Bytes ToBytes() const;
    static KVWindowPosition FromBytes(const Bytes& bytes);
};
