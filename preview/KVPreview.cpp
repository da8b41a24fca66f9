#include "preview/KVPreview.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <utility>

#include "common/KVLanguageTable.h"
#include "driver/KVTextFit.h"
#include "driver/KVWindowText.h"
#include "driver/KVWizardDriver.h"
#include "register/entry/KVRegister.h"
#include "register/model/KVRegisterModel.h"
#include "register/view/KVDpiLayout.h"
#include "register/view/KVFormComponents.h"
#include "register/view/KVRegisterViewWindow.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/File/QFile.h"

namespace {

const char kConfigFile[] = "register.cfg";
const char kCompanyFile[] = "registercompany.lang";
const char kMainFile[] = "register.lang";
const char kPreviewKey[] = "Software\\KVRegisterPreview";

// The pictures of the pages, named by their number and title ("1-query-register.png").
std::string PictureOf(const KVPageNames& page) {
    return std::to_string(page.page) + "-" + page.title + ".png";
}

// What a person would have typed and the server returned, so that fields and placeholders
// show texts of a usual length.
const char kSampleMsisdn[] = "46701234567";
const char kSampleEmail[] = "firstname.lastname@example.com";

// The preview's own key below HKCU with "InstallRoot", removed with everything below it.
class PreviewKey {
public:
    explicit PreviewKey(const std::string& installRoot)
        : path_(std::string(kPreviewKey) + "\\" + std::to_string(GetCurrentProcessId())) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot create the registry key HKCU\\" + path_);
        const LONG set = RegSetValueExA(key, "InstallRoot", 0, REG_SZ, reinterpret_cast<const BYTE*>(installRoot.c_str()),
                                        static_cast<DWORD>(installRoot.size() + 1));
        RegCloseKey(key);
        if (set != ERROR_SUCCESS) throw std::runtime_error("cannot write InstallRoot below HKCU\\" + path_);
    }
    ~PreviewKey() {
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        // Only when no other preview runs now.
        RegDeleteKeyA(HKEY_CURRENT_USER, kPreviewKey);
    }
    PreviewKey(const PreviewKey&) = delete;
    PreviewKey& operator=(const PreviewKey&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Every key the window looked up that no file defines, once, in the order of the first miss.
class MissRecorder {
public:
    MissRecorder() {
        KVLanguageTable::Instance().SetMissObserver([this](const std::string& key, const std::string& defaultText) {
            std::lock_guard<std::mutex> hold(lock_);
            for (const auto& miss : misses_)
                if (miss.first == key) return;
            misses_.emplace_back(key, defaultText);
        });
    }
    ~MissRecorder() { KVLanguageTable::Instance().SetMissObserver(nullptr); }
    MissRecorder(const MissRecorder&) = delete;
    MissRecorder& operator=(const MissRecorder&) = delete;
    std::vector<std::pair<std::string, std::string>> Misses() {
        std::lock_guard<std::mutex> hold(lock_);
        return misses_;
    }

private:
    std::mutex lock_;
    std::vector<std::pair<std::string, std::string>> misses_;
};

KVConfigRect ClientRectOf(HWND control, HWND wizard) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, wizard, reinterpret_cast<POINT*>(&r), 2);
    return KVConfigRect{r.left, r.top, r.right, r.bottom};
}

}  // namespace

KVPreview::KVPreview(std::string folder, std::string output, std::string shownFolder, KVPreviewOptions options)
    : folder_(std::move(folder)), output_(std::move(output)), shownFolder_(std::move(shownFolder)), options_(options) {
    while (folder_.size() > 1 && (folder_.back() == '\\' || folder_.back() == '/')) folder_.pop_back();
    if (shownFolder_.empty()) shownFolder_ = folder_;
    while (shownFolder_.size() > 1 && (shownFolder_.back() == '\\' || shownFolder_.back() == '/'))
        shownFolder_.pop_back();
}

std::string KVPreview::Shown(const std::string& name) const {
    // The caller's own separator: a Unix path reads as one.
    const char separator = shownFolder_.find('/') != std::string::npos ? '/' : '\\';
    return shownFolder_ + separator + name;
}

bool KVPreview::ReadInstalled(const std::string& name, std::string& bytes) const {
    try {
        bytes = QFile::ReadWhole(folder_ + "\\" + name);
        return true;
    } catch (const QException&) {
        return false;
    }
}

