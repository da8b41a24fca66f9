#include "tests/preview/KVPreviewRun.h"

#include <cstdlib>

#include "tests/common/KVReadBack.h"

KVPreviewOutcome KVRunPreview(const std::vector<std::string>& args, const std::string& scratch) {
    // The output goes to a file, not a pipe: Wine's desktop process, started by the preview's
    // first window, inherits the preview's handles and would keep a pipe open after the
    // preview has ended. The command processor takes the command without its outer quotes,
    // and would expand a "%" in an argument: none of the suites' arguments holds one.
    const std::string printed = scratch + "preview-output.txt";
    std::string command = "\"\"" KV_PREVIEW_EXE "\"";
    for (const std::string& arg : args) command += " \"" + arg + "\"";
    command += " > \"" + printed + "\" 2>&1\"";
    KVPreviewOutcome outcome;
    outcome.exitCode = static_cast<DWORD>(std::system(command.c_str()));
    outcome.out = ReadBack(printed);
    return outcome;
}
