#include "common/KVLanguageTable.h"

#include <windows.h>

#include "common/KVRegistry.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/File/QFile.h"

namespace {

// Only exactly 1 switches the missing-entry log on.
constexpr uint32_t kLogMissingOn = 1;

uint32_t ReadLogSwitch(const std::string& keyPath) {
    try {
        KVRegistry registry(keyPath);
        return registry.GetDebugFlag("LogLangFile", 0);
    } catch (...) {
        // The table exists before anything could show an error; no switch means no log.
        return 0;
    }
}

}  // namespace

KVLanguageTable::KVLanguageTable() : KVLanguageTable(KVRegistry::kDefaultKeyPath) {}

KVLanguageTable::KVLanguageTable(const std::string& keyPath)
    : logMissing_(ReadLogSwitch(keyPath)) {}

KVLanguageTable::~KVLanguageTable() { Clear(); }

void KVLanguageTable::Load(const std::string& fileName) {
    if (!fileName.empty()) fileName_ = fileName;
    std::string bytes;
    {
        QFile file;
        file.Create(fileName_, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
        file.ReadString(bytes, nullptr, false);
        file.Close();
    }
    ParseLanguageFile(bytes, entries_);
    loaded_ = true;
}

const LanguageEntry* KVLanguageTable::Find(const std::string& key) {
    if (!loaded_) {
        try {
            Load(std::string());
        } catch (const QFileException&) {
            // No file yet: the callers' defaults stand in.
        }
    }
    const auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : &it->second;
}

std::string KVLanguageTable::GetText(const std::string& key, const std::string& defaultText) {
    if (const LanguageEntry* entry = Find(key)) return entry->text;
    LogMissing("Missing entry: %s, default: %s", {key, defaultText});
    if (missObserver_) {
        try {
            missObserver_(key, defaultText);
        } catch (...) {
            // Whoever listens, the caller still gets its text.
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
    const LanguageEntry* entry = Find(key);
    return entry ? entry->accelerator : defaultChar;
}

void KVLanguageTable::LogMissing(const char* format, std::initializer_list<std::string_view> args) {
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
    }
}

void KVLanguageTable::Clear() {
    entries_.clear();
    loaded_ = false;
}
