#include "driver/KVPng.h"

#include <array>

namespace {

// A stored deflate block carries at most this many bytes.
const size_t kStoredBlockMax = 65535;

const std::array<uint32_t, 256>& CrcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void PutBigEndian(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value >> 24));
    out.push_back(static_cast<char>(value >> 16));
    out.push_back(static_cast<char>(value >> 8));
    out.push_back(static_cast<char>(value));
}

void PutChunk(std::string& out, const char type[4], const std::string& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.append(type, 4);
    out += data;
    const uint8_t* crcFrom = reinterpret_cast<const uint8_t*>(out.data()) + typeAt;
    PutBigEndian(out, KVPng::Crc32(crcFrom, out.size() - typeAt));
}

// A zlib stream of stored blocks: no compression, every block at most 64 KB.
std::string StoredZlib(const std::string& raw) {
    std::string out;
    out.push_back(0x78);
    out.push_back(0x01);  // with 0x78, a multiple of 31 as the header check demands
    size_t at = 0;
    do {
        const size_t n = raw.size() - at < kStoredBlockMax ? raw.size() - at : kStoredBlockMax;
        const bool last = at + n == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<char>(n & 0xFF));
        out.push_back(static_cast<char>(n >> 8));
        out.push_back(static_cast<char>(~n & 0xFF));
        out.push_back(static_cast<char>((~n >> 8) & 0xFF));
        out.append(raw, at, n);
        at += n;
    } while (at < raw.size());
    PutBigEndian(out, KVPng::Adler32(reinterpret_cast<const uint8_t*>(raw.data()), raw.size()));
    return out;
}

}  // namespace

uint32_t KVPng::Crc32(const uint8_t* data, size_t size, uint32_t crc) {
    const std::array<uint32_t, 256>& table = CrcTable();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t KVPng::Adler32(const uint8_t* data, size_t size, uint32_t adler) {
    const uint32_t kMod = 65521;
    uint32_t a = adler & 0xFFFF;
    uint32_t b = adler >> 16;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % kMod;
        b = (b + a) % kMod;
    }
    return (b << 16) | a;
}

std::string KVPng::Encode(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb) {
    // PNG sizes are at most 2^31-1; a row of pixels plus its filter byte must fit a size_t.
    const uint32_t kMaxSide = 0x7FFFFFFFu;
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return std::string();
    const uint64_t rowBytes = static_cast<uint64_t>(width) * 3;
    if (rowBytes * height != rgb.size()) return std::string();

    std::string raw;
    raw.reserve(static_cast<size_t>((rowBytes + 1) * height));
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);  // filter type None
        raw.append(reinterpret_cast<const char*>(rgb.data()) + y * rowBytes, static_cast<size_t>(rowBytes));
    }

    std::string header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header.push_back(8);  // bits per channel
    header.push_back(2);  // colour type RGB
    header.push_back(0);  // deflate
    header.push_back(0);  // adaptive filtering
    header.push_back(0);  // not interlaced

    std::string png("\x89PNG\r\n\x1a\n", 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", std::string());
    return png;
}
