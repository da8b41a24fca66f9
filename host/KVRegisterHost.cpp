// KVRegisterHost.exe: the reference host of KVRegister.dll. It does what the add-in does
// (load the DLL from its own folder, KVRegisterInit, then KVRegisterInternal until the wizard
// stops) and answers every action with a simulated registration server.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "driver/KVDpiAwareness.h"
#include "host/KVAutopilot.h"
#include "host/KVHostOptions.h"
#include "host/KVHostReport.h"
#include "host/KVRegisterLibrary.h"
#include "host/KVSimServer.h"
#include "include/KVRegisterApi.h"
#include "register/model/KVStepRules.h"

namespace {

std::mutex g_printLock;

// Lines of the host's thread and the autopilot's interleave whole.
void Print(const std::string& line) {
    std::lock_guard<std::mutex> lock(g_printLock);
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

void PrintError(const std::string& line) {
    std::lock_guard<std::mutex> lock(g_printLock);
    std::fputs(("KVRegisterHost: " + line + "\n").c_str(), stderr);
    std::fflush(stderr);
}

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

// The folder and those above it that are missing; false when it still does not exist.
bool MakeFolders(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos && slash > 0 && path[slash - 1] != ':') MakeFolders(path.substr(0, slash));
    if (CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return true;
    PrintError("cannot create the folder " + path + ": " + KVSystemErrorText(GetLastError()));
    return false;
}

// The values an installer would have written, for a key path that no installer has seen.
bool WriteSettings(const KVHostOptions& options) {
    auto write = [&options](const std::string& subKey, const char* name, DWORD type, const void* data, DWORD size) {
        const std::string path = options.keyPath + subKey;
        HKEY key = nullptr;
        LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                      nullptr);
        if (status == ERROR_SUCCESS) {
            status = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
            RegCloseKey(key);
        }
        if (status != ERROR_SUCCESS)
            PrintError("cannot write HKCU\\" + path + " \"" + name +
                       "\": " + KVSystemErrorText(static_cast<DWORD>(status)));
        return status == ERROR_SUCCESS;
    };
    bool ok = true;
    if (!options.installRoot.empty()) {
        const std::string root = FullPath(options.installRoot);
        ok = write("", "InstallRoot", REG_SZ, root.c_str(), static_cast<DWORD>(root.size() + 1)) && ok;
    }
    if (options.logLevel >= 0) {
        const DWORD level = static_cast<DWORD>(options.logLevel);
        ok = write("\\Debug", "LogLevel", REG_DWORD, &level, sizeof level) && ok;
    }
    return ok;
}

bool AsksServer(int32_t action) {
    return action == KVACTION_QUERYREGISTER || action == KVACTION_REGISTER || action == KVACTION_VALIDATE;
}

KVHostExit ExitFor(int32_t action) {
    switch (action) {
    case KVACTION_FINISHED: return kExitFinished;
    case KVACTION_CANCEL: return kExitCancelled;
    case KVACTION_ERROR: return kExitDllError;
    default: return kExitHostFailure;
    }
}

// One sign-up: steps until the wizard stops, each answered by the server.
KVHostExit RunOnce(const KVRegisterLibrary& library, const KVSimSettings& settings, KVAutopilot* autopilot,
                   int32_t* lastAction) {
    KVSimServer server(settings, [](const std::string& note) { Print("server: " + note); });
    KVResultRecord result;
    KVActionRecord action;
    std::string road;
    KVHostExit exit = kExitHostFailure;
    if (autopilot) autopilot->StartRun();
    for (int step = 1;; ++step) {
        action.Action = -1;  // a step that sets none is seen as such
        const int returned = library.Step(result, action);
        Print(KVHostReport::StepLine(step, result, action));
        road += (road.empty() ? "" : " ") + KVHostReport::RoadEntry(result, action);
        *lastAction = action.Action;
        if (KVEndsRun(action.Action)) {
            exit = ExitFor(action.Action);
            break;
        }
        if (returned != 0 || !AsksServer(action.Action)) {
            // The wizard may still be on screen: nothing a host could answer would be right.
            PrintError("step " + std::to_string(step) + " returned " + std::to_string(returned) + " with " +
                       KVHostReport::ActionName(action.Action) + ", which no host expects");
            break;
        }
        result = server.Answer(action);
    }
    Print("road: " + road);
    if (autopilot) {
        const std::string failure = autopilot->EndRun();
        if (!failure.empty()) {
            PrintError("autopilot: " + failure);
            if (exit != kExitHostFailure) exit = kExitAutopilot;
        }
    }
    return exit;
}

int Main(const std::vector<std::string>& args) {
    KVHostOptions options;
    std::string problem;
    if (!options.Parse(args, &problem)) {
        PrintError(problem);
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(KVHostOptions::Help().c_str(), stdout);
        return kExitFinished;
    }

    // Like the mail client it stands for: the system neither stretches the wizard nor hides
    // the display's resolution from it.
    const KVDpiAwareness awareness = KVDeclareDpiAware();
    if (!awareness.perMonitor) Print("host: not per-monitor DPI-aware: " + awareness.description);

    const std::string folder = OwnFolder();
    const std::string state = FullPath(options.stateFolder.empty() ? folder : options.stateFolder);
    if (!MakeFolders(state)) return kExitHostFailure;
    options.server.accountsFile = state + "\\accounts.txt";
    options.server.codeFile = state + "\\regcode.txt";
    if (options.fresh) {
        DeleteFileA(options.server.accountsFile.c_str());
        DeleteFileA(options.server.codeFile.c_str());
    }
    if (!WriteSettings(options)) return kExitHostFailure;

    // As an add-in holds it: loaded by name from the add-in's folder.
    KVRegisterLibrary library(folder + "\\" + kKVRegisterDllName);
    if (!library.Problem().empty()) {
        PrintError(library.Problem());
        return kExitHostFailure;
    }
    library.Init(options.keyPath);
    Print("host: KVRegisterInit(\"" + options.keyPath + "\"); the server keeps its accounts in " +
          options.server.accountsFile + " and sends codes to " + options.server.codeFile);

    std::unique_ptr<KVAutopilot> autopilot;
    if (options.autopilot) {
        KVAutopilotPlan plan;
        plan.wrongCodes = options.wrongCodes;
        plan.cancelOn = options.cancelOn;
        plan.codeFile = options.server.codeFile;
        if (!options.picturesFolder.empty()) {
            plan.picturesFolder = FullPath(options.picturesFolder);
            if (!MakeFolders(plan.picturesFolder)) return kExitHostFailure;
        }
        // The person waits out the server's pending time, and then some.
        plan.waitLimitMs = static_cast<uint32_t>(std::max(30, options.server.waitSeconds + 20)) * 1000u;
        autopilot = std::make_unique<KVAutopilot>(plan, Print);
    }

    KVHostExit exit = kExitFinished;
    int32_t lastAction = -1;
    for (int run = 1; run <= options.runs && exit != kExitHostFailure; ++run) {
        if (options.runs > 1) Print("run " + std::to_string(run));
        exit = RunOnce(library, options.server, autopilot.get(), &lastAction);
    }
    if (autopilot && !options.picturesFolder.empty()) Print("pictures: " + FullPath(options.picturesFolder));
    Print("end: " + KVHostReport::ActionName(lastAction) + ", exit " + std::to_string(exit));
    return exit;
}

}  // namespace

int main(int argc, char** argv) {
    // Plain line ends, so that the lines read the same in a Unix terminal and a log.
    _setmode(_fileno(stdout), _O_BINARY);
    try {
        return Main(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        PrintError(e.what());
    } catch (...) {
        PrintError("failed with an unknown exception");
    }
    return kExitHostFailure;
}
