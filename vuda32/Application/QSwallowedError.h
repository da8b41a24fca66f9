// Errors that cannot be raised because they happen where nothing may unwind (destructors,
// window and hook procedures) go to one sink.
//   SwallowedErrorSink       receives such an error; must not throw
//   SetSwallowedErrorSink    the application installs its log here
//   ReportSwallowedError     hands an error to the sink
#pragma once

class QException;

using SwallowedErrorSink = void (*)(const QException& error);

// Returns the previous sink. Null restores the default, which writes the raising site to
// the debugger output (the library itself has no log).
SwallowedErrorSink SetSwallowedErrorSink(SwallowedErrorSink sink);
void ReportSwallowedError(const QException& error) noexcept;
