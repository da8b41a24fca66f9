// The reference host's autopilot: a person at the wizard, played by the shared wizard driver
// on its own thread while the host makes its steps on the host's thread.
//   KVAutopilotPlan   what the person types, how many wrong codes, where to cancel, pictures
//   KVAutopilot       plays one run at a time; saves NN-<page>.png of every page it passes
//                     and contact-sheet.png of the first picture of each page
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>

#include "driver/KVRgbImage.h"
#include "driver/KVWizardDriver.h"

struct KVAutopilotPlan {
    std::string msisdn = "+4791234567";
    std::string email = "kari@example.no";
    std::string name = "Kari Nordmann";
    std::string password = "fjord-2024";
    std::string contactPerson = "Ola Nordmann";
    int wrongCodes = 1;
    std::string cancelOn;      // a short page name ("validate"), or empty
    std::string codeFile;      // where the server's "SMS" lands
    std::string picturesFolder;  // an existing folder, or empty: no pictures
    uint32_t waitLimitMs = 30000;  // longest the person waits for the wizard to move on
};

class KVAutopilot {
public:
    using Say = std::function<void(const std::string&)>;

    KVAutopilot(KVAutopilotPlan plan, Say say);
    KVAutopilot(const KVAutopilot&) = delete;
    KVAutopilot& operator=(const KVAutopilot&) = delete;

    // Before the first step of a run, on the host's thread (its message boxes are watched).
    void StartRun();
    // After the last step of the run: waits for the person to leave, then writes the contact
    // sheet. Empty when all went as a person would have it, else what went wrong.
    std::string EndRun();

private:
    void Play(KVWizardDriver& d);
    void Act(KVWizardDriver& d, KVPages::Page page);
    void Snap(KVWizardDriver& d, KVPages::Page page);
    void Cancel(KVWizardDriver& d, const std::string& why);
    std::string RightCode() const;
    void WriteContactSheet();

    KVAutopilotPlan plan_;
    Say say_;
    KVWizardDriver driver_;
    DWORD hostThread_ = 0;
    std::atomic<bool> runEnded_{false};

    // Driver thread only, while a run plays.
    int codesTyped_ = 0;
    KVPages::Page submitted_ = KVPages::PAGE_NONE;
    std::map<KVPages::Page, int> errors_;
    int picture_ = 0;
    std::map<KVPages::Page, KVRgbImage> firsts_;
};
