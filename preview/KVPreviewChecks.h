// The checks of the preview that need no window (no <windows.h>): register.cfg as read, the
// rules a layout must keep to be usable, the placement of a page's controls as the window
// shows them, and the mnemonics of a page's texts.
//   KVTextOrigin      where a shown text comes from: a language file's line, or a default
//   KVPlacedControl   one control of a page with the rectangle the window gave it
//   KVShownText       one label or button text of a page
// Free functions: KVFindTextOrigin, KVReportConfigProblems, KVCheckUsability,
// KVCheckGeometry, KVCheckMnemonics, KVCheckLanguageFile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "preview/KVPreviewReport.h"
#include "register/view/KVRegisterConfig.h"

struct KVTextOrigin {
    std::string file;  // the defining language file, or the main one for a default
    size_t line = 0;   // 0 for a default
    std::string key;
    // "lblMsisdn" or "lblMsisdn, default": what a report line names.
    std::string Describe() const { return line > 0 ? key : key + ", default"; }
};

// `mainFile` is where a key that no file defines would be added.
KVTextOrigin KVFindTextOrigin(const std::string& key, const KVLanguageSources& sources, const std::string& mainFile);

// Every problem of the reading (made with collectAll), as errors on their lines.
void KVReportConfigProblems(const KVRegisterConfig& config, const std::string& file, KVPreviewReport& report);

// Rules the reading does not check: the e-mail field and its confirmation go together when
// either is required (their one required bit asks for both, on one page), and with two form
// pages the e-mail field stands on the query-register page, where its address is checked.
void KVCheckUsability(const KVRegisterConfig& config, const std::string& file, KVPreviewReport& report);

struct KVPlacedControl {
    std::string name;   // the key of its text, or what it is ("the mobile number field")
    KVConfigRect rect;  // client pixels as shown; a closed country list counts without its list
    size_t line = 0;    // the register.cfg line that places it; 0 for the window's own controls
};

// Controls of the file that leave the client area or have no area, and every overlap that
// involves a control of the file (the window's own controls are laid out by the product).
void KVCheckGeometry(const std::vector<KVPlacedControl>& page, int32_t clientWidth, int32_t clientHeight,
                     const std::string& file, KVPreviewReport& report);

struct KVShownText {
    KVTextOrigin origin;
    std::string text;  // as shown, placeholders filled
};

// Two texts of one page with the same mnemonic (letters compared without case): Alt and the
// letter reaches only one of them.
void KVCheckMnemonics(const std::string& page, const std::vector<KVShownText>& texts, KVPreviewReport& report);

// Lines of a language file that an edit by hand breaks quietly: a key defined a second time
// (the first definition wins, so the later edit never shows) and a line feed without its
// carriage return (it glues two lines into one entry, so the second key goes missing).
void KVCheckLanguageFile(const std::string& file, std::string_view bytes, KVPreviewReport& report);
