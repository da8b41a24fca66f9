#include "register/view/KVWindowPosition.h"

namespace {

// Byte by byte, so the record reads the same whatever the build's byte order and alignment.
void Put(KVWindowPosition::Bytes& bytes, std::size_t at, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

int32_t Get(const KVWindowPosition::Bytes& bytes, std::size_t at) {
    uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
    return static_cast<int32_t>(v);
}

}  // namespace

KVWindowPosition::Bytes KVWindowPosition::ToBytes() const {
    Bytes bytes{};
    Put(bytes, 0, state);
    Put(bytes, 4, left);
    Put(bytes, 8, top);
    Put(bytes, 12, width);
    Put(bytes, 16, height);
    return bytes;
}

KVWindowPosition KVWindowPosition::FromBytes(const Bytes& bytes) {
    KVWindowPosition position;
    position.state = Get(bytes, 0);
    position.left = Get(bytes, 4);
    position.top = Get(bytes, 8);
    position.width = Get(bytes, 12);
    position.height = Get(bytes, 16);
    return position;
}
