#include "preview/KVPreview.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <utility>

#include "common/KVLanguageTable.h"
#include "driver/KVWizardDriver.h"
#include "register/entry/KVRegister.h"
#include "register/model/KVRegisterModel.h"
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

// A push button draws its text inside its 3-D edge and the focus frame of a default button.
const int kButtonTextMargin = 3;

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

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT got = SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

KVConfigRect ClientRectOf(HWND control, HWND wizard) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, wizard, reinterpret_cast<POINT*>(&r), 2);
    return KVConfigRect{r.left, r.top, r.right, r.bottom};
}

std::string FontName(HFONT font) {
    LOGFONTA description{};
    if (font == nullptr || GetObjectA(font, sizeof description, &description) == 0) return "the system font";
    return std::string(description.lfFaceName) + " " + std::to_string(std::abs(description.lfHeight)) + " px";
}

}  // namespace

KVPreview::KVPreview(std::string folder, std::string output, std::string shownFolder)
    : folder_(std::move(folder)), output_(std::move(output)), shownFolder_(std::move(shownFolder)) {
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
        QFile file;
        file.Create(folder_ + "\\" + name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
        file.ReadString(bytes, nullptr, false);
        file.Close();
        return true;
    } catch (const QException&) {
        return false;
    }
}

void KVPreview::Run() {
    // Pictures of an earlier preview would pass for pages this one did not draw.
    for (const KVPageNames& page : kPageNames)
        if (page.page != KVPages::PAGE_NONE) DeleteFileA((output_ + "\\" + PictureOf(page)).c_str());
    const std::string configFile = Shown(kConfigFile);
    std::string bytes;
    const bool configRead = ReadInstalled(kConfigFile, bytes);
    if (configRead) {
        config_ = KVParseRegisterConfig(bytes, true);
        KVReportConfigProblems(config_, configFile, report_);
        KVCheckUsability(config_, configFile, report_);
    } else {
        report_.Error(configFile, 0, "cannot be read: the wizard shows no page", folder_);
    }

    // In the order the wizard loads them: the company's wording wins.
    if (ReadInstalled(kCompanyFile, bytes)) {
        KVCheckLanguageFile(Shown(kCompanyFile), bytes, report_);
        sources_.AddFile(Shown(kCompanyFile), bytes);
    }
    const bool mainRead = ReadInstalled(kMainFile, bytes);
    if (mainRead) {
        KVCheckLanguageFile(Shown(kMainFile), bytes, report_);
        sources_.AddFile(Shown(kMainFile), bytes);
    } else
        report_.Error(Shown(kMainFile), 0, "cannot be read: the wizard stops with errMissingOrCorruptFile", folder_);

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
    report_.Note(std::to_string(pictures_.size()) + (pictures_.size() == 1 ? " page drawn" : " pages drawn"));
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
        report_.Warning(Shown("KVCountryCodes.dll"), 0,
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
        report_.Warning(Shown(kMainFile), 0, "the key is not defined, the default is shown",
                        missing + " = " + KVQuote(defaultText));
}

void KVPreview::PlayPages(KVWizardDriver& driver, KVRegisterModel& model) {
    driver.WaitForWizard();
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
        const std::string picture = output_ + "\\" + PictureOf(shot);
        driver.SavePng(picture);
        pictures_.push_back(picture);
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
        const std::string className = ClassOf(control);
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
        KVShownText shown{KVFindTextOrigin(key, sources_, mainFile), TextOf(control)};
        if (shown.text.empty()) continue;
        CheckTextFit(control, isButton, RECT{place.rect.left, place.rect.top, place.rect.right, place.rect.bottom},
                     shown, pageName);
        texts.push_back(std::move(shown));
    }
    if (isFormPage) KVCheckGeometry(placed, client.right, client.bottom, configFile, report_);
    KVCheckMnemonics(pageName, texts, report_);
}

void KVPreview::CheckTextFit(HWND control, bool isButton, const RECT& shown, const KVShownText& text,
                             const std::string& pageName) {
    RECT area;
    GetClientRect(control, &area);
    // What a person sees of the control ends at the window's edge (the titles reach beyond it).
    RECT wizardArea;
    GetClientRect(GetParent(control), &wizardArea);
    int width = std::min<int>(area.right, wizardArea.right - shown.left);
    int height = std::min<int>(area.bottom, wizardArea.bottom - shown.top);
    UINT format = DT_CALCRECT | DT_EXPANDTABS;
    if (isButton) {
        width -= 2 * kButtonTextMargin;
        height -= 2 * kButtonTextMargin;
        format |= DT_SINGLELINE;
    } else {
        format |= DT_WORDBREAK;
        if ((GetWindowLongA(control, GWL_STYLE) & SS_NOPREFIX) != 0) format |= DT_NOPREFIX;
    }
    if (width <= 0 || height <= 0) return;  // reported as lying outside the window

    const HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    HDC dc = GetDC(control);
    if (dc == nullptr) return;
    const HGDIOBJ old = SelectObject(dc, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    RECT needed{0, 0, width, 0};
    DrawTextA(dc, text.text.c_str(), static_cast<int>(text.text.size()), &needed, format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);

    const int neededWidth = needed.right - needed.left;
    const int neededHeight = needed.bottom - needed.top;
    if (neededWidth <= width && neededHeight <= height) return;
    report_.Error(text.origin.file, text.origin.line, "the text does not fit its control on the " + pageName + " page",
                  text.origin.Describe() + " " + KVQuote(text.text) + " needs " + std::to_string(neededWidth) + "x" +
                      std::to_string(neededHeight) + " px in " + FontName(font) + ", the control shows " +
                      std::to_string(width) + "x" + std::to_string(height));
}
