// KVSampleCpp: a whole sign-up through KVRegister.dll from C++, with a fake server.
//
// The records of KVRegisterApi.h hold std::string by value, so this host must be built with the
// compiler and standard library the DLL was built with: mingw-w64 GCC with posix threads, linked
// statically. Build it in the unzipped package's folder, beside the DLLs (64-bit package shown;
// the 32-bit one takes i686-w64-mingw32-g++-posix):
//     x86_64-w64-mingw32-g++-posix -std=c++17 -Wall -static -Iinclude samples/KVSampleCpp.cpp -o KVSampleCpp.exe
// Any other compiler (Microsoft's, clang for MSVC, .NET) uses KVRegisterC.dll: see KVSampleC.c.
//
// Run KVSampleCpp.exe from that folder: it points the registry at the folder, opens the wizard
// and answers each action as a server would. The fake server's "SMS" code is always 4711.
#include <windows.h>

#include <cstdio>
#include <string>

#include "KVRegisterApi.h"

namespace {

// Each installation has its own key path: HKCU has one view for 32- and 64-bit programs.
const std::string kKeyPath = sizeof(void*) == 8 ? "Software\\Korvane\\KVSampleCpp (64-bit)"
                                                : "Software\\Korvane\\KVSampleCpp (32-bit)";
const std::string kCode = "4711";

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string file(path, length < MAX_PATH ? length : 0);
    return file.substr(0, file.find_last_of('\\'));
}

// What an installer writes: where the wizard's files are, and a log with information.
bool WriteSettings(const std::string& folder) {
    const DWORD level = 2;
    LONG status = RegSetKeyValueA(HKEY_CURRENT_USER, kKeyPath.c_str(), "InstallRoot", REG_SZ, folder.c_str(),
                                  static_cast<DWORD>(folder.size() + 1));
    if (status == ERROR_SUCCESS)
        status = RegSetKeyValueA(HKEY_CURRENT_USER, (kKeyPath + "\\Debug").c_str(), "LogLevel", REG_DWORD, &level,
                                 sizeof level);
    if (status != ERROR_SUCCESS) std::fprintf(stderr, "cannot write HKCU\\%s: error %ld\n", kKeyPath.c_str(), status);
    return status == ERROR_SUCCESS;
}

// The fake server: anyone may register, the first registration is answered "busy", and three
// wrong codes block the number.
class FakeServer {
public:
    KVResultRecord Answer(const KVActionRecord& action) {
        switch (action.Action) {
        case KVACTION_QUERYREGISTER:
            std::printf("server: %s and %s may register\n", action.Msisdn.c_str(), action.UserEmail.c_str());
            return KVResult(KVRESULT_QUERIEDREGISTER);
        case KVACTION_REGISTER:
            if (busyAnswers_ > 0) {
                --busyAnswers_;
                KVResultRecord pending = KVResult(KVRESULT_PENDING);
                pending.WaitSeconds = 2;
                pending.ResultText = "The server is busy.";
                return pending;
            }
            std::printf("server: SMS to %s: your registration code is %s\n", action.Msisdn.c_str(), kCode.c_str());
            return KVResult(KVRESULT_VALIDATE);
        case KVACTION_VALIDATE:
            if (action.RegCode == kCode) {
                KVResultRecord registered = KVResult(KVRESULT_REGISTERED);
                registered.InfoText = "Welcome!";
                return registered;
            }
            return KVServerError(++wrongCodes_ < 3 ? "InvalidRegCode" : "RegCodeBlocked",
                                 "The registration code is wrong.");
        default:
            return KVServerError("UNKNOWN ERROR", "");
        }
    }

private:
    int busyAnswers_ = 1;
    int wrongCodes_ = 0;
};

}  // namespace

int main() {
    const std::string folder = OwnFolder();
    if (!WriteSettings(folder)) return 4;
    // Loaded by name from the program's own folder, as an add-in loads it from its own.
    HMODULE dll = LoadLibraryA((folder + "\\" + kKVRegisterDllName).c_str());
    const auto init = reinterpret_cast<KVRegisterInitFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(dll, kKVRegisterInitName)));
    const auto step = reinterpret_cast<KVRegisterInternalFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(dll, kKVRegisterInternalName)));
    if (!dll || !init || !step) {
        std::fprintf(stderr, "cannot load %s from %s\n", kKVRegisterDllName, folder.c_str());
        return 4;
    }
    init(kKeyPath);

    FakeServer server;
    KVResultRecord result = KVResult(KVRESULT_NONE);
    KVActionRecord action;  // one for the whole run: texts the wizard leaves empty keep their value
    for (int number = 1;; ++number) {
        const int failed = step(&result, &action);
        std::printf("step %d: returned %d, action %d\n", number, failed, action.Action);
        switch (action.Action) {
        case KVACTION_FINISHED:
            std::printf("registered: %s, %s, %s\n", action.Msisdn.c_str(), action.UserEmail.c_str(),
                        action.UserName.c_str());
            return 0;
        case KVACTION_CANCEL:
            std::printf("cancelled\n");
            return 1;
        case KVACTION_ERROR:
            std::fprintf(stderr, "the wizard could not run: %s (%s)\n", action.ErrorText.c_str(),
                         action.ErrorKey.c_str());
            return 2;
        default:
            result = server.Answer(action);
        }
    }
}
