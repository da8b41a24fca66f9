#include "KVTestEnv.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

std::string GetEnv(const char* name) {
    char buffer[MAX_PATH * 2];
    const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return (n > 0 && n < sizeof buffer) ? std::string(buffer, n) : std::string();
}

std::string Join(const std::string& a, const std::string& b) { return b.empty() ? a : a + "\\" + b; }

void Set(HKEY root, const std::string& key, const std::string& name, DWORD type, const void* data,
         size_t size) {
    const LONG status = RegSetKeyValueA(root, key.c_str(), name.c_str(), type, data, static_cast<DWORD>(size));
    if (status != ERROR_SUCCESS) throw std::runtime_error("RegSetKeyValueA failed: " + std::to_string(status));
}

// Best effort: what cannot be removed (a file another process holds) stays.
void DeleteFolder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace

KVTestEnv::KVTestEnv() {
    static std::atomic<int> counter{0};
    const std::string id = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    keyPath_ = "Software\\KVTest\\" + id;
    // A run killed before its clean-up leaves its keys and folder behind, and Wine hands out
    // process ids again: what an earlier process left under this name is not this test's.
    RegDeleteTreeA(HKEY_CURRENT_USER, keyPath_.c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, keyPath_.c_str());

    oldTmp_ = GetEnv("TMP");
    oldTemp_ = GetEnv("TEMP");
    char base[MAX_PATH];
    const DWORD n = GetTempPathA(sizeof base, base);
    if (n == 0 || n >= sizeof base) throw std::runtime_error("GetTempPathA failed");
    tempFolder_ = std::string(base) + "kvtest-" + id + "\\";
    DeleteFolder(tempFolder_);
    if (!CreateDirectoryA(tempFolder_.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("cannot create " + tempFolder_);
    SetEnvironmentVariableA("TMP", tempFolder_.c_str());
    SetEnvironmentVariableA("TEMP", tempFolder_.c_str());
}

KVTestEnv::~KVTestEnv() {
    RegDeleteTreeA(HKEY_CURRENT_USER, keyPath_.c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, keyPath_.c_str());
    SetEnvironmentVariableA("TMP", oldTmp_.empty() ? nullptr : oldTmp_.c_str());
    SetEnvironmentVariableA("TEMP", oldTemp_.empty() ? nullptr : oldTemp_.c_str());
    DeleteFolder(tempFolder_);
}

void KVTestEnv::SetString(HKEY root, const std::string& subKey, const std::string& name,
                          const std::string& value) const {
    Set(root, Join(keyPath_, subKey), name, REG_SZ, value.c_str(), value.size() + 1);
}

void KVTestEnv::SetDword(HKEY root, const std::string& subKey, const std::string& name,
                         uint32_t value) const {
    const DWORD v = value;
    Set(root, Join(keyPath_, subKey), name, REG_DWORD, &v, sizeof v);
}

void KVTestEnv::SetBinary(HKEY root, const std::string& subKey, const std::string& name,
                          const void* data, size_t size) const {
    Set(root, Join(keyPath_, subKey), name, REG_BINARY, data, size);
}

bool KVTestEnv::GetString(HKEY root, const std::string& subKey, const std::string& name,
                          std::string* value) const {
    char buffer[4096];
    DWORD size = sizeof buffer;
    if (RegGetValueA(root, Join(keyPath_, subKey).c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                     buffer, &size) != ERROR_SUCCESS)
        return false;
    value->assign(buffer, size > 0 ? size - 1 : 0);
    return true;
}

std::string KVTestEnv::WriteFile(const std::string& name, const std::string& bytes) const {
    const std::string path = tempFolder_ + name;
    std::ofstream file(path, std::ios::binary);
    if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush())
        throw std::runtime_error("cannot write " + path);
    return path;
}

namespace {

// Wine answers GetProcessHandleCount and GetGuiResources with 0, so the tables are probed
// instead. Handles are table slots handed out lowest-free-first, so the live ones sit densely
// at the bottom: count them until a long gap. Kernel handles are multiples of 4 from 4. GDI
// and USER handles carry the slot in the low word and a generation in the high word, and a
// handle whose high word is 0 stands for whatever object holds that slot; GDI slots start at
// 32, USER slots at 32 too, two apart.
template <typename IsLive>
DWORD CountLiveHandles(ULONG_PTR first, ULONG_PTR step, IsLive isLive) {
    DWORD count = 0;
    int gap = 0;
    for (ULONG_PTR value = first; value < 0x10000 && gap < 256; value += step) {
        if (isLive(value)) {
            ++count;
            gap = 0;
        } else {
            ++gap;
        }
    }
    return count;
}

DWORD ProbeKernelHandles() {
    return CountLiveHandles(4, 4, [](ULONG_PTR v) {
        DWORD flags = 0;
        return GetHandleInformation(reinterpret_cast<HANDLE>(v), &flags) != FALSE;
    });
}

DWORD ProbeGdiObjects() {
    return CountLiveHandles(32, 1, [](ULONG_PTR v) {
        return GetObjectType(reinterpret_cast<HGDIOBJ>(v)) != 0;
    });
}

// Windows and menus: the USER objects our code makes.
DWORD ProbeUserObjects() {
    return CountLiveHandles(32, 2, [](ULONG_PTR v) {
        return IsWindow(reinterpret_cast<HWND>(v)) || IsMenu(reinterpret_cast<HMENU>(v));
    });
}

}  // namespace

KVHandleCounts KVHandleCounts::Now() {
    KVHandleCounts counts;
    if (!GetProcessHandleCount(GetCurrentProcess(), &counts.kernel) || counts.kernel == 0)
        counts.kernel = ProbeKernelHandles();
    counts.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counts.gdi == 0) counts.gdi = ProbeGdiObjects();
    counts.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (counts.user == 0) counts.user = ProbeUserObjects();
    return counts;
}
