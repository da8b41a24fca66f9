// The diagnostic log of the process.
//   QLogTextBuf the entry text's buffer: a string the log reads and empties without copying
//   QLog        one log file written entry by entry, unbuffered, under a recursive lock
//   QLogEntry   a call site's one-statement entry; does nothing when there is no log
#pragma once

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>

#include "vuda32/Synchronization/QCriticalSection.h"

class QLogTextBuf : public std::streambuf {
public:
    std::string& Text() { return text_; }

protected:
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) text_.push_back(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        text_.append(s, static_cast<size_t>(n));
        return n;
    }

private:
    std::string text_;
};

class QLog {
public:
    enum : uint32_t { LevelError = 1, LevelInfo = 4 };
    enum : uint32_t { OutputFile = 1 };
    static constexpr int kFileCount = 10;

    QLog();
    virtual ~QLog();
    QLog(const QLog&) = delete;
    QLog& operator=(const QLog&) = delete;

    // Creates the file anew (an existing one is emptied); raises QFileException 6001.
    void Open(const std::string& fileName, bool append);
    // Tries base + "0.log" to base + "9.log" and keeps the first that can be created; a file
    // held open elsewhere makes the next number be tried. False when none could be.
    bool OpenNumbered(const std::string& baseName);
    // After a successful open: the mask of `logLevel`, file output, time and thread on.
    void Configure(uint32_t logLevel);
    void CloseFile();

    void SetMask(uint32_t mask) { mask_ = mask; }
    void SetOutputs(uint32_t outputs) { outputs_ = outputs; }
    void SetTimeStamp(bool on) { timeStamp_ = on; }
    void SetThreadId(bool on) { threadId_ = on; }
    uint32_t GetMask() const { return mask_; }
    const std::string& GetFileName() const { return fileName_; }
    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }

    // Enters the lock (held until EndEntry) and hands out the stream for the entry's text.
    std::ostream& BeginEntry(uint32_t level, const char* method);
    // Writes the entry if it has a method, discards its text and leaves the lock. A failed
    // write still leaves the lock and then raises QFileException 6003.
    void EndEntry();

private:
    void PrepFile();
    void WriteEntry(uint32_t level, const char* method);
    void LogToFile();
    uint64_t LocalTicksNow();

    uint32_t mask_ = 8;
    uint32_t outputs_ = 0;
    QCriticalSection lock_;
    bool timeStamp_ = false;
    bool threadId_ = false;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::string fileName_;
    bool append_ = false;
    QLogTextBuf textBuf_;
    std::ostream text_{&textBuf_};
    std::ios_base::fmtflags initialFlags_;
    char initialFill_;
    std::streamsize initialPrecision_;
    uint32_t level_ = 0;
    const char* method_ = nullptr;
    bool synced_ = false;
    uint64_t syncTick_ = 0;     // GetTickCount64 when the local time below was taken
    uint64_t localAtSync_ = 0;  // local time then, in 100-nanosecond ticks
    std::string line_;  // reused, so an entry allocates nothing once lines stop growing
};

// One statement per entry at every call site:
//     QLogEntry(log, QLog::LevelInfo, "KVRegisterModel::NextPage") << "page " << page;
// With a null log every << is ignored. The entry is written when the statement ends; a
// failure to write is swallowed, because a log must never break the operation it records.
class QLogEntry {
public:
    QLogEntry(QLog* log, uint32_t level, const char* method);
    ~QLogEntry();
    QLogEntry(const QLogEntry&) = delete;
    QLogEntry& operator=(const QLogEntry&) = delete;

    template <typename T>
    QLogEntry& operator<<(const T& value) {
        if (stream_) *stream_ << value;
        return *this;
    }

private:
    QLog* log_;
    std::ostream* stream_ = nullptr;
};
