// Raising the library's exceptions right after a failed platform call.
//   RaiseGen / RaiseWin   read the system error first, then throw QGenException /
//                         QWinException with file, method, line and code
// Call them on the statement after the failing call, so that nothing can change the
// system error in between.
//
// The line a raise site reports: every place that throws a new error of the QException
// family passes a named constant, declared at the top of its file beside the one that
// names the file (kFile), as `constexpr int kLine<Point> = N;`, one per raise point.
// The numbers are the ones our error reports have always shown and support staff match
// reports against, so they stay fixed wherever the code moves; never pass a literal or
// __LINE__ there. A raise point that has no such number yet gets one of our own, marked
// so by a comment on its constant.
// Catch sites are not raise sites: one that only adds a trace record (AddInfo) or reports
// an error it caught (ReportCaughtError) passes __LINE__, the place of the catch itself.
#pragma once

#include <cstdint>

[[noreturn]] void RaiseGen(const char* file, const char* method, int line, uint32_t code);
[[noreturn]] void RaiseWin(const char* file, const char* method, int line, uint32_t code);
