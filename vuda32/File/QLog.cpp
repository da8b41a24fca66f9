#include "vuda32/File/QLog.h"

#include "vuda32/Exception/QException.h"
#include "vuda32/File/QLogLine.h"

namespace {
const char* const kSource = ".\\File\\QLog.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLinePrepFile = 33;        // our own number
constexpr int kLinePrepFileAppend = 38;  // our own number
constexpr int kLineCloseFile = 67;       // our own number
constexpr int kLineLogToFile = 145;      // our own number
}

QLog::QLog()
    : initialFlags_(text_.flags()), initialFill_(text_.fill()), initialPrecision_(text_.precision()) {}

QLog::~QLog() {
    try {
        CloseFile();
    } catch (...) {
        // A destructor cannot report a failed close; the handle is gone either way.
    }
}

void QLog::Open(const std::string& fileName, bool append) {
    fileName_ = fileName;
    append_ = append;
    PrepFile();
}

void QLog::PrepFile() {
    CloseFile();
    HANDLE file = ::CreateFileA(fileName_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        throw QFileException(kSource, "PrepFile", kLinePrepFile, 6001, error);
    }
    file_ = file;
    if (append_ && ::SetFilePointer(file_, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) {
        const DWORD error = ::GetLastError();
        if (error != NO_ERROR)
            throw QFileException(kSource, "PrepFile", kLinePrepFileAppend, 6001, error);
    }
}

bool QLog::OpenNumbered(const std::string& baseName) {
    for (int n = 0; n < kFileCount; ++n) {
        try {
            Open(baseName + std::to_string(n) + ".log", false);
            return true;
        } catch (const QFileException&) {
            // Held open by another process, or the folder is unusable: try the next number.
        }
    }
    return false;
}

void QLog::Configure(uint32_t logLevel) {
    mask_ = LogMaskForLevel(logLevel);
    outputs_ = OutputFile;
    timeStamp_ = true;
    threadId_ = true;
}

void QLog::CloseFile() {
    if (file_ == INVALID_HANDLE_VALUE) return;
    HANDLE file = file_;
    file_ = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(file)) {
        const DWORD error = ::GetLastError();
        throw QFileException(kSource, "CloseFile", kLineCloseFile, 6004, error);
    }
}

std::ostream& QLog::BeginEntry(uint32_t level, const char* method) {
    lock_.Enter();
    level_ = level;
    method_ = method;
    text_.flags(initialFlags_);
    text_.fill(initialFill_);
    // Width and precision are formatting too; none of a caller's settings may carry over.
    text_.width(0);
    text_.precision(initialPrecision_);
    return text_;
}

void QLog::EndEntry() {
    // However the write ends, the entry is discarded and the lock left, so that one failed
    // write never blocks the other threads' entries.
    struct Finish {
        QLog& log;
        ~Finish() {
            log.level_ = 0;
            log.method_ = nullptr;
            log.textBuf_.Text().clear();
            log.text_.clear();
            log.lock_.Leave();
        }
    } finish{*this};
    if (method_) WriteEntry(level_, method_);
}

void QLog::WriteEntry(uint32_t level, const char* method) {
    if ((mask_ & level) == 0) return;
    QCriticalSectionLock hold(lock_);
    QLogTime time;
    const QLogTime* timeField = nullptr;
    if (timeStamp_) {
        time = LogTimeOfDay(LocalTicksNow());
        timeField = &time;
    }
    const uint32_t thread = ::GetCurrentThreadId();
    FormatLogLineStart(line_, level, timeField, threadId_ ? &thread : nullptr, method);
    if (outputs_ & OutputFile) LogToFile();
}

uint64_t QLog::LocalTicksNow() {
    // Reading the system time is a call into the system on every entry (about 0.1 us under
    // Wine, a twentieth of the write of a line); the tick count is read from memory the
    // system shares with the process. So the local time is taken once and carried on by the
    // tick count, and taken afresh once that has moved on by a second, so that a changed
    // clock or time zone shows within a second. On Windows both advance with the same timer,
    // so the lines keep the resolution the system time would give; at a resynchronisation a
    // time may repeat or step by a few milliseconds, which a diagnostic trace can bear.
    constexpr uint64_t kTicksPerMillisecond = 10000;
    constexpr uint64_t kResyncMilliseconds = 1000;
    const uint64_t now = ::GetTickCount64();
    if (!synced_ || now - syncTick_ >= kResyncMilliseconds) {
        FILETIME utc;
        FILETIME local;
        ::GetSystemTimeAsFileTime(&utc);
        if (::FileTimeToLocalFileTime(&utc, &local)) {
            localAtSync_ = (uint64_t{local.dwHighDateTime} << 32) | local.dwLowDateTime;
            syncTick_ = now;
            synced_ = true;
        } else if (!synced_) {
            return (uint64_t{utc.dwHighDateTime} << 32) | utc.dwLowDateTime;
        }
    }
    return localAtSync_ + (now - syncTick_) * kTicksPerMillisecond;
}

void QLog::LogToFile() {
    if (file_ == INVALID_HANDLE_VALUE) return;
    AppendLogText(line_, textBuf_.Text());
    DWORD written = 0;
    if (!::WriteFile(file_, line_.data(), static_cast<DWORD>(line_.size()), &written, nullptr)) {
        const DWORD error = ::GetLastError();
        throw QFileException(kSource, "LogToFile", kLineLogToFile, 6003, error);
    }
}

QLogEntry::QLogEntry(QLog* log, uint32_t level, const char* method) : log_(log) {
    if (log_) stream_ = &log_->BeginEntry(level, method);
}

QLogEntry::~QLogEntry() {
    if (!log_) return;
    try {
        log_->EndEntry();
    } catch (...) {
        // The entry is lost; the caller's work goes on.
    }
}
