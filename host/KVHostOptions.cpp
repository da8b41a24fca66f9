#include "host/KVHostOptions.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool ParseCount(const std::string& text, int low, int high, int* value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    const long parsed = std::strtol(text.c_str(), nullptr, 10);
    if (parsed < low || parsed > high) return false;
    *value = static_cast<int>(parsed);
    return true;
}

}  // namespace


bool KVHostOptions::Parse(const std::vector<std::string>& args, std::string* problem) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= args.size()) {
                *problem = option + " needs a value";
                return false;
            }
            *out = args[++i];
            return true;
        };
        auto count = [&](int low, int high, int* out) {
            std::string text;
            if (!value(&text)) return false;
            if (ParseCount(text, low, high, out)) return true;
            *problem = option + " takes a number from " + std::to_string(low) + " to " + std::to_string(high) +
                       ", not \"" + text + "\"";
            return false;
        };
        bool ok = true;
        if (option == "--help" || option == "-h" || option == "/?") {
            help = true;
        } else if (option == "--key") {
            ok = value(&keyPath);
            if (ok && keyPath.empty()) {
                *problem = "--key needs a key path";
                ok = false;
            }
        } else if (option == "--install-root") {
            ok = value(&installRoot);
        } else if (option == "--log-level") {
            ok = count(0, 255, &logLevel);
        } else if (option == "--state") {
            ok = value(&stateFolder);
        } else if (option == "--fresh") {
            fresh = true;
        } else if (option == "--runs") {
            ok = count(1, 100, &runs);
        } else if (option == "--pending") {
            ok = count(0, 100, &server.pendingAnswers);
        } else if (option == "--wait") {
            int seconds = 0;
            ok = count(0, 3600, &seconds);
            server.waitSeconds = seconds;
        } else if (option == "--fail") {
            std::string text;
            KVSimFailure failure;
            ok = value(&text);
            if (ok && !KVSimServer::ParseFailure(text, &failure, problem)) {
                *problem = "--fail: " + *problem;
                ok = false;
            }
            if (ok) server.failures.push_back(failure);
        } else if (option == "--autopilot") {
            autopilot = true;
        } else if (option == "--pictures") {
            ok = value(&picturesFolder);
        } else if (option == "--wrong-codes") {
            ok = count(0, KVSimServer::kAttempts, &wrongCodes);
        } else if (option == "--cancel-on") {
            ok = value(&cancelOn);
            bool known = false;
            for (const KVPageNames& page : kPageNames)
                known = known || (page.page != KVPages::PAGE_NONE && page.shortName == cancelOn);
            if (ok && !known) {
                *problem = "--cancel-on takes query, userinfo, pending, validate or info, not \"" + cancelOn + "\"";
                ok = false;
            }
        } else {
            *problem = "unknown option \"" + option + "\" (see --help)";
            ok = false;
        }
        if (!ok) return false;
    }
    return true;
}

std::string KVHostOptions::Help() {
    std::string text =
        "KVRegisterHost: a reference host of KVRegister.dll with a simulated registration server.\n"
        "It loads KVRegister.dll from its own folder, calls KVRegisterInit with the key path, then\n"
        "KVRegisterInternal until the wizard finishes, cancels or fails, and answers every action\n"
        "with the simulated server. Each step prints one line: the result passed, the action got,\n"
        "and the fields (the password masked).\n"
        "\n"
        "Options:\n"
        "  --key PATH            registry key path of the product (default Software\\Korvane\\VerazevEzude\\2.0)\n"
        "  --install-root DIR    write \"InstallRoot\" = DIR below the key first\n"
        "  --log-level N         write \"Debug\\LogLevel\" = N below the key first\n"
        "  --runs N              sign up N times in a row (a second sign-up meets the first account)\n"
        "  --help                this text\n"
        "Server:\n"
        "  --state DIR           folder of the server's accounts.txt and regcode.txt (default: the host's)\n"
        "  --fresh               forget the accounts registered so far\n"
        "  --pending N           answer KVRESULT_PENDING N times before the code is sent (default 1)\n"
        "  --wait SECONDS        the wait that goes with KVRESULT_PENDING (default 3)\n"
        "  --fail STEP=KEY[:TEXT]  answer the error KEY (with TEXT) at the next request of STEP\n"
        "                        (query, register or validate); repeat for more\n"
        "Autopilot (plays the person at the wizard):\n"
        "  --autopilot           type and click through the sign-up\n"
        "  --pictures DIR        save NN-<page>.png of every page passed and contact-sheet.png\n"
        "  --wrong-codes N       type N wrong registration codes before the right one (default 1;\n"
        "                        3 gets the number blocked)\n"
        "  --cancel-on PAGE      press Cancel on PAGE: query, userinfo, pending, validate or info\n"
        "\n"
        "The server accepts a number and an address that have no account yet, answers the\n"
        "registration with KVRESULT_PENDING, then sends a six-digit code (printed, and written to\n"
        "regcode.txt), accepts the right code and blocks the number after three wrong ones.\n"
        "Error keys for --fail, with the server's text:\n";
    for (const KVServerErrorRule& key : kServerErrors) {
        std::string name = key.key;
        name.resize(std::max<size_t>(name.size() + 1, 24), ' ');
        text += "  " + name + key.serverText + "\n";
    }
    text +=
        "Examples:\n"
        "  --fail register=RegTaskFailed        a correctable error: the user presses Next again\n"
        "  --fail query=HTTPERROR               a fatal error: the run ends\n"
        "  --fail \"validate=SERVER NOT FOUND\"\n"
        "\n"
        "Exit status: 0 registered, 1 cancelled, 2 the DLL could not run the wizard,\n"
        "3 wrong command line, 4 the DLL could not be loaded or answered nonsense,\n"
        "5 the autopilot could not go on.\n";
    return text;
}
