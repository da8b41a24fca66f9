#include "common/KVRegistry.h"

#include <windows.h>

#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"

namespace {

const char* const kSource = ".\\KVRegistry.cpp";
const char* const kDebug = "\\Debug";
const char* const kSupport = "\\Support";
const char* const kPositions = "\\Positions";
// GetLogLevel's marker for "not set in the user's hive".
constexpr uint32_t kLogLevelUnset = 10;
constexpr DWORD kTempPathBuffer = 128;

// Closes the key however the reading ends; a failed close must not hide the reading's own
// result, and the next operation opens afresh anyway.
class KeyCloser {
public:
    explicit KeyCloser(QRegEdit& key) : key_(key) {}
    ~KeyCloser() {
        try {
            key_.CloseKey();
        } catch (...) {
            ReportCaughtError(kSource, "KeyCloser", __LINE__);
        }
    }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

private:
    QRegEdit& key_;
};

}  // namespace

KVRegistry::KVRegistry() : KVRegistry(kDefaultKeyPath) {}

KVRegistry::KVRegistry(const std::string& keyPath) : keyPath_(keyPath) {}

KVRegistry::~KVRegistry() = default;

std::string KVRegistry::ReadString(HKEY root, const std::string& subKey, const char* name) {
    std::string value;
    key_.OpenKey(root, subKey, KEY_READ);
    key_.GetValue(name, value, nullptr);
    return value;
}

uint32_t KVRegistry::ReadNumber(HKEY root, const std::string& subKey, const std::string& name,
                                const DWORD* def) {
    DWORD value = 0;
    key_.OpenKey(root, subKey, KEY_READ);
    key_.GetValue(name, value, def);
    return value;
}

std::string KVRegistry::GetInstallRoot() {
    QCriticalSectionLock hold(lock_);
    KeyCloser closer(key_);
    std::string root;
    try {
        root = ReadString(HKEY_CURRENT_USER, keyPath_, "InstallRoot");
    } catch (const QException&) {
        // The machine's value below stands in for any problem of the user's.
    }
    if (!root.empty()) return root;
    try {
        return ReadString(HKEY_LOCAL_MACHINE, keyPath_, "InstallRoot");
    } catch (QException& e) {
        e.AddInfo(kSource, "GetInstallRoot", __LINE__, "", 0, 0);
        throw;
    }
}

std::string KVRegistry::GetCampaignID() {
    QCriticalSectionLock hold(lock_);
    KeyCloser closer(key_);
    try {
        return ReadString(HKEY_LOCAL_MACHINE, keyPath_, "CampaignID");
    } catch (const QException&) {
        return std::string();
    }
}

uint32_t KVRegistry::GetLogLevel(uint32_t def) {
    QCriticalSectionLock hold(lock_);
    KeyCloser closer(key_);
    uint32_t level = kLogLevelUnset;
    try {
        level = ReadNumber(HKEY_CURRENT_USER, keyPath_ + kDebug, "LogLevel", nullptr);
    } catch (const QException&) {
        level = kLogLevelUnset;
    }
    if (level != kLogLevelUnset) return level;
    try {
        const DWORD fallback = def;
        return ReadNumber(HKEY_LOCAL_MACHINE, keyPath_ + kDebug, "LogLevel", &fallback);
    } catch (const QException&) {
        return def;
    }
}

uint32_t KVRegistry::GetDebugFlag(const std::string& name, uint32_t def) {
    QCriticalSectionLock hold(lock_);
    KeyCloser closer(key_);
    const DWORD fallback = def;
    try {
        return ReadNumber(HKEY_CURRENT_USER, keyPath_ + kSupport, name, &fallback);
    } catch (const QException&) {
        // "\Support" cannot be read: the switch may still be set under "\Debug".
    }
    try {
        return ReadNumber(HKEY_CURRENT_USER, keyPath_ + kDebug, name, &fallback);
    } catch (const QException&) {
        return def;
    }
}

KVRegistry::WindowPositionBytes KVRegistry::GetWindowPosition(const std::string& name) {
    QCriticalSectionLock hold(lock_);
    KeyCloser closer(key_);
    WindowPositionBytes position{};
    try {
        key_.OpenKey(HKEY_CURRENT_USER, keyPath_ + kPositions, KEY_READ);
        key_.GetValue(name, position.data(), static_cast<DWORD>(position.size()));
    } catch (QException& e) {
        e.AddInfo(kSource, "GetWindowPosition", __LINE__, "", 0, 0);
        throw;
    }
    return position;
}

void KVRegistry::SetWindowPosition(const std::string& name, const WindowPositionBytes& position) {
    QCriticalSectionLock hold(lock_);
    KeyCloser closer(key_);
    try {
        DWORD disposition = 0;
        key_.CreateKey(&disposition, HKEY_CURRENT_USER, keyPath_ + kPositions, KEY_ALL_ACCESS);
        key_.SetValue(name, position.data(), static_cast<DWORD>(position.size()));
    } catch (const QException&) {
        // Losing a window position only costs the user a centred window next time.
    }
}

std::string KVRegistry::GetTempFolder() {
    char buffer[kTempPathBuffer] = {};
    const DWORD length = ::GetTempPathA(kTempPathBuffer, buffer);
    // 0 is a failure; a length beyond the buffer means the path did not fit, which leaves
    // no folder either.
    if (length == 0 || length >= kTempPathBuffer) return "c:\\";
    std::string folder(buffer, length);
    if (folder.back() != '\\') folder += '\\';
    folder += "Korvane\\";
    // Usually exists already; the path is used either way.
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}
