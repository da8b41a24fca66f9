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

class KVPreview {
public:
    // `folder` and `output` are paths of this system; `shownFolder` is how report lines name
    // the folder (the caller's own spelling of it), empty for `folder`.
    KVPreview(std::string folder, std::string output, std::string shownFolder);

    // Everything; what was found is in Report(), what kept it from finishing in Failure().
    void Run();
    const KVPreviewReport& Report() const { return report_; }
    const std::string& Failure() const { return failure_; }
    // The pictures written, in page order.
    const std::vector<std::string>& Pictures() const { return pictures_; }

private:
    std::string Shown(const std::string& name) const;
    bool ReadInstalled(const std::string& name, std::string& bytes) const;
    void ShowPages();
    void PlayPages(KVWizardDriver& driver, KVRegisterModel& model);
    void InspectPage(HWND wizard, int page, const std::string& pageName);
    void CheckTextFit(HWND control, bool isButton, const RECT& shown, const KVShownText& text,
                      const std::string& pageName);

    std::string folder_;
    std::string output_;
    std::string shownFolder_;
    KVRegisterConfig config_;
    KVLanguageSources sources_;
    KVPreviewReport report_;
    std::string failure_;
    std::vector<std::string> pictures_;
};
