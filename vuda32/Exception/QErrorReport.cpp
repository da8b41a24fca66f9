#include "QErrorReport.h"

#include <cstdio>

QErrorReport FormatErrorReport(const ErrExcepInfo& info, const QAppInfo& app,
                               const std::string& systemText) {
    char code[16];
    char system[16];
    std::snprintf(code, sizeof code, "0x%x", static_cast<unsigned>(info.errorCode));
    std::snprintf(system, sizeof system, "0x%08x", static_cast<unsigned>(info.systemError));

    QErrorReport report;
    report.caption = app.name + " - Error !";
    std::string& b = report.body;
    b += app.disclaimer + "\n";
    b += "Application: " + app.name + "\n";
    b += "Application address: " + std::to_string(app.address) + "\n";
    b += "Version: " + app.version + "\n";
    b += "Exception type: " + info.typeName + "\n";
    b += std::string("Error Code: ") + code + "\n";
    b += "Error Description: " + info.description + "\n";
    b += std::string("Win32 Error Code: ") + system + "\n";
    // The system's text keeps its own line end, so a blank-looking line follows it.
    b += "Win32 Error description: " +
         (systemText.empty() ? std::string("No Error Message for this Error!") : systemText) + "\n";
    b += "File: " + info.sourceFile + "\n";
    b += "Method: " + info.method + "\n";
    b += "Line: " + std::to_string(info.line);
    return report;
}
