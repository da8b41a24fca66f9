// KVRegisterPreview.exe <installation folder> <output folder> [<folder as reports name it>]
// Draws the wizard's pages of an installation folder into PNG files and lists every problem of
// its register.cfg and language files, one line each, then a summary. Exit status: 0 without
// errors, 1 with at least one error, 2 when the preview itself could not run.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "preview/KVPreview.h"
#include "register/entry/KVRegister.h"

namespace {

// The window library needs the one application object of the process. In a program nobody
// calls a module entry, so main hands it the program's module (its resources hold the
// built-in header image).
KVRegister g_register;

}  // namespace

int main(int argc, char** argv) {
    // Report lines end in LF alone, as the tools around the preview expect.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (argc < 3 || argc > 4) {
        std::fputs("usage: KVRegisterPreview <installation folder> <output folder> [<folder as reports name it>]\n",
                   stderr);
        return 2;
    }
    g_register.ProcessAttach(GetModuleHandleA(nullptr));
    const std::string output = argv[2];
    if (!CreateDirectoryA(output.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "KVRegisterPreview: cannot create the output folder %s\n", output.c_str());
        return 2;
    }
    KVPreview preview(argv[1], output, argc == 4 ? argv[3] : "");
    preview.Run();
    std::fputs(preview.Report().Format().c_str(), stdout);
    std::fflush(stdout);
    if (!preview.Failure().empty()) {
        std::fprintf(stderr, "KVRegisterPreview: the pages could not all be shown: %s\n", preview.Failure().c_str());
        return 2;
    }
    return preview.Report().ExitStatus();
}
