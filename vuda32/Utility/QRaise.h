// Raising the library's exceptions right after a failed platform call.
//   RaiseGen / RaiseWin   read the system error first, then throw QGenException /
//                         QWinException with file, method, line and code
// Call them on the statement after the failing call, so that nothing can change the
// system error in between.
#pragma once

#include <cstdint>

[[noreturn]] void RaiseGen(const char* file, const char* method, int line, uint32_t code);
[[noreturn]] void RaiseWin(const char* file, const char* method, int line, uint32_t code);
