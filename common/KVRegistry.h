// The registry settings the wizard reads, and the folder of the log.
//   KVRegistry   the settings below one key path; one key open at a time, under its own lock
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "vuda32/Synchronization/QCriticalSection.h"
#include "vuda32/System/QRegEdit.h"

class KVRegistry {
public:
    static constexpr const char* kDefaultKeyPath = "Software\\Korvane\\VerazevEzude\\2.0";
    // The saved window position travels as its 20 raw bytes; the window decides their
    // meaning, so this class does not need to know the record.
    static constexpr size_t kWindowPositionSize = 20;
    using WindowPositionBytes = std::array<uint8_t, kWindowPositionSize>;

    KVRegistry();
    explicit KVRegistry(const std::string& keyPath);
    virtual ~KVRegistry();
    KVRegistry(const KVRegistry&) = delete;
    KVRegistry& operator=(const KVRegistry&) = delete;

    // HKCU first; an empty or unreadable HKCU value defers to HKLM, whose failure is raised.
    std::string GetInstallRoot();
    // HKLM only; empty when it cannot be read.
    std::string GetCampaignID();
    // HKCU "\Debug"; a missing, unreadable or 10 value defers to HKLM "\Debug", then `def`.
    uint32_t GetLogLevel(uint32_t def);
    // HKCU "\Support"; only when that cannot be read, HKCU "\Debug"; else `def`.
    uint32_t GetDebugFlag(const std::string& name, uint32_t def);
    // HKCU "\Positions"; raises when the value is missing or of another type.
    WindowPositionBytes GetWindowPosition(const std::string& name);
    // Creates "\Positions" when needed; never raises.
    void SetWindowPosition(const std::string& name, const WindowPositionBytes& position);

    // The user's temporary folder + "Korvane\" (created if missing), or "c:\" when the
    // system reports no temporary folder. Always ends with a backslash.
    static std::string GetTempFolder();

    const std::string& GetKeyPath() const { return keyPath_; }

private:
    // Open `subKey` below `root` and read one value; the caller holds the lock and closes.
    std::string ReadString(HKEY root, const std::string& subKey, const char* name);
    uint32_t ReadNumber(HKEY root, const std::string& subKey, const std::string& name,
                        const DWORD* def);

    QRegEdit key_;
    QCriticalSection lock_;
    std::string keyPath_;
};
