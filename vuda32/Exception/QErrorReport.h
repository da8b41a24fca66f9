// The error report of an exception as plain text, apart from the box that shows it.
#pragma once

#include <string>

#include "QException.h"

struct QErrorReport {
    std::string caption;
    std::string body;
};

// systemText is the operating system's message for the record's system error, taken as it
// comes; an empty one is replaced by the fixed "no message" text.
QErrorReport FormatErrorReport(const ErrExcepInfo& info, const QAppInfo& app,
                               const std::string& systemText);

// Platform half, one implementation per platform: the system's message text for an error
// number (empty when it has none), and the modal box.
std::string SystemErrorText(uint32_t systemError);
void ShowErrorBox(const std::string& caption, const std::string& body);
