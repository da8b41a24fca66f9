// Errors that cannot be raised because they happen where nothing may unwind (destructors,
// window and hook procedures) go to one sink.
//   SwallowedErrorSink       receives such an error; must not throw
//   SetSwallowedErrorSink    the application installs its log here
//   ReportSwallowedError     hands an error to the sink
//   ReportCaughtError        hands the exception being handled to the sink, whatever its type
#pragma once

class QException;

using SwallowedErrorSink = void (*)(const QException& error);

// Returns the previous sink. Null restores the default, which writes the raising site to
// the debugger output (the library itself has no log).
SwallowedErrorSink SetSwallowedErrorSink(SwallowedErrorSink sink);
void ReportSwallowedError(const QException& error) noexcept;
// Inside a catch block only: hands whatever was caught to the sink, a foreign exception as a
// record of the place that caught it with its text.
void ReportCaughtError(const char* file, const char* method, int line) noexcept;
