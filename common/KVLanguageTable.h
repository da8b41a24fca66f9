// The texts of every window and message, by key, with compiled-in defaults.
//   KVLanguageTable   the process-wide table filled from the language files
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/KVLanguageFile.h"
#include "vuda32/Synchronization/QCriticalSection.h"

class KVLanguageTable {
public:
    // Hears of every text looked up that no file defines, with the default as the caller
    // gave it; for authors' tools. Called on the looking-up thread, so it guards itself.
    using MissObserver = std::function<void(const std::string& key, const std::string& defaultText)>;

    // Reads the missing-entry switch "LogLangFile" below `keyPath` once, now.
    KVLanguageTable();
    explicit KVLanguageTable(const std::string& keyPath);
    virtual ~KVLanguageTable();
    KVLanguageTable(const KVLanguageTable&) = delete;
    KVLanguageTable& operator=(const KVLanguageTable&) = delete;

    // The one table of the process, built (and its switch read) on the first call.
    static KVLanguageTable& Instance();

    // Adds the entries of a file (an empty name reloads the current one). Raises
    // QFileException when the file cannot be opened or read; the entries stay as they were.
    void Load(const std::string& fileName);
    // Until a load has succeeded, every look-up first tries to load the current file.
    std::optional<LanguageEntry> Find(const std::string& key);

    std::string GetText(const std::string& key, const std::string& defaultText);
    std::string GetText(const std::string& key, const LanguageReplacements& replacements,
                        const std::string& defaultText);
    // 0 when the text has no accelerator; `defaultChar` when the key is missing (not logged).
    char GetAccelerator(const std::string& key, char defaultChar);

    // Appends one line to the file name + ".log" when "LogLangFile" is 1; never fails.
    void LogMissing(const char* format, std::initializer_list<std::string_view> args);
    void Clear();
    // An empty observer removes it.
    void SetMissObserver(MissObserver observer);

    bool IsLoaded() const;
    std::string GetFileName() const;
    size_t Size() const;

private:
    void LoadLocked(const std::string& fileName);
    const LanguageEntry* FindLocked(const std::string& key);

    // Both threads of a run look texts up, and the first look-up may load a file: every
    // member below is used under the lock. Observers are called outside it.
    mutable QCriticalSection lock_;
    LanguageEntries entries_;
    std::string fileName_ = "language.txt";
    bool loaded_ = false;
    uint32_t logMissing_ = 0;
    MissObserver missObserver_;
};
