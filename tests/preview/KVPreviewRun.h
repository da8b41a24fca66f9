// KVRegisterPreview.exe run as an integrator's build runs it, for the preview's suites.
//   KVPreviewOutcome   its exit status and everything it printed
//   KVRunPreview       runs it to its end with the given arguments
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct KVPreviewOutcome {
    DWORD exitCode = 0;
    std::string out;
};

// `scratch` is a folder of the test's own for what the preview prints. A preview that cannot
// be run ends with the command processor's complaint and status, which no test expects.
KVPreviewOutcome KVRunPreview(const std::vector<std::string>& args, const std::string& scratch);

