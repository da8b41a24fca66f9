// Screenshots as PNG files, with no compression library.
//   KVPng   encodes 8-bit RGB rows into a PNG byte stream (stored deflate blocks, so the file
//           is about as big as the pixels, which is fine for a few pictures of a test run)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class KVPng {
public:
    // `rgb` holds height rows of width pixels, 3 bytes each, top row first. Empty when the
    // sizes are 0, larger than PNG allows, or do not match the pixels given.
    static std::string Encode(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);

    // The two checksums the format asks for, exposed so that a reader can verify a file.
    static uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
    static uint32_t Adler32(const uint8_t* data, size_t size, uint32_t adler = 1);
};