void KVPreview::Run() {
    // Pictures of an earlier preview would pass for pages this one did not draw.
    if (!options_.fitWarningsOnly)
        for (const KVPageNames& page : kPageNames)
            if (page.page != KVPages::PAGE_NONE) DeleteFileA((output_ + "\\" + PictureOf(page)).c_str());
    const std::string configFile = Shown(kConfigFile);
    std::string bytes;
    const bool configRead = ReadInstalled(kConfigFile, bytes);
    if (configRead) {
        config_ = KVParseRegisterConfig(bytes, true);
        KVReportConfigProblems(config_, configFile, Checks());
        KVCheckUsability(config_, configFile, Checks());
    } else {
        Checks().Error(configFile, 0, "cannot be read: the wizard shows no page", folder_);
    }

    // In the order the wizard loads them: the company's wording wins.
    if (ReadInstalled(kCompanyFile, bytes)) {
        KVCheckLanguageFile(Shown(kCompanyFile), bytes, Checks());
        sources_.AddFile(Shown(kCompanyFile), bytes);
    }
    const bool mainRead = ReadInstalled(kMainFile, bytes);
    if (mainRead) {
        KVCheckLanguageFile(Shown(kMainFile), bytes, Checks());
        sources_.AddFile(Shown(kMainFile), bytes);
    } else
        Checks().Error(Shown(kMainFile), 0, "cannot be read: the wizard stops with errMissingOrCorruptFile", folder_);

    if (!configRead || config_.Failed() || !mainRead) {
        report_.Note("no pages drawn: the wizard would show none");
        return;
    }
    try {
        ShowPages();
    } catch (const std::exception& e) {
        failure_ = e.what();
    } catch (const QException& e) {
        failure_ = "the window library failed: " + e.GetFirstInfo().description;
    }
    std::string note = std::to_string(pictures_.size()) + (pictures_.size() == 1 ? " page drawn" : " pages drawn");
    if (options_.fitWarningsOnly) note = "texts checked";
    // At 96 DPI the summary reads as it always has.
    if (shownDpi_ != 0 && (shownDpi_ != KVDpiScale::kBaseDpi || options_.fitWarningsOnly))
        note += " at " + std::to_string(shownDpi_) + " DPI";
    report_.Note(note);
}

void KVPreview::ShowPages() {
    PreviewKey key(folder_);
    MissRecorder misses;
    KVRegister* app = KVRegister::Get();
    if (app == nullptr) throw std::runtime_error("no application object");
    app->Init(key.Path());
    if (app->Initialize() != 0) throw std::runtime_error("the language files could not be loaded");

    KVRegisterModel model(key.Path());
    const bool countryService = model.Initialize(std::string()) == 0;
    bool countryList = false;
    for (const KVConfigComponent& c : config_.components) countryList = countryList || c.row->kind == KVComponentKind::Country;
    if (!countryService && countryList)
        Checks().Warning(Shown("KVCountryCodes.dll"), 0,
                         "the country service does not start: the country list stays empty and disabled", folder_);

    {
        KVRegisterViewWindow window(model, key.Path());
        if (!window.IsFailed()) window.StartThread();
        if (!window.IsFailed()) window.Show();
        if (window.IsFailed()) {
            window.Close(KVRegister::kCloseTimeoutMs);
            throw std::runtime_error("the wizard window could not be built");
        }
        KVWizardDriver driver;
        driver.Play([this, &model](KVWizardDriver& d) { PlayPages(d, model); });
        const std::string played = driver.Await();
        window.Close(KVRegister::kCloseTimeoutMs);
        if (!played.empty()) throw std::runtime_error(played);
    }

    for (const auto& [missing, defaultText] : misses.Misses())
        Checks().Warning(Shown(kMainFile), 0, "the key is not defined, the default is shown",
                         missing + " = " + KVQuote(defaultText));
}

