#include "QException.h"

#include <new>

#include "QErrorReport.h"

const char* const QException::TypeName = "QException";
const char* const QGenException::TypeName = "QGenException";
const char* const QWinException::TypeName = "QWinException";
const char* const QFileException::TypeName = "QFileException";

namespace {
// The place an empty trace reports; fixed, as reports quote it (vuda32/Utility/QRaise.h).
constexpr int kLineDefaultErrExcepInfo = 311;
}  // namespace

const ErrExcepInfo& defaultErrExcepInfo() {
    static const ErrExcepInfo info = [] {
        ErrExcepInfo i;
        i.typeName = QException::TypeName;
        i.description = "Internal Excep Error: could not capture excep info.";
        i.sourceFile = ".\\Exception\\QException.cpp";
        i.method = "defaultErrExcepInfo";
        i.line = kLineDefaultErrExcepInfo;
        return i;
    }();
    return info;
}

namespace {
QAppInfo& AppInfo() {
    static QAppInfo info;
    return info;
}
}  // namespace

void SetAppInfo(uint32_t address, const char* name, const char* version, const char* disclaimer) {
    QAppInfo& info = AppInfo();
    info.address = address;
    info.name = name ? name : "";
    info.version = version ? version : "";
    info.disclaimer = disclaimer ? disclaimer : "";
}

const QAppInfo& GetAppInfo() { return AppInfo(); }

QException::QException(const std::string& file, const std::string& method, int line,
                       const std::string& description, uint32_t code, uint32_t systemError) {
    Record(TypeName, file, method, line, description, code, systemError, std::string());
}

QException::QException(const std::string& file, const std::string& method, int line,
                       const std::string& description, uint32_t code, uint32_t systemError,
                       const std::string& extraText) {
    Record(TypeName, file, method, line, description, code, systemError, extraText);
}

QException::~QException() = default;

void QException::Record(const char* typeName, const std::string& file, const std::string& method,
                        int line, const std::string& description, uint32_t code,
                        uint32_t systemError, const std::string& extraText) {
    if (!trace_.empty() && trace_.back().sourceFile == file && trace_.back().method == method)
        return;
    // An exception that cannot grow its trace (out of memory) still travels with the trace
    // it has: losing a record is better than replacing the error in flight.
    try {
        ErrExcepInfo info;
        info.typeName = typeName;
        info.errorCode = code;
        info.systemError = systemError;
        info.description = description;
        info.extraText = extraText;
        info.sourceFile = file;
        info.method = method;
        info.line = line;
        trace_.push_back(std::move(info));
    } catch (...) {
    }
}

void QException::AddInfo(const std::string& file, const std::string& method, int line,
                         const std::string& description, uint32_t code, uint32_t systemError) {
    Record(TypeName, file, method, line, description, code, systemError, std::string());
}

const ErrExcepInfo& QException::GetFirstInfo() const {
    return trace_.empty() ? defaultErrExcepInfo() : trace_.front();
}

const ErrExcepInfo& QException::GetLastInfo() const {
    return trace_.empty() ? defaultErrExcepInfo() : trace_.back();
}

void QException::ShowReport() const {
    const ErrExcepInfo& info = GetFirstInfo();
    const QErrorReport report =
        FormatErrorReport(info, GetAppInfo(), SystemErrorText(info.systemError));
    ShowErrorBox(report.caption, report.body);
}

QGenException::QGenException(const std::string& file, const std::string& method, int line,
                             uint32_t code, uint32_t systemError) {
    Record(TypeName, file, method, line, ErrorText(code), code, systemError, std::string());
}

std::string QGenException::GetErrorText(uint32_t code) const { return ErrorText(code); }

QWinException::QWinException(const std::string& file, const std::string& method, int line,
                             uint32_t code, uint32_t systemError) {
    Record(TypeName, file, method, line, ErrorText(code), code, systemError, std::string());
}

std::string QWinException::GetErrorText(uint32_t code) const { return ErrorText(code); }

QFileException::QFileException(const std::string& file, const std::string& method, int line,
                               uint32_t code, uint32_t systemError) {
    Record(TypeName, file, method, line, ErrorText(code), code, systemError, std::string());
}

QFileException::QFileException(const std::string& file, const std::string& method, int line,
                               uint32_t code, uint32_t systemError, const std::string& extraText) {
    Record(TypeName, file, method, line, ErrorText(code), code, systemError, extraText);
}

std::string QFileException::GetErrorText(uint32_t code) const { return ErrorText(code); }
