#include "tests/preview/KVPreviewRun.h"

#include <gtest/gtest.h>

#include "tests/common/KVReadBack.h"

KVPreviewOutcome KVRunPreview(const std::vector<std::string>& args, const std::string& scratch) {
    KVPreviewOutcome outcome;
    // The output goes to a file, not a pipe: Wine's desktop process, started by the preview's
    // first window, inherits the preview's handles and would keep a pipe open after the
    // preview has ended.
    const std::string printed = scratch + "preview-output.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(printed.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot create " << printed;
        return outcome;
    }
    STARTUPINFOA start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = file;
    start.hStdError = file;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string command = "\"" KV_PREVIEW_EXE "\"";
    for (const std::string& arg : args) command += " \"" + arg + "\"";
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process);
    CloseHandle(file);
    if (!started) {
        ADD_FAILURE() << "cannot start " << command;
        return outcome;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &outcome.exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    outcome.out = ReadBack(printed);
    return outcome;
}
