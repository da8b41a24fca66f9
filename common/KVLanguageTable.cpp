#include "common/KVLanguageTable.h"

#include <windows.h>

#include "common/KVRegistry.h"
#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/File/QFile.h"

namespace {

const char* const kSource = ".\\KVLanguageTable.cpp";

// Only exactly 1 switches the missing-entry log on.
constexpr uint32_t kLogMissingOn = 1;

uint32_t ReadLogSwitch(const std::string& keyPath) {
    try {
        KVRegistry registry(keyPath);
        return registry.GetDebugFlag("LogLangFile", 0);
    } catch (...) {
        // The table exists before anything could show an error; no switch means no log.
        ReportCaughtError(kSource, "KVLanguageTable", __LINE__);
        return 0;
    }
}

}  // namespace

KVLanguageTable::KVLanguageTable() : KVLanguageTable(KVRegistry::kDefaultKeyPath) {}

KVLanguageTable::KVLanguageTable(const std::string& keyPath)
    : logMissing_(ReadLogSwitch(keyPath)) {}

KVLanguageTable::~KVLanguageTable() { Clear(); }

void KVLanguageTable::Load(const std::string& fileName) {
    QCriticalSectionLock hold(lock_);
    LoadLocked(fileName);
}

void KVLanguageTable::LoadLocked(const std::string& fileName) {
    if (!fileName.empty()) fileName_ = fileName;
    ParseLanguageFile(QFile::ReadWhole(fileName_), entries_);
    loaded_ = true;
}

const LanguageEntry* KVLanguageTable::FindLocked(const std::string& key) {
    if (!loaded_) {
        try {
            LoadLocked(std::string());
        } catch (const QFileException&) {
            // No file yet: the callers' defaults stand in.
        }
    }
    const auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : &it->second;
}

std::optional<LanguageEntry> KVLanguageTable::Find(const std::string& key) {
    QCriticalSectionLock hold(lock_);
    const LanguageEntry* entry = FindLocked(key);
    return entry ? std::optional<LanguageEntry>(*entry) : std::nullopt;
}

std::string KVLanguageTable::GetText(const std::string& key, const std::string& defaultText) {
    MissObserver observer;
    {
        QCriticalSectionLock hold(lock_);
        if (const LanguageEntry* entry = FindLocked(key)) return entry->text;
        observer = missObserver_;
    }
    LogMissing("Missing entry: %s, default: %s", {key, defaultText});
    if (observer) {
        try {
            observer(key, defaultText);
        } catch (...) {
            // Whoever listens, the caller still gets its text.
            ReportCaughtError(kSource, "GetText", __LINE__);
        }
    }
    return ReplaceNewlines(defaultText);
}

std::string KVLanguageTable::GetText(const std::string& key,
                                     const LanguageReplacements& replacements,
                                     const std::string& defaultText) {
    return ReplacePlaceholders(GetText(key, defaultText), replacements);
}

char KVLanguageTable::GetAccelerator(const std::string& key, char defaultChar) {
    QCriticalSectionLock hold(lock_);
    const LanguageEntry* entry = FindLocked(key);
    return entry ? entry->accelerator : defaultChar;
}

void KVLanguageTable::LogMissing(const char* format, std::initializer_list<std::string_view> args) {
    QCriticalSectionLock hold(lock_);
    if (logMissing_ != kLogMissingOn) return;
    try {
        // Formatted without the platform so the 1024-byte bound of wvsprintfA holds for
        // keys and defaults of any length.
        const std::string message = FormatLimited(format ? format : "", args);
        QFile file;
        file.Create(fileName_ + ".log", GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL);
        LARGE_INTEGER end = {};
        // Lines are only ever added; one that cannot reach the end is not written at all.
        if (::SetFilePointerEx(file.GetHandle(), end, nullptr, FILE_END)) {
            file.WriteString(message, nullptr);
            file.WriteString("\r\n", nullptr);
        }
        file.Close();
    } catch (...) {
        // A translator's aid must never cost the user a text.
        ReportCaughtError(kSource, "LogMissing", __LINE__);
    }
}

void KVLanguageTable::Clear() {
    QCriticalSectionLock hold(lock_);
    entries_.clear();
    loaded_ = false;
}

void KVLanguageTable::SetMissObserver(MissObserver observer) {
    QCriticalSectionLock hold(lock_);
    missObserver_ = std::move(observer);
}

bool KVLanguageTable::IsLoaded() const {
    QCriticalSectionLock hold(lock_);
    return loaded_;
}

std::string KVLanguageTable::GetFileName() const {
    QCriticalSectionLock hold(lock_);
    return fileName_;
}

size_t KVLanguageTable::Size() const {
    QCriticalSectionLock hold(lock_);
    return entries_.size();
}
