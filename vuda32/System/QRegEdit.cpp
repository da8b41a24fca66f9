#include "vuda32/System/QRegEdit.h"

#include <shlwapi.h>

#include <cstring>

#include "vuda32/Exception/QException.h"

namespace {

const char kSource[] = ".\\System\\QRegEdit.cpp";

// Error codes of the registry block.
constexpr uint32_t kOpenFailed = 1501;
constexpr uint32_t kSetFailed = 1502;
constexpr uint32_t kGetFailed = 1503;
constexpr uint32_t kWrongType = 1504;
constexpr uint32_t kDeleteValueFailed = 1505;
constexpr uint32_t kCreateFailed = 1506;
constexpr uint32_t kCloseFailed = 1507;
constexpr uint32_t kDeleteKeyFailed = 1508;

// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineCloseKey = 80;
constexpr int kLineCreateKey = 105;
constexpr int kLineDeleteKey = 125;
constexpr int kLineDeleteKeyAndSubKeys = 145;
constexpr int kLineDeleteValue = 165;
constexpr int kLineEnumValue = 201;
constexpr int kLineStringWrongType = 237;
constexpr int kLineStringFailed = 250;
constexpr int kLineNumberWrongType = 279;
constexpr int kLineNumberFailed = 290;
constexpr int kLineBinaryWrongType = 315;
constexpr int kLineBinaryFailed = 320;
constexpr int kLineGetValueLen = 345;
constexpr int kLineOpenKey = 371;
constexpr int kLineOpenKeyTwoRoots = 405;
constexpr int kLineQueryInfoKey = 428;
constexpr int kLineSetString = 449;
constexpr int kLineSetNumber = 470;
constexpr int kLineSetBinary = 492;

// The first name or text length tried before asking the registry for the real one.
constexpr DWORD kFirstTry = 255;

[[noreturn]] void Raise(const char* method, int line, uint32_t code, LONG result) {
    throw QGenException(kSource, method, line, code, static_cast<uint32_t>(result));
}

// A value that exists answers with its type even when the area is too small for its data,
// so a type mismatch is told apart from a read failure whatever the stored length.
bool Found(LONG result) { return result == ERROR_SUCCESS || result == ERROR_MORE_DATA; }

// Text read from the registry ends at its first zero byte or at its reported length.
void CutAtZero(std::string& text, size_t length) {
    const size_t limit = length < text.size() ? length : text.size();
    text.resize(strnlen(text.data(), limit));
}

// ERROR_SUCCESS when subKey holds no values, else why it must stay. Some shell versions
// delete an "empty" key that still holds values, which would lose them.
LONG HoldsNoValues(HKEY key, const std::string& subKey) {
    HKEY sub = nullptr;
    LONG result = RegOpenKeyExA(key, subKey.c_str(), 0, KEY_QUERY_VALUE, &sub);
    if (result != ERROR_SUCCESS) return result;
    DWORD values = 0;
    result = RegQueryInfoKeyA(sub, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                              nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(sub);
    if (result == ERROR_SUCCESS && values > 0) result = ERROR_KEY_HAS_CHILDREN;
    return result;
}

}  // namespace

QRegEdit::~QRegEdit() {
    if (key_ != nullptr) RegCloseKey(key_);
}

void QRegEdit::OpenKey(HKEY root, const std::string& subKey, REGSAM access) {
    CloseKey();
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExA(root, subKey.c_str(), 0, access, &key);
    if (result != ERROR_SUCCESS) Raise("OpenKey", kLineOpenKey, kOpenFailed, result);
    key_ = key;
}

bool QRegEdit::OpenKey(HKEY firstRoot, HKEY secondRoot, const std::string& subKey, REGSAM access) {
    CloseKey();
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(firstRoot, subKey.c_str(), 0, access, &key);
    const bool fromSecond = result == ERROR_FILE_NOT_FOUND;
    if (fromSecond) result = RegOpenKeyExA(secondRoot, subKey.c_str(), 0, access, &key);
    if (result != ERROR_SUCCESS) Raise("OpenKey", kLineOpenKeyTwoRoots, kOpenFailed, result);
    key_ = key;
    return fromSecond;
}

void QRegEdit::CreateKey(DWORD* disposition, HKEY root, const std::string& subKey, REGSAM access) {
    CloseKey();
    HKEY key = nullptr;
    const LONG result = RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        access, nullptr, &key, disposition);
    if (result != ERROR_SUCCESS) Raise("CreateKey", kLineCreateKey, kCreateFailed, result);
    key_ = key;
}

void QRegEdit::CloseKey() {
    if (key_ == nullptr) return;
    const LONG result = RegCloseKey(key_);
    key_ = nullptr;
    if (result != ERROR_SUCCESS) Raise("CloseKey", kLineCloseKey, kCloseFailed, result);
}

void QRegEdit::QueryInfoKey(DWORD& subKeyCount, DWORD& valueCount) {
    const LONG result = RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, &subKeyCount, nullptr,
                                         nullptr, &valueCount, nullptr, nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) {
        // A key that cannot say what it holds is given up, and released rather than leaked.
        if (key_ != nullptr) RegCloseKey(key_);
        key_ = nullptr;
        Raise("QueryInfoKey", kLineQueryInfoKey, kGetFailed, result);
    }
}

