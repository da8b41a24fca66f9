// One test's private corner of the machine: its own registry key path below
// HKCU\Software\KVTest (and the same path below HKLM when a test asks for it), and its own
// temporary folder, which TMP and TEMP point at while the object lives. Both are removed
// again by the destructor, so tests never see each other's state.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class KVTestEnv {
public:
    KVTestEnv();
    ~KVTestEnv();
    KVTestEnv(const KVTestEnv&) = delete;
    KVTestEnv& operator=(const KVTestEnv&) = delete;

    // "Software\KVTest\<pid>-<n>": hand it to the code under test as its key path.
    const std::string& KeyPath() const { return keyPath_; }
    // Ends with a backslash.
    const std::string& TempFolder() const { return tempFolder_; }

    // Raw writes below KeyPath() (subKey may be empty), for arranging a test.
    void SetString(HKEY root, const std::string& subKey, const std::string& name,
                   const std::string& value) const;
    void SetDword(HKEY root, const std::string& subKey, const std::string& name, uint32_t value) const;
    void SetBinary(HKEY root, const std::string& subKey, const std::string& name,
                   const void* data, size_t size) const;
    // Raw read; false when missing.
    bool GetString(HKEY root, const std::string& subKey, const std::string& name,
                   std::string* value) const;

    // Writes a file into the temp folder and returns its full path.
    std::string WriteFile(const std::string& name, const std::string& bytes) const;

private:
    std::string keyPath_;
    std::string tempFolder_;
    std::string oldTmp_;
    std::string oldTemp_;
};

// Counts of the process's kernel, GDI and USER handles, for leak checks. Where the system
// does not count them (Wine), they are counted by probing the handle tables; the USER count
// then covers windows and menus.
struct KVHandleCounts {
    DWORD kernel = 0;
    DWORD gdi = 0;
    DWORD user = 0;
    static KVHandleCounts Now();
};
