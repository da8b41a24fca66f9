// Whole-file reads and writes over one platform file handle.
//   QFile  owns one file handle (CreateFileA / CloseHandle) and the name it was opened with
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class QMemBuf;

// Every failure raises QFileException with the system error of the failing call. Bytes are
// read and written as they are: no line splitting, no character or line-end conversion.
class QFile {
public:
    QFile() = default;
    virtual ~QFile();
    QFile(const QFile&) = delete;
    QFile& operator=(const QFile&) = delete;

    // Opens or creates name (no security attributes, no template). On failure the file
    // stays closed and the exception carries the name.
    void Create(const std::string& name, DWORD access, DWORD shareMode, DWORD creationDisposition,
                DWORD flagsAndAttributes);
    void Close();

    uint32_t GetSize();
    // Reallocates buffer to the file's size and fills it from the current position.
    void Read(QMemBuf& buffer);
    // 1, or 2 when buffer is empty and nothing was written.
    int Write(const QMemBuf& buffer);
    // Reads the whole file. Without temporary every byte is kept, zero bytes included; through
    // a temporary block the text ends at the first zero byte.
    void ReadString(std::string& text, uint32_t* bytesRead, bool throughTemporary);
    // Writes the characters as they are (no terminator, no line end): 1, or 2 when text is empty.
    int WriteString(const std::string& text, uint32_t* bytesWritten);
    // Opens name for reading (others may read it too), reads every byte and closes it; raises
    // as the step that failed.
    static std::string ReadWhole(const std::string& name);

    bool IsOpen() const { return handle_ != nullptr; }
    HANDLE GetHandle() const { return handle_; }
    const std::string& GetFileName() const { return name_; }

private:
    int WriteBytes(const void* data, uint32_t size, uint32_t* bytesWritten, const char* method,
                   int line);

    std::string name_;
    HANDLE handle_ = nullptr;
};