void KVPreview::PlayPages(KVWizardDriver& driver, KVRegisterModel& model) {
    shownDpi_ = KVDpiLayout::WindowDpi(driver.WaitForWizard());
    if (options_.dpi != 0 && shownDpi_ != options_.dpi)
        throw KVDriverError("the display runs at " + std::to_string(shownDpi_) + " DPI, not at " +
                            std::to_string(options_.dpi) + " (tools/preview --dpi " + std::to_string(options_.dpi) +
                            " sets up a display at that resolution)");
    // Filled as a person would have filled them, through the model the window observes.
    model.SetMsisdn(kSampleMsisdn);
    model.SetUserEmail(kSampleEmail);
    model.SetConfirmUserEmail(kSampleEmail);
    model.SetGroupId("Sales");
    model.SetUserName("Anna Andersson");
    model.SetUserPassword("secret12");
    model.SetContactPerson("Erik Eriksson");
    model.SetContactInfo("+46 8 123 456 78");
    const int32_t formPages = model.GetUserInterface();
    for (const KVPageNames& shot : kPageNames) {
        // Form pages that the layout does not have are never shown to a user.
        if (shot.page == KVPages::PAGE_NONE) continue;
        if (shot.page == KVPages::PAGE_QUERYREGISTER && formPages < 2) continue;
        if (shot.page == KVPages::PAGE_USERINFO && formPages < 1) continue;
        model.SetPage(shot.page);
        driver.WaitForPage(shot.page);
        if (!options_.fitWarningsOnly) {
            const std::string picture = output_ + "\\" + PictureOf(shot);
            driver.SavePng(picture);
            pictures_.push_back(picture);
        }
        InspectPage(driver.Wizard(), shot.page, shot.title);
    }
}

void KVPreview::InspectPage(HWND wizard, int page, const std::string& pageName) {
    RECT client;
    GetClientRect(wizard, &client);
    const std::string configFile = Shown(kConfigFile);
    const std::string mainFile = Shown(kMainFile);
    const bool isFormPage = page == KVPages::PAGE_QUERYREGISTER || page == KVPages::PAGE_USERINFO;

    std::vector<KVPlacedControl> placed;
    std::vector<KVShownText> texts;
    for (HWND control = GetWindow(wizard, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        if (!IsWindowVisible(control)) continue;
        const int id = GetDlgCtrlID(control);
        const std::string className = KVWindowClass(control);
        const bool isButton = _stricmp(className.c_str(), "Button") == 0;
        const bool isLabel = _stricmp(className.c_str(), "Static") == 0;
        KVPlacedControl place{"control " + std::to_string(id), ClientRectOf(control, wizard), 0};
        std::string key;
        if (isFormPage)
            for (const KVConfigComponent& c : config_.components) {
                if (c.page != page) continue;
                if (c.row->labelControlId == id && isLabel) {
                    key = c.row->labelKey;
                    place = {key, place.rect, static_cast<size_t>(c.lineNumber)};
                } else if (c.row->inputControlId == id && !isLabel) {
                    place = {std::string("the input of ") + c.row->labelKey, place.rect,
                             static_cast<size_t>(c.lineNumber)};
                }
            }
        if (const KVPageText* own = KVFindPageText(page, id, isButton)) key = own->key;
        if (place.line == 0 && !key.empty()) place.name = key;
        placed.push_back(place);

        if (key.empty() || !(isButton || isLabel)) continue;
        KVShownText shown{KVFindTextOrigin(key, sources_, mainFile), KVWindowText(control)};
        if (shown.text.empty()) continue;
        CheckTextFit(control, shown, pageName);
        texts.push_back(std::move(shown));
    }
    if (isFormPage) KVCheckGeometry(placed, client.right, client.bottom, configFile, Checks());
    KVCheckMnemonics(pageName, texts, Checks());
}

void KVPreview::CheckTextFit(HWND control, const KVShownText& text, const std::string& pageName) {
    const KVTextFit fit = KVMeasureTextFit(control);
    if (fit.Fits()) return;  // also when it lies outside the window, which geometry reports
    const std::string what = "the text does not fit its control on the " + pageName + " page";
    const std::string value = text.origin.Describe() + " " + KVQuote(text.text) + " needs " +
                              std::to_string(fit.neededWidth) + "x" + std::to_string(fit.neededHeight) + " px in " +
                              fit.font + ", the control shows " + std::to_string(fit.width) + "x" +
                              std::to_string(fit.height);
    if (options_.fitWarningsOnly)
        report_.Warning(text.origin.file, text.origin.line, what + " at " + std::to_string(shownDpi_) + " DPI", value);
    else
        report_.Error(text.origin.file, text.origin.line, what, value);
}
