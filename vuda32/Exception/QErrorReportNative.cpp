// Host builds (tests and tools of the platform-free core) have no system message table and
// no message box: the report goes to the error stream.
#include <cstdio>

#include "QErrorReport.h"

std::string SystemErrorText(uint32_t) { return std::string(); }

void ShowErrorBox(const std::string& caption, const std::string& body) {
    std::fprintf(stderr, "%s\n%s\n", caption.c_str(), body.c_str());
}
