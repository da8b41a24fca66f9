#include "vuda32/File/QLog.h"

#include "vuda32/Exception/QException.h"
#include "vuda32/File/QLogLine.h"

#include <locale>

namespace {
const char* const kSource = ".\\File\\QLog.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLinePrepFile = 33;        // our own number
constexpr int kLinePrepFileAppend = 38;  // our own number
constexpr int kLineCloseFile = 67;       // our own number
constexpr int kLineLogToFile = 145;      // our own number
}

QLog::QLog()
    : initialFlags_(text_.flags()),
      initialFill_(text_.fill()),
      initialPrecision_(text_.precision()),
      classicLocale_(text_.getloc() == std::locale::classic()) {}

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

std::ostream& QLog::BeginEntry(uint32_t level, const char* method, size_t methodSize) {
    lock_.Enter();
    level_ = level;
    method_ = method;
    methodSize_ = methodSize;
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
            log.methodSize_ = 0;
            log.textBuf_.Clear();
            log.text_.clear();
            log.lock_.Leave();
        }
    } finish{*this};
    if (method_) WriteEntry(level_, std::string_view(method_, methodSize_));
}

void QLog::AppendNumber(bool negative, unsigned long long magnitude) {
    // What the stream's number facet writes in the classic locale with decimal output.
    char digits[21];
    char* first = digits + sizeof digits;
    do {
        *--first = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) *--first = '-';
    try {
        textBuf_.AppendPlain(first, static_cast<size_t>(digits + sizeof digits - first));
    } catch (...) {
        text_.setstate(std::ios_base::badbit);  // as the stream does: the entry goes on
    }
}

void QLog::WriteEntry(uint32_t level, std::string_view method) {
    if ((mask_ & level) == 0) return;
    // The lock is held since BeginEntry; entering it again here would cost 13 ns under Wine.
    QLogTime time;
    const QLogTime* timeField = nullptr;
    if (timeStamp_) {
        time = LogTimeOfDay(LocalTicksNow());
        timeField = &time;
    }
    const uint32_t thread = ::GetCurrentThreadId();
    const std::string_view text = textBuf_.Text();
    // The line is formatted straight into line_, which only ever grows, so that an entry
    // allocates nothing once lines stop growing and no field checks the room left.
    const size_t most = LogLineMaxSize(method.size(), text.size());
    if (line_.size() < most) line_.resize(most);
    char* const begin = &line_[0];
    char* end = FormatLogLineStart(begin, level, timeField, threadId_ ? &thread : nullptr, method);
    end = AppendLogText(end, text, textBuf_.Streamed());
    if (outputs_ & OutputFile) LogToFile(begin, static_cast<DWORD>(end - begin));
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

void QLog::LogToFile(const char* line, DWORD size) {
    if (file_ == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (!::WriteFile(file_, line, size, &written, nullptr)) {
        const DWORD error = ::GetLastError();
        throw QFileException(kSource, "LogToFile", kLineLogToFile, 6003, error);
    }
}

QLogEntry::~QLogEntry() {
    if (!log_) return;
    try {
        log_->EndEntry();
    } catch (...) {
        // The entry is lost; the caller's work goes on.
    }
}
