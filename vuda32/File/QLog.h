// The diagnostic log of the process.
//   QLogTextBuf the entry text's buffer: reused room the log reads and empties without copying
//   QLog        one log file written entry by entry, unbuffered, under a recursive lock
//   QLogEntry   a call site's one-statement entry; does nothing when there is no log
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <type_traits>

#include "vuda32/File/QLogLine.h"
#include "vuda32/Synchronization/QCriticalSection.h"

class QLogTextBuf : public std::streambuf {
public:
    std::string_view Text() const { return std::string_view(room_.data(), size_); }
    // Text that cannot hold a zero byte (a C string's characters, digits), appended by the
    // log itself without the stream.
    void AppendPlain(const char* s, size_t n) {
        if (room_.size() - size_ < n) Grow(n);
        CopyLogChars(&room_[size_], s, n);
        size_ += n;
    }
    // Whether anything came through the stream, which may carry a zero byte.
    bool Streamed() const { return streamed_; }
    void Clear() {
        size_ = 0;
        streamed_ = false;
    }

protected:
    int_type overflow(int_type c) override {
        streamed_ = true;
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const char ch = traits_type::to_char_type(c);
            AppendPlain(&ch, 1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        streamed_ = true;
        AppendPlain(s, static_cast<size_t>(n));
        return n;
    }

private:
    void Grow(size_t n) { room_.resize(std::max(2 * room_.size(), size_ + n + 64)); }

    std::string room_;  // reused; only its first size_ characters are the text
    size_t size_ = 0;
    bool streamed_ = false;
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
    // The stream keeps the locale it was made with; it must not be imbued with another.
    // Inline, so that the method's length is counted when the program is compiled for the
    // string literal every call site passes.
    std::ostream& BeginEntry(uint32_t level, const char* method) {
        return BeginEntry(level, method, method ? std::char_traits<char>::length(method) : 0);
    }
    // The same with the length of `method` given.
    std::ostream& BeginEntry(uint32_t level, const char* method, size_t methodSize);
    // For QLogEntry, between BeginEntry and EndEntry: the same as inserting the value into
    // the stream. While the stream has the formatting BeginEntry gave it, they append the
    // characters themselves: the stream's sentry and number facet cost about 30 ns under
    // Wine for "page ", a number and " shown", more than formatting the rest of the line.
    void InsertText(const char* text) {
        if (text && text_.rdstate() == 0 && text_.width() == 0 && !text_.tie()) {
            try {
                textBuf_.AppendPlain(text, std::char_traits<char>::length(text));
            } catch (...) {
                text_.setstate(std::ios_base::badbit);  // as the stream does: the entry goes on
            }
        } else {
            text_ << text;
        }
    }
    template <typename Int>
    void InsertNumber(Int value) {
        if (!PlainNumbers()) {
            text_ << value;  // in its own type: -1 in hex depends on the type's width
            return;
        }
        bool negative = false;
        auto magnitude = static_cast<unsigned long long>(value);
        if constexpr (std::is_signed_v<Int>) {
            negative = value < 0;
            if (negative) magnitude = 0ull - magnitude;
        }
        AppendNumber(negative, magnitude);
    }
    // Writes the entry if it has a method, discards its text and leaves the lock. A failed
    // write still leaves the lock and then raises QFileException 6003.
    void EndEntry();

private:
    bool PlainNumbers() const {
        return classicLocale_ && text_.rdstate() == 0 && text_.width() == 0 && !text_.tie() &&
               text_.flags() == initialFlags_;
    }
    void AppendNumber(bool negative, unsigned long long magnitude);
    void PrepFile();
    void WriteEntry(uint32_t level, std::string_view method);
    void LogToFile(const char* line, DWORD size);
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
    bool classicLocale_;  // numbers may then be written by hand: no grouping, plain digits
    uint32_t level_ = 0;
    const char* method_ = nullptr;
    size_t methodSize_ = 0;
    bool synced_ = false;
    uint64_t syncTick_ = 0;     // GetTickCount64 when the local time below was taken
    uint64_t localAtSync_ = 0;  // local time then, in 100-nanosecond ticks
    std::string line_;  // the line's buffer, reused; its size is the room, not the line
};

// One statement per entry at every call site:
//     QLogEntry(log, QLog::LevelInfo, "KVRegisterModel::NextPage") << "page " << page;
// With a null log every << is ignored. The entry is written when the statement ends; a
// failure to write is swallowed, because a log must never break the operation it records.
class QLogEntry {
public:
    QLogEntry(QLog* log, uint32_t level, const char* method) : log_(log) {
        if (log_) stream_ = &log_->BeginEntry(level, method);
    }
    ~QLogEntry();
    QLogEntry(const QLogEntry&) = delete;
    QLogEntry& operator=(const QLogEntry&) = delete;

    template <typename T>
    QLogEntry& operator<<(const T& value) {
        if (stream_) *stream_ << value;
        return *this;
    }
    // The most common insertions, which the log can append without the stream's machinery.
    QLogEntry& operator<<(const char* text) {
        if (stream_) log_->InsertText(text);
        return *this;
    }
    QLogEntry& operator<<(int value) { return Number(value); }
    QLogEntry& operator<<(long value) { return Number(value); }
    QLogEntry& operator<<(long long value) { return Number(value); }
    QLogEntry& operator<<(unsigned value) { return Number(value); }
    QLogEntry& operator<<(unsigned long value) { return Number(value); }
    QLogEntry& operator<<(unsigned long long value) { return Number(value); }

private:
    template <typename Int>
    QLogEntry& Number(Int value) {
        if (stream_) log_->InsertNumber(value);
        return *this;
    }

    QLog* log_;
    std::ostream* stream_ = nullptr;
};
