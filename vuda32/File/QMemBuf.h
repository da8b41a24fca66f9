// Heap memory for whole-file reads.
//   QMemBuf  owns one block of process-heap memory and its size
#pragma once

#include <cstdint>

class QMemBuf {
public:
    QMemBuf() = default;
    virtual ~QMemBuf();
    QMemBuf(const QMemBuf&) = delete;
    QMemBuf& operator=(const QMemBuf&) = delete;

    // Replaces the block with one of size bytes: 1, or 0 when the heap refuses (the buffer is
    // then empty). Size 0 leaves no memory and succeeds.
    int Alloc(uint32_t size);
    void Free();

    char* GetData() { return data_; }
    const char* GetData() const { return data_; }
    uint32_t GetSize() const { return size_; }

private:
    char* data_ = nullptr;
    uint32_t size_ = 0;
};
