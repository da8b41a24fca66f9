// The reference host's command line.
//   KVHostOptions   what a run of KVRegisterHost.exe is to do; Parse fills it from argv and
//                   Help describes every option, the server's scenarios and the exit codes
#pragma once

#include <string>
#include <vector>

#include "host/KVSimServer.h"

// How a run of the host ended, as its exit status.
enum KVHostExit : int {
    kExitFinished = 0,      // KVACTION_FINISHED: the account is registered
    kExitCancelled = 1,     // KVACTION_CANCEL: the user cancelled, or a fatal error was shown
    kExitDllError = 2,      // KVACTION_ERROR: the DLL could not run the wizard
    kExitUsage = 3,         // the command line is wrong
    kExitHostFailure = 4,   // the DLL could not be loaded, or answered what no host expects
    kExitAutopilot = 5,     // the autopilot could not do what a person would have done
};

struct KVHostOptions {
    static constexpr const char* kProductKey = "Software\\Korvane\\VerazevEzude\\2.0";

    std::string keyPath = kProductKey;
    std::string installRoot;  // written as "InstallRoot" before KVRegisterInit when set
    int logLevel = -1;        // written as "Debug\LogLevel" when 0 or more
    std::string stateFolder;  // the server's accounts and code files; empty: the host's folder
    bool fresh = false;       // forget the server's accounts first
    int runs = 1;
    KVSimSettings server;

    bool autopilot = false;
    std::string picturesFolder;
    int wrongCodes = 1;
    std::string cancelOn;  // a short page name of kPageNames, or empty
    bool help = false;

    // False with `problem` naming the option and what is wrong with it.
    bool Parse(const std::vector<std::string>& args, std::string* problem);
    static std::string Help();
};
