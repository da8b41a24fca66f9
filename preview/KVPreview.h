// The pages of one installation folder, drawn by the wizard's own window and checked.
//   KVPreview   reads and checks register.cfg and the language files, then (when the wizard
//               would show pages at all) runs the real window on its thread under a registry
//               key of its own, shows each page by driving the model, saves it as a PNG file
//               and measures what the page shows
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "preview/KVPreviewChecks.h"
#include "preview/KVPreviewReport.h"
#include "register/view/KVRegisterConfig.h"

class KVRegisterModel;
class KVWizardDriver;

struct KVPreviewOptions {
    // The display resolution the pages must be drawn at; 0 takes the display's as it is.
    int dpi = 0;
    // Only the texts that do not fit, as warnings that name the resolution, and no pictures:
    // what a translation looks like at another display scale than the one previewed.
    bool fitWarningsOnly = false;
};

class KVPreview {
public:
    // `folder` and `output` are paths of this system; `shownFolder` is how report lines name
    // the folder (the caller's own spelling of it), empty for `folder`.
    KVPreview(std::string folder, std::string output, std::string shownFolder, KVPreviewOptions options = {});

    // Everything; what was found is in Report(), what kept it from finishing in Failure().
    void Run();
    const KVPreviewReport& Report() const { return report_; }
    KVPreviewReport& Report() { return report_; }
    const std::string& Failure() const { return failure_; }
    // The pictures written, in page order.
    const std::vector<std::string>& Pictures() const { return pictures_; }

private:
    std::string Shown(const std::string& name) const;
    bool ReadInstalled(const std::string& name, std::string& bytes) const;
    void ShowPages();
    void PlayPages(KVWizardDriver& driver, KVRegisterModel& model);
    void InspectPage(HWND wizard, int page, const std::string& pageName);
    void CheckTextFit(HWND control, const KVShownText& text, const std::string& pageName);
    // Where the checks other than the text fit report: nowhere when only that is wanted.
    KVPreviewReport& Checks() { return options_.fitWarningsOnly ? ignored_ : report_; }

    std::string folder_;
    std::string output_;
    std::string shownFolder_;
    KVRegisterConfig config_;
    KVLanguageSources sources_;
    KVPreviewOptions options_;
    KVPreviewReport report_;
    KVPreviewReport ignored_;
    // The resolution the pages were drawn at; 0 before.
    int shownDpi_ = 0;
    std::string failure_;
    std::vector<std::string> pictures_;
};
