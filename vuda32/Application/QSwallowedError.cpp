#include "vuda32/Application/QSwallowedError.h"

#include <windows.h>

#include <atomic>
#include <exception>
#include <string>

#include "vuda32/Exception/QException.h"

namespace {
void DebuggerSink(const QException& error) {
    const ErrExcepInfo& info = error.GetFirstInfo();
    std::string text = info.typeName + " " + std::to_string(info.errorCode) + " in " +
                       info.sourceFile + " " + info.method + " line " +
                       std::to_string(info.line) + ": " + info.description + "\n";
    OutputDebugStringA(text.c_str());
}

std::atomic<SwallowedErrorSink> g_sink{nullptr};
}  // namespace

SwallowedErrorSink SetSwallowedErrorSink(SwallowedErrorSink sink) {
    return g_sink.exchange(sink);
}

void ReportSwallowedError(const QException& error) noexcept {
    try {
        SwallowedErrorSink sink = g_sink.load();
        (sink != nullptr ? sink : DebuggerSink)(error);
    } catch (...) {
    }
}

void ReportCaughtError(const char* file, const char* method, int line) noexcept {
    try {
        try {
            throw;
        } catch (const QException& e) {
            ReportSwallowedError(e);
        } catch (const std::exception& e) {
            ReportSwallowedError(
                QException(file, method, line, std::string("Unexpected exception: ") + e.what(), 0, 0));
        } catch (...) {
            ReportSwallowedError(QException(file, method, line, "Unexpected exception of unknown type", 0, 0));
        }
    } catch (...) {
        // Out of memory while describing it: nothing more can be said.
    }
}
