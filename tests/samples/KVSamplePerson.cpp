// A person at the wizard for the packaged samples, for tools/lib/samples.sh only: the reference
// host's autopilot in a DLL. A sample built for the check links KVPersonStart.c, which loads
// this DLL on the sample's main thread before main runs; the sample itself stays as shipped.
#include <windows.h>

#include <cstdio>
#include <string>

#include "host/KVAutopilot.h"

extern "C" __declspec(dllexport) void KVSamplePersonStart() {
    // The samples' fake server always sends this code; the autopilot reads it from a file.
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    KVAutopilotPlan plan;
    plan.codeFile = std::string(folder) + "KVSamplePerson-" + std::to_string(GetCurrentProcessId()) + ".txt";
    if (FILE* code = std::fopen(plan.codeFile.c_str(), "wb")) {
        std::fputs("4711", code);
        std::fclose(code);
    }
    // Lives as long as the process: the sample ends the run and the process, never this DLL.
    KVAutopilot* person = new KVAutopilot(plan, [](const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    });
    person->StartRun();
}
