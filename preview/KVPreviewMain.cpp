// KVRegisterPreview.exe [options] <installation folder> <output folder> [<folder as reports name it>]
// Draws the wizard's pages of an installation folder into PNG files and lists every problem of
// its register.cfg and language files, one line each, then a summary. Exit status: 0 without
// errors, 1 with at least one error, 2 when the preview itself could not run.
// Options:
//   --dpi N            the display must run at N DPI (tools/preview sets up one that does)
//   --fit-only FILE    only the texts that do not fit, as warnings, saved into FILE; no pictures
//   --merge FILE       adds the problems another preview saved with --fit-only
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "driver/KVDpiAwareness.h"

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
    // Like the mail client that hosts the wizard: the system neither stretches the pages nor
    // hides the display's resolution from them.
    const KVDpiAwareness awareness = KVDeclareDpiAware();
    if (!awareness.perMonitor)
        std::fprintf(stderr, "KVRegisterPreview: not per-monitor DPI-aware: %s\n", awareness.description.c_str());

    KVPreviewOptions options;
    std::string fitFile, mergeFile;
    std::vector<std::string> paths;
    bool usage = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--dpi" && hasValue) {
            options.dpi = std::atoi(argv[++i]);
            usage = usage || options.dpi <= 0;
        } else if (arg == "--fit-only" && hasValue) {
            options.fitWarningsOnly = true;
            fitFile = argv[++i];
        } else if (arg == "--merge" && hasValue) {
            mergeFile = argv[++i];
        } else {
            paths.push_back(arg);
        }
    }
    if (usage || paths.size() < 2 || paths.size() > 3) {
        std::fputs("usage: KVRegisterPreview [--dpi N] [--fit-only FILE | --merge FILE] <installation folder> "
                   "<output folder> [<folder as reports name it>]\n",
                   stderr);
        return 2;
    }
    g_register.ProcessAttach(GetModuleHandleA(nullptr));
    const std::string output = paths[1];
    if (!CreateDirectoryA(output.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "KVRegisterPreview: cannot create the output folder %s\n", output.c_str());
        return 2;
    }
    KVPreview preview(paths[0], output, paths.size() == 3 ? paths[2] : "", options);
    preview.Run();
    if (!mergeFile.empty()) {
        std::ifstream in(mergeFile, std::ios::binary);
        const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "KVRegisterPreview: cannot read %s\n", mergeFile.c_str());
            return 2;
        }
        if (!preview.Report().Load(saved)) {
            std::fprintf(stderr, "KVRegisterPreview: %s holds no saved problems\n", mergeFile.c_str());
            return 2;
        }
    }
    std::fputs(preview.Report().Format().c_str(), stdout);
    std::fflush(stdout);
    if (!preview.Failure().empty()) {
        std::fprintf(stderr, "KVRegisterPreview: the pages could not all be shown: %s\n", preview.Failure().c_str());
        return 2;
    }
    if (!fitFile.empty()) {
        std::ofstream out(fitFile, std::ios::binary | std::ios::trunc);
        out << preview.Report().Save();
        if (!out.good()) {
            std::fprintf(stderr, "KVRegisterPreview: cannot write %s\n", fitFile.c_str());
            return 2;
        }
    }
    return preview.Report().ExitStatus();
}
