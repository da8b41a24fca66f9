#include "vuda32/File/QMemBuf.h"

#include <windows.h>

QMemBuf::~QMemBuf() { Free(); }

int QMemBuf::Alloc(uint32_t size) {
    Free();
    if (size == 0) return 1;
    data_ = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size));
    if (data_ == nullptr) return 0;
    size_ = size;
    return 1;
}

void QMemBuf::Free() {
    if (data_ != nullptr) HeapFree(GetProcessHeap(), 0, data_);
    data_ = nullptr;
    size_ = 0;
}
