#include "vuda32/File/QFile.h"

#include <cstring>
#include <utility>

#include "vuda32/Exception/QException.h"
#include "vuda32/File/QMemBuf.h"

namespace {

const char kSource[] = ".\\File\\QFile.cpp";

// Error codes of the file table.
constexpr uint32_t kOpenFailed = 3000;
constexpr uint32_t kReadFailed = 3001;
constexpr uint32_t kWriteFailed = 3002;
constexpr uint32_t kCloseFailed = 3003;
constexpr uint32_t kSizeFailed = 3004;

// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineClose = 64;
constexpr int kLineCreate = 89;
constexpr int kLineGetSize = 121;
constexpr int kLineRead = 155;
constexpr int kLineReadString = 198;
constexpr int kLineWrite = 252;
constexpr int kLineWriteString = 289;

// ReadFile wants a buffer even for zero bytes.
void* Target(void* data) {
    static char none;
    return data != nullptr ? data : &none;
}

}  // namespace

QFile::~QFile() {
    if (handle_ != nullptr) CloseHandle(handle_);
}

void QFile::Create(const std::string& name, DWORD access, DWORD shareMode,
                   DWORD creationDisposition, DWORD flagsAndAttributes) {
    // Callers close before opening again; should one forget, the old handle is released
    // rather than lost.
    if (handle_ != nullptr) {
        CloseHandle(handle_);
        handle_ = nullptr;
    }
    name_ = name;
    HANDLE handle = CreateFileA(name.c_str(), access, shareMode, nullptr, creationDisposition,
                                flagsAndAttributes, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        throw QFileException(kSource, "Create", kLineCreate, kOpenFailed, error, name);
    }
    handle_ = handle;
}

void QFile::Close() {
    if (handle_ == nullptr) return;
    HANDLE handle = std::exchange(handle_, nullptr);
    name_.clear();
    if (!CloseHandle(handle)) {
        const DWORD error = GetLastError();
        throw QFileException(kSource, "Close", kLineClose, kCloseFailed, error);
    }
}

uint32_t QFile::GetSize() {
    const DWORD size = GetFileSize(handle_, nullptr);
    if (size == INVALID_FILE_SIZE) {
        const DWORD error = GetLastError();
        throw QFileException(kSource, "GetSize", kLineGetSize, kSizeFailed, error);
    }
    return size;
}

void QFile::Read(QMemBuf& buffer) {
    const uint32_t size = GetSize();
    // The heap sets no system error; report what it means.
    if (!buffer.Alloc(size))
        throw QFileException(kSource, "Read", kLineRead, kReadFailed, ERROR_NOT_ENOUGH_MEMORY);
    DWORD read = 0;
    if (!ReadFile(handle_, Target(buffer.GetData()), size, &read, nullptr)) {
        const DWORD error = GetLastError();
        buffer.Free();
        throw QFileException(kSource, "Read", kLineRead, kReadFailed, error);
    }
    // The block has the file's size; fewer bytes (the file shrank, or this handle has read
    // before) would leave the rest of it undefined, so that is a failed read too.
    if (read != size) {
        buffer.Free();
        throw QFileException(kSource, "Read", kLineRead, kReadFailed, ERROR_HANDLE_EOF);
    }
}

std::string QFile::ReadWhole(const std::string& name) {
    QFile file;
    file.Create(name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    std::string bytes;
    file.ReadString(bytes, nullptr, false);
    file.Close();
    return bytes;
}

void QFile::ReadString(std::string& text, uint32_t* bytesRead, bool throughTemporary) {
    const uint32_t size = GetSize();
    QMemBuf block;
    char* target = nullptr;
    if (throughTemporary) {
        if (!block.Alloc(size)) {
            text.clear();
            throw QFileException(kSource, "ReadString", kLineReadString, kReadFailed,
                                 ERROR_NOT_ENOUGH_MEMORY);
        }
        target = block.GetData();
    } else {
        text.resize(size);
        target = &text[0];
    }
    DWORD read = 0;
    if (!ReadFile(handle_, Target(target), size, &read, nullptr)) {
        const DWORD error = GetLastError();
        // Either way the caller is left with no text, never with an older or half-read one.
        text.clear();
        throw QFileException(kSource, "ReadString", kLineReadString, kReadFailed, error);
    }
    if (!throughTemporary) {
        text.resize(read);
    } else {
        // A file without a zero byte still ends at the end of what was read.
        const char* data = block.GetData();
        text.assign(data != nullptr ? data : "", read == 0 ? 0 : strnlen(data, read));
    }
    if (bytesRead != nullptr) *bytesRead = read;
}

int QFile::Write(const QMemBuf& buffer) {
    return WriteBytes(buffer.GetData(), buffer.GetSize(), nullptr, "Write", kLineWrite);
}

int QFile::WriteString(const std::string& text, uint32_t* bytesWritten) {
    return WriteBytes(text.data(), static_cast<uint32_t>(text.size()), bytesWritten,
                      "WriteString", kLineWriteString);
}

int QFile::WriteBytes(const void* data, uint32_t size, uint32_t* bytesWritten, const char* method,
                      int line) {
    if (bytesWritten != nullptr) *bytesWritten = 0;
    if (size == 0) return 2;
    DWORD written = 0;
    if (!WriteFile(handle_, data, size, &written, nullptr)) {
        const DWORD error = GetLastError();
        throw QFileException(kSource, method, line, kWriteFailed, error);
    }
    if (bytesWritten != nullptr) *bytesWritten = written;
    return 1;
}
