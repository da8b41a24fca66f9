// Typed values under one open registry key.
//   QRegEdit  owns one open registry key (RegOpenKeyExA or RegCreateKeyExA / RegCloseKey)
#pragma once

#include <windows.h>

#include <string>

// Every failure raises QGenException whose system error is the registry call's own result.
// Value types: REG_SZ strings, REG_DWORD numbers, REG_BINARY bytes; reading a value stored
// with another type raises 1504.
class QRegEdit {
public:
    QRegEdit() = default;
    virtual ~QRegEdit();
    QRegEdit(const QRegEdit&) = delete;
    QRegEdit& operator=(const QRegEdit&) = delete;

    // Each open or create first closes the key held; after a failure none is held.
    void OpenKey(HKEY root, const std::string& subKey, REGSAM access);
    // Opens under firstRoot, or under secondRoot when firstRoot lacks the key: true when the
    // key came from secondRoot.
    bool OpenKey(HKEY firstRoot, HKEY secondRoot, const std::string& subKey, REGSAM access);
    // disposition (may be null) receives REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY.
    void CreateKey(DWORD* disposition, HKEY root, const std::string& subKey, REGSAM access);
    void CloseKey();

    // On failure the key is given up.
    void QueryInfoKey(DWORD& subKeyCount, DWORD& valueCount);
    // Deletes subKey only when it holds no sub-keys and no values.
    void DeleteKey(const std::string& subKey);
    void DeleteKeyAndSubKeys(const std::string& subKey);
    void DeleteValue(const std::string& name);

    DWORD GetValueLen(const std::string& name);
    // A missing value gives *defaultValue when one is given, else raises 1503.
    void GetValue(const std::string& name, DWORD& value, const DWORD* defaultValue);
    // Reads a binary value of at most size bytes.
    void GetValue(const std::string& name, void* buffer, DWORD size);
    // A missing value gives defaultText when one is given, else raises 1503.
    void GetValue(const std::string& name, std::string& value, const char* defaultText);

    // Stores the characters without a terminating zero.
    void SetValue(const std::string& name, const std::string& value);
    void SetValue(const std::string& name, DWORD value);
    void SetValue(const std::string& name, const void* data, DWORD size);

    // Name and type of the value at index; false past the last value.
    bool EnumValue(DWORD index, std::string& name, DWORD& type);

    bool IsOpen() const { return key_ != nullptr; }
    HKEY GetKey() const { return key_; }

private:
    void SetRaw(const std::string& name, DWORD type, const void* data, DWORD size, int line);

    HKEY key_ = nullptr;
};