void QRegEdit::DeleteKey(const std::string& subKey) {
    LONG result = HoldsNoValues(key_, subKey);
    if (result == ERROR_SUCCESS) result = static_cast<LONG>(SHDeleteEmptyKeyA(key_, subKey.c_str()));
    if (result != ERROR_SUCCESS) Raise("DeleteKey", kLineDeleteKey, kDeleteKeyFailed, result);
}

void QRegEdit::DeleteKeyAndSubKeys(const std::string& subKey) {
    const LONG result = static_cast<LONG>(SHDeleteKeyA(key_, subKey.c_str()));
    if (result != ERROR_SUCCESS)
        Raise("DeleteKeyAndSubKeys", kLineDeleteKeyAndSubKeys, kDeleteKeyFailed, result);
}

void QRegEdit::DeleteValue(const std::string& name) {
    const LONG result = RegDeleteValueA(key_, name.c_str());
    if (result != ERROR_SUCCESS) Raise("DeleteValue", kLineDeleteValue, kDeleteValueFailed, result);
}

DWORD QRegEdit::GetValueLen(const std::string& name) {
    DWORD size = 0;
    const LONG result = RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, &size);
    if (result != ERROR_SUCCESS) Raise("GetValueLen", kLineGetValueLen, kGetFailed, result);
    return size;
}

void QRegEdit::GetValue(const std::string& name, DWORD& value, const DWORD* defaultValue) {
    DWORD number = 0;
    DWORD type = REG_NONE;
    DWORD size = sizeof number;
    const LONG result = RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&number), &size);
    if (Found(result) && type != REG_DWORD) {
        value = 0;
        Raise("GetValue", kLineNumberWrongType, kWrongType, ERROR_SUCCESS);
    }
    if (result == ERROR_FILE_NOT_FOUND && defaultValue != nullptr) {
        value = *defaultValue;
        return;
    }
    if (result != ERROR_SUCCESS) Raise("GetValue", kLineNumberFailed, kGetFailed, result);
    value = number;
}

void QRegEdit::GetValue(const std::string& name, void* buffer, DWORD size) {
    DWORD type = REG_NONE;
    const LONG result =
        RegQueryValueExA(key_, name.c_str(), nullptr, &type, static_cast<BYTE*>(buffer), &size);
    if (Found(result) && type != REG_BINARY)
        Raise("GetValue", kLineBinaryWrongType, kWrongType, ERROR_SUCCESS);
    if (result != ERROR_SUCCESS) Raise("GetValue", kLineBinaryFailed, kGetFailed, result);
}

void QRegEdit::GetValue(const std::string& name, std::string& value, const char* defaultText) {
    DWORD type = REG_NONE;
    DWORD size = kFirstTry;
    value.assign(size, '\0');
    LONG result = RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(&value[0]), &size);
    if (result == ERROR_MORE_DATA) {
        value.assign(size, '\0');
        result = RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(&value[0]), &size);
    }
    if (Found(result) && type != REG_SZ) {
        value.clear();
        Raise("GetValue", kLineStringWrongType, kWrongType, ERROR_SUCCESS);
    }
    if (result == ERROR_FILE_NOT_FOUND && defaultText != nullptr) {
        value = defaultText;
        return;
    }
    CutAtZero(value, result == ERROR_SUCCESS ? size : value.size());
    if (result != ERROR_SUCCESS) Raise("GetValue", kLineStringFailed, kGetFailed, result);
}

void QRegEdit::SetValue(const std::string& name, const std::string& value) {
    SetRaw(name, REG_SZ, value.data(), static_cast<DWORD>(value.size()), kLineSetString);
}

void QRegEdit::SetValue(const std::string& name, DWORD value) {
    SetRaw(name, REG_DWORD, &value, sizeof value, kLineSetNumber);
}

void QRegEdit::SetValue(const std::string& name, const void* data, DWORD size) {
    SetRaw(name, REG_BINARY, data, size, kLineSetBinary);
}

void QRegEdit::SetRaw(const std::string& name, DWORD type, const void* data, DWORD size, int line) {
    const LONG result =
        RegSetValueExA(key_, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    if (result != ERROR_SUCCESS) Raise("SetValue", line, kSetFailed, result);
}

bool QRegEdit::EnumValue(DWORD index, std::string& name, DWORD& type) {
    DWORD length = kFirstTry;
    name.assign(length, '\0');
    LONG result = RegEnumValueA(key_, index, &name[0], &length, nullptr, &type, nullptr, nullptr);
    if (result == ERROR_MORE_DATA) {
        // The registry does not always report the length it needs; names are at most
        // 16383 characters.
        length = length > kFirstTry ? length + 1 : 16384;
        name.assign(length, '\0');
        result = RegEnumValueA(key_, index, &name[0], &length, nullptr, &type, nullptr, nullptr);
    }
    CutAtZero(name, result == ERROR_SUCCESS ? length : name.size());
    if (result == ERROR_NO_MORE_ITEMS) return false;
    if (result != ERROR_SUCCESS) Raise("EnumValue", kLineEnumValue, kGetFailed, result);
    return true;
}
