// The platform-free reader of register.cfg, the file that lays out the two form pages
// (no <windows.h>).
//   KVConfigRect           a rectangle as the file writes it (client pixels)
//   KVConfigComponent      one component read completely
//   KVConfigCheck          the checks that reject a file
//   KVConfigProblem        one rejected value, with the line it stands on and its log text
//   KVConfigDefinitionLog  one "Component definition for " line
//   KVRegisterConfig       everything the reading leaves behind
// Free functions: KVParseRegisterConfig, KVReadConfigInt.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "register/view/KVFormComponents.h"

struct KVConfigRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct KVConfigComponent {
    const KVComponentRow* row = nullptr;
    std::string idField;     // the id field as line 2 writes it
    std::string definition;  // the definition line as written
    int lineNumber = 0;      // 1-based line of the definition
    KVConfigRect label;
    bool required = false;   // edit fields only
    KVConfigRect input;      // edit fields and the country list
    KVPages::Page page = KVPages::PAGE_USERINFO;  // one of the two form pages
};

// In the order of the log texts (see KVConfigProblem::LogText).
enum class KVConfigCheck {
    UseIp,
    UserInterface,
    ControlBox,
    UnknownComponent,
    DuplicateComponent,
    Coordinate,
    Required,
    PageValue
};

struct KVConfigProblem {
    KVConfigCheck check;
    int lineNumber = 0;        // 1-based line where the wrong value stands (or would stand)
    std::string value;         // the number the log line shows in brackets, in decimal
    std::string idField;       // of the component being read, empty for a header line
    std::string definition;
    // The log line the window writes, e.g. "File read IP error UseIp [0]".
    std::string LogText() const;
};

struct KVConfigDefinitionLog {
    std::string idField, definition;
};

struct KVRegisterConfig {
    bool sizeGiven = false;
    int32_t width = 426, height = 312;
    // As read from line 3, even when rejected; only meaningful when the file did not fail.
    int32_t useIp = 0, userInterface = 0;
    bool controlBox = false;
    // Id 9 was listed, even if its own line then failed: the e-mail test is switched on
    // before the component is checked.
    bool emailPresent = false;
    std::vector<KVConfigComponent> components;       // read completely, in file order
    std::vector<KVConfigDefinitionLog> definitions;  // every component visited, the failing one too
    std::vector<KVConfigProblem> problems;           // the window acts on the first only

    bool Failed() const { return !problems.empty(); }
    // The required bits of the page's edit fields marked required.
    uint32_t RequiredMask(KVPages::Page page) const;
    // The first component of the page with an input control (it gets the focus); null if none.
    const KVConfigComponent* FirstInput(KVPages::Page page) const;
};

// Reads the file's bytes. Stops at the first problem, as the window does. With collectAll
// (for authors' previews) every problem is recorded: a bad header value and reading goes on,
// a bad component is skipped; an id counts as used from its first listing, so every later
// listing is a duplicate even if the first one failed.
KVRegisterConfig KVParseRegisterConfig(std::string_view bytes, bool collectAll = false);

// One field as a number: leading white space skipped, an optional sign, the digits up to the
// first other character; no digits read as 0. Beyond the 32-bit range the value saturates.
int32_t KVReadConfigInt(std::string_view field);
