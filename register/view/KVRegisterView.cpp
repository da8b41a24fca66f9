#include "register/view/KVRegisterView.h"

#include <string_view>

#include "common/KVCountryCodesWrapper.h"
#include "common/KVLanguageTable.h"
#include "common/KVRunContext.h"
#include "register/model/KVRegisterModel.h"
#include "register/view/KVRegisterConfig.h"
#include "register/view/KVRegisterViewIds.h"
#include "register/view/KVWindowPosition.h"
#include "register/view/KVWizardClass.h"
#include "vuda32/Application/QGlobalData.h"
#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/File/QFile.h"
#include "vuda32/File/QLog.h"

namespace {

const char kPreCreate[] = "KVRegisterView::PreCreate";
const char kOnCreate[] = "KVRegisterView::OnCreate";
const char kCreatePages[] = "KVRegisterView::CreateUserInfoPages";
const char kInitialize[] = "KVRegisterView::Initialize";
const char kObserver[] = "KVRegisterView::OnObserverMessage";
const char kEnableQuery[] = "KVRegisterView::EnableQueryRegisterNextButton";
const char kEnableUserInfo[] = "KVRegisterView::EnableUserInfoNextButton";
const char kOnDestroy[] = "KVRegisterView::OnDestroy";
const char kMissingOrCorruptFile[] = "errMissingOrCorruptFile";
const char kPositionValue[] = "RegisterWindow";

// The controls of the pages are made hidden and enabled: a page shows its own when it is
// shown, and hiding or disabling them one by one before that would only cost time.
const DWORD kLabelStyle = WS_CHILD;
const DWORD kFieldStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
const DWORD kCodeFieldStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | WS_TABSTOP;
const DWORD kCountryStyle = WS_CHILD | WS_VSCROLL | WS_BORDER | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL |
                            CBS_SORT | CBS_HASSTRINGS;
const DWORD kButtonStyle = WS_CHILD | WS_TABSTOP;

QLog* Log() {
    KVRunContext* run = KVRunContext::Current();
    return run ? run->GetLog() : nullptr;
}

std::string Text(const char* key, const char* defaultText) {
    return KVLanguageTable::Instance().GetText(key, defaultText);
}

RECT Rect(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }

RECT Rect(const KVConfigRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// A letter accelerator is its virtual key, which for letters and digits is the upper case.
WORD VirtualKeyOf(char c) {
    if (c >= 'a' && c <= 'z') return static_cast<WORD>(c - 'a' + 'A');
    const SHORT scan = VkKeyScanA(c);
    return scan == -1 ? 0 : static_cast<WORD>(scan & 0xFF);
}

}  // namespace

KVRegisterView::KVRegisterView(KVRegisterModel& model, const std::string& keyPath)
    : model_(model), registry_(keyPath) {
    title_ = Text("txtDialogName", "Registration");
    try {
        installRoot_ = registry_.GetInstallRoot();
    } catch (const QException& e) {
        // The step read it moments ago; without it every file below is missing, which the
        // layout reports when it cannot open register.cfg.
        ReportSwallowedError(e);
    }
    windowClass_ = std::make_unique<KVWizardClass>(installRoot_);
    // Last: a constructor that throws must leave no observer behind in the model.
    model_.AddObserver(this);
}

KVRegisterView::~KVRegisterView() { model_.RemoveObserver(this); }

bool KVRegisterView::PreCreate(CREATESTRUCTA& params) {
    if (failed_) return false;
    SetCreateClassName(kWizardClassName);
    SetCreateTitle(title_);
    params.style = WS_OVERLAPPED | WS_CAPTION;
    params.dwExStyle = WS_EX_TOPMOST;
    // The host's window only places the wizard and never becomes its owner: a window owned
    // across threads shares its input with the owner's thread, which is blocked in the step's
    // wait for paint messages, so on Windows a click on the host's window would stall the
    // wizard. WS_EX_TOPMOST keeps the wizard above the host's window instead.
    params.hwndParent = nullptr;
    if (owner_ != nullptr) {
        params.x = 0;
        params.y = 0;
        positionNotRestored_ = true;
    } else {
        try {
            const KVWindowPosition saved = KVWindowPosition::FromBytes(registry_.GetWindowPosition(kPositionValue));
            params.x = saved.left;
            params.y = saved.top;
        } catch (const QException&) {
            QLogEntry(Log(), QLog::LevelInfo, kPreCreate) << "Unable to get WinPos from registry";
            params.x = 0;
            params.y = 0;
            positionNotRestored_ = true;
        }
    }
    // register.cfg is read before the window exists, which is then made with its size and
    // caption buttons at once instead of being changed afterwards. Without a saved place and
    // without a host's window the window is centred at its built-in size and keeps that place,
    // so it is made at that size and takes its own in CreateUserInfoPages.
    config_ = std::make_unique<KVRegisterConfig>();
    configRead_ = ReadConfig(*config_);
    if (configRead_ && config_->sizeGiven && (!positionNotRestored_ || owner_ != nullptr)) {
        width_ = config_->width;
        height_ = config_->height;
        sizedAtCreation_ = true;
    }
    if (configRead_ && config_->controlBox) params.style |= WS_SYSMENU;
    params.cx = width_;
    params.cy = height_;
    return true;
}

void KVRegisterView::OnCreate() {
    window_ = GetHwnd();
    if (failed_) return;
    if (positionNotRestored_) CenterWindow(owner_);
    {
        QClientDC client(*this);
        normalFont_.CreatePointFont("Tahoma", 8, client, FW_NORMAL, false, false);
        boldFont_.CreatePointFont("Tahoma", 8, client, FW_BOLD, false, false);
        LoadHeaderImage(client);
    }
    CreateUserInfoPages();
    if (!failed_) CreatePendingPage();
    if (!failed_) CreateValidatePage();
    if (!failed_) CreateRegisterInfoPage();
    if (failed_) return;
    // Cancel belongs to no page: it is there from the start.
    cancel_.Create(this, ID_CANCEL, Rect(width_ - 91, height_ - 58, width_ - 16, height_ - 35),
                   Text("cmdCancel", "Cancel"), kButtonStyle | WS_VISIBLE, 0);
    SetAccelWindow(GetHwnd());
    SetFonts();
}

void KVRegisterView::LoadHeaderImage(QDC& reference) {
    const HINSTANCE instance = GetGlobalData().GetInstance();
    const std::string file = installRoot_ + "\\Bitmaps\\Register.bmp";
    try {
        header_.LoadBitmapFile(reference, file, instance);
        headerLoaded_ = true;
        return;
    } catch (const QException&) {
        QLogEntry(Log(), QLog::LevelInfo, kOnCreate) << "Header image not loaded, using the built-in one [" << file << "]";
    }
    try {
        header_.LoadBitmapResource(reference, kHeaderBitmapId, instance);
        headerLoaded_ = true;
    } catch (const QException&) {
        // A header without its picture still leaves a usable wizard.
        QLogEntry(Log(), QLog::LevelError, kOnCreate) << "Built-in header image missing";
    }
}

void KVRegisterView::CreateLabel(QStatic& label, int id, const RECT& rect, const std::string& text) {
    label.Create(this, id, rect, text, kLabelStyle, 0);
}

void KVRegisterView::CreateButton(QButton& button, int id, const RECT& rect, const std::string& text,
                                  bool isDefault) {
    button.Create(this, id, rect, text, kButtonStyle | (isDefault ? BS_DEFPUSHBUTTON : 0), 0);
}

void KVRegisterView::Fail() {
    if (KVRunContext* run = KVRunContext::Current()) run->SetError(kMissingOrCorruptFile);
    failed_ = true;
}

bool KVRegisterView::ReadConfig(KVRegisterConfig& config) {
    std::string bytes;
    try {
        QFile file;
        file.Create(installRoot_ + "\\register.cfg", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL);
        uint32_t read = 0;
        file.ReadString(bytes, &read, false);
        file.Close();
    } catch (const QException&) {
        // Whatever the file wrapper could not do, open, size or read, the file is unusable.
        QLogEntry(Log(), QLog::LevelInfo, kCreatePages) << "File open error [" << installRoot_ << "]";
        return false;
    }
    config = KVParseRegisterConfig(bytes);
    return true;
}

void KVRegisterView::CreateUserInfoPages() {
    // The file was read before the window was made: the titles reach to its final width.
    const KVRegisterConfig& config = *config_;
    const bool read = configRead_;
    if (read && config.sizeGiven) {
        width_ = config.width;
        height_ = config.height;
    }
    const int w = width_;
    CreateLabel(queryRegisterTitle_, ID_QUERYREGISTER_TITLE, Rect(23, 9, w + 66, 23),
                Text("lblQueryRegisterTitle", "Registration"));
    CreateLabel(queryRegisterSubTitle_, ID_QUERYREGISTER_SUBTITLE, Rect(44, 24, w + 66, 50),
                Text("lblQueryRegisterSubTitle", "This wizard will help you to register an account."));
    pages_[QUERYREGISTER].Add(&queryRegisterTitle_);
    pages_[QUERYREGISTER].Add(&queryRegisterSubTitle_);
    CreateLabel(userInfoTitle_, ID_USERINFO_TITLE, Rect(23, 9, w + 66, 23), Text("lblUserInfoTitle", "Registration"));
    CreateLabel(userInfoSubTitle_, ID_USERINFO_SUBTITLE, Rect(44, 24, w + 66, 50),
                Text("lblUserInfoSubTitle", "This wizard will help you to register an account."));
    pages_[USERINFO].Add(&userInfoTitle_);
    pages_[USERINFO].Add(&userInfoSubTitle_);

    if (!read) {
        Fail();
        return;
    }
    // Without a saved place the window was centred at its built-in size and keeps that place.
    if (!sizedAtCreation_) SetWindowPos(HWND_TOPMOST, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOACTIVATE);

    const KVConfigCheck firstProblem = config.Failed() ? config.problems[0].check : KVConfigCheck::Coordinate;
    if (!config.Failed() || firstProblem != KVConfigCheck::UseIp) model_.SetUseIp(config.useIp);
    if (!config.Failed() || (firstProblem != KVConfigCheck::UseIp && firstProblem != KVConfigCheck::UserInterface))
        model_.SetUserInterface(config.userInterface);
    userInterface_ = config.userInterface;

    CreateComponents(config);
    if (config.Failed()) {
        QLogEntry(Log(), QLog::LevelInfo, kCreatePages) << config.problems[0].LogText();
        Fail();
        return;
    }
    CreateFormButtons();
}

void KVRegisterView::CreateComponents(const KVRegisterConfig& config) {
    // Every component visited is logged, the one that failed included.
    for (const KVConfigDefinitionLog& line : config.definitions)
        QLogEntry(Log(), QLog::LevelInfo, kCreatePages)
            << "Component definition for " << line.idField << ": " << line.definition;
    emailPresent_ = config.emailPresent;

    struct Member {
        int id;
        QStatic* label;
        QWinBase* input;
    };
    const Member members[] = {
        {8, &msisdnLabel_, &msisdn_},
        {9, &userEmailLabel_, &userEmail_},
        {10, &groupIdLabel_, &groupId_},
        {11, &userNameLabel_, &userName_},
        {12, &userPasswordLabel_, &userPassword_},
        {13, &contactPersonLabel_, &contactPerson_},
        {14, &contactInfoLabel_, &contactInfo_},
        {15, &countryLabel_, &country_},
        {16, &confirmUserEmailLabel_, &confirmUserEmail_},
    };
    for (const KVConfigComponent& component : config.components) {
        const KVComponentRow& row = *component.row;
        QStatic* label = nullptr;
        QWinBase* input = nullptr;
        if (row.kind == KVComponentKind::TextLine) {
            label = &info_[row.id <= 7 ? row.id - 1 : row.id - 21 + 7];
        } else {
            for (const Member& m : members)
                if (m.id == row.id) {
                    label = m.label;
                    input = m.input;
                }
        }
        if (label == nullptr) continue;
        const int page = component.page == KVConfigPage::QueryRegister ? QUERYREGISTER : USERINFO;
        CreateLabel(*label, row.labelControlId, Rect(component.label),
                    KVLanguageTable::Instance().GetText(row.labelKey, row.defaultLabel));
        if (input != nullptr) {
            const RECT rect = Rect(component.input);
            if (row.kind == KVComponentKind::Country) {
                country_.Create(this, row.inputControlId, rect, "", kCountryStyle, 0);
            } else {
                const DWORD style = kFieldStyle | (row.id == 12 ? ES_PASSWORD : 0);
                static_cast<QEdit*>(input)->Create(this, row.inputControlId, rect, "", style, WS_EX_CLIENTEDGE);
            }
            if (firstInput_[page] == nullptr) firstInput_[page] = input;
            if (component.required) requiredMask_[page] |= row.requiredBit;
        }
        pages_[page].Add(label);
        if (input != nullptr) pages_[page].Add(input);
    }
}

void KVRegisterView::FillCountryList() {
    if (country_.GetHwnd() == nullptr) return;
    KVCountryCodesWrapper& service = KVCountryCodesWrapper::Instance();
    int status = 0;
    const std::string list = service.GetCountries(&status);
    bool usable = status == 0;
    if (usable) {
        // Drawn once when filled, not after every entry: a shown list (the user-info page may
        // be the first) would otherwise redraw 245 times.
        country_.SendMessage(WM_SETREDRAW, FALSE, 0);
        std::string_view rest(list);
        while (!rest.empty()) {
            const size_t end = rest.find(';');
            const std::string code(rest.substr(0, end));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
            if (code.empty()) continue;
            KVCountryInfo info;
            if (service.GetCountryInfo(code, info) == 0) country_.AddString(info.GetName());
        }
        country_.SendMessage(WM_SETREDRAW, TRUE, 0);
        InvalidateRect(country_.GetHwnd(), nullptr, TRUE);
        const LRESULT count = country_.SendMessage(CB_GETCOUNT, 0, 0);
        usable = count != CB_ERR && count > 0;
    }
    if (!usable) {
        QLogEntry(Log(), QLog::LevelInfo, kCreatePages) << "No countries from the country service";
        countryUnavailable_ = true;
        country_.EnableWindow(false);
    }
}

void KVRegisterView::AddMnemonic(std::vector<ACCEL>& entries, const char* key, char defaultChar, WORD command) {
    const char mnemonic = KVLanguageTable::Instance().GetAccelerator(key, defaultChar);
    const WORD vk = mnemonic != 0 ? VirtualKeyOf(mnemonic) : 0;
    // A text without a mnemonic simply has no Alt key.
    if (vk != 0) entries.push_back(ACCEL{FVIRTKEY | FALT, vk, command});
}

void KVRegisterView::BuildAccelerators(PageIndex page, const std::vector<ACCEL>& entries) {
    QAccelerator& table = pages_[page].GetAccelerator();
    table.Init(static_cast<int>(entries.size()));
    for (const ACCEL& entry : entries) table.Add(entry.fVirt, entry.key, entry.cmd);
    table.Register(&pages_[page].GetAcceleratorHandle());
}

void KVRegisterView::CreateFormButtons() {
    const int w = width_;
    const int h = height_;
    CreateButton(queryRegisterNext_, ID_QUERYREGISTER_NEXT, Rect(w - 176, h - 58, w - 101, h - 35),
                 Text("cmdQueryRegisterNext", "&Next >"), true);
    pages_[QUERYREGISTER].Add(&queryRegisterNext_);
    if (userInterface_ > 1) {
        CreateButton(userInfoBack_, ID_USERINFO_BACK, Rect(w - 251, h - 58, w - 176, h - 35),
                     Text("cmdUserInfoBack", "< &Back"), false);
        pages_[USERINFO].Add(&userInfoBack_);
    }
    CreateButton(userInfoNext_, ID_USERINFO_NEXT, Rect(w - 176, h - 58, w - 101, h - 35),
                 Text("cmdUserInfoNext", "&Next >"), true);
    pages_[USERINFO].Add(&userInfoNext_);

    std::vector<ACCEL> query;
    AddMnemonic(query, "cmdQueryRegisterNext", 'n', ID_QUERYREGISTER_NEXT);
    query.push_back(ACCEL{FVIRTKEY, VK_RETURN, ID_QUERYREGISTER_NEXT});
    query.push_back(ACCEL{FVIRTKEY, VK_ESCAPE, ID_CANCEL});
    BuildAccelerators(QUERYREGISTER, query);
    std::vector<ACCEL> userInfo;
    AddMnemonic(userInfo, "cmdUserInfoNext", 'n', ID_USERINFO_NEXT);
    userInfo.push_back(ACCEL{FVIRTKEY, VK_RETURN, ID_USERINFO_NEXT});
    userInfo.push_back(ACCEL{FVIRTKEY, VK_ESCAPE, ID_CANCEL});
    BuildAccelerators(USERINFO, userInfo);
}

void KVRegisterView::CreatePendingPage() {
    const int w = width_;
    CreateLabel(pendingTitle_, ID_PENDING_TITLE, Rect(23, 9, w + 66, 23), Text("lblPendingTitle", "Registering"));
    CreateLabel(pendingSubTitle_, ID_PENDING_SUBTITLE, Rect(44, 24, w + 66, 38),
                Text("lblPendingSubTitle", "Communicating with server."));
    CreateLabel(pendingText1_, ID_PENDING_TEXT1, Rect(44, 81, w - 40, 121), "");
    CreateLabel(pendingText2_, ID_PENDING_TEXT2, Rect(44, 131, w - 40, 209), "");
    for (QWinBase* c : {static_cast<QWinBase*>(&pendingTitle_), static_cast<QWinBase*>(&pendingSubTitle_),
                        static_cast<QWinBase*>(&pendingText1_), static_cast<QWinBase*>(&pendingText2_)})
        pages_[PENDING].Add(c);
    BuildAccelerators(PENDING, {ACCEL{FVIRTKEY, VK_ESCAPE, ID_CANCEL}});
}

void KVRegisterView::CreateValidatePage() {
    const int w = width_;
    const int h = height_;
    CreateLabel(validateTitle_, ID_VALIDATE_TITLE, Rect(23, 9, w + 66, 23), Text("lblValidateTitle", "Validation"));
    CreateLabel(validateSubTitle_, ID_VALIDATE_SUBTITLE, Rect(44, 24, w + 66, 38),
                Text("lblValidateSubTitle", "Assure the validity of the mobile phone number."));
    CreateLabel(validateText1_, ID_VALIDATE_TEXT1, Rect(44, 61, w - 40, 101), "");
    CreateLabel(validateText2_, ID_VALIDATE_TEXT2, Rect(44, 111, w - 40, 172), "");
    CreateLabel(regCodeLabel_, ID_REGCODE_LABEL, Rect(44, 183, w - 40, 197), Text("lblRegCode", "&Registration Code:"));
    regCode_.Create(this, ID_REGCODE, Rect(43, 199, 221, 220), "", kCodeFieldStyle, WS_EX_CLIENTEDGE);
    CreateButton(validateBack_, ID_VALIDATE_BACK, Rect(w - 251, h - 58, w - 176, h - 35),
                 Text("cmdValidateBack", "< &Back"), false);
    CreateButton(validateFinish_, ID_VALIDATE_FINISH, Rect(w - 176, h - 58, w - 101, h - 35),
                 Text("cmdValidateFinish", "&Finish"), true);
    for (QWinBase* c : {static_cast<QWinBase*>(&validateTitle_), static_cast<QWinBase*>(&validateSubTitle_),
                        static_cast<QWinBase*>(&validateText1_), static_cast<QWinBase*>(&validateText2_),
                        static_cast<QWinBase*>(&regCodeLabel_), static_cast<QWinBase*>(&regCode_),
                        static_cast<QWinBase*>(&validateBack_), static_cast<QWinBase*>(&validateFinish_)})
        pages_[VALIDATE].Add(c);
    std::vector<ACCEL> entries;
    AddMnemonic(entries, "lblRegCode", 'r', ID_REGCODE);
    AddMnemonic(entries, "cmdValidateBack", 'b', ID_VALIDATE_BACK);
    AddMnemonic(entries, "cmdValidateFinish", 'f', ID_VALIDATE_FINISH);
    entries.push_back(ACCEL{FVIRTKEY, VK_RETURN, ID_VALIDATE_FINISH});
    entries.push_back(ACCEL{FVIRTKEY, VK_ESCAPE, ID_CANCEL});
    BuildAccelerators(VALIDATE, entries);
}

void KVRegisterView::CreateRegisterInfoPage() {
    const int w = width_;
    const int h = height_;
    CreateLabel(registerInfoTitle_, ID_REGISTERINFO_TITLE, Rect(23, 9, w + 66, 23),
                Text("lblRegisterInfoTitle", "Information"));
    CreateLabel(registerInfoSubTitle_, ID_REGISTERINFO_SUBTITLE, Rect(44, 24, w + 66, 38),
                Text("lblRegisterInfoSubTitle", "Registration successful."));
    CreateLabel(registerInfoText_, ID_REGISTERINFO_TEXT, Rect(44, 81, w - 40, 211),
                Text("lblRegisterInfo1",
                     "An email message has been sent to your email address. Verify that this message arrives, "
                     "because reply SMS messages sent to you will be sent to this email address."));
    CreateButton(registerInfoOk_, ID_REGISTERINFO_OK, Rect(w - 176, h - 58, w - 101, h - 35),
                 Text("cmdRegisterInfoOK", "OK"), true);
    for (QWinBase* c : {static_cast<QWinBase*>(&registerInfoTitle_), static_cast<QWinBase*>(&registerInfoSubTitle_),
                        static_cast<QWinBase*>(&registerInfoText_), static_cast<QWinBase*>(&registerInfoOk_)})
        pages_[REGISTERINFO].Add(c);
}

bool KVRegisterView::IsTitleLabel(HWND control) const {
    if (control == nullptr) return false;
    for (const QStatic* label : {&queryRegisterTitle_, &queryRegisterSubTitle_, &userInfoTitle_, &userInfoSubTitle_,
                                 &pendingTitle_, &pendingSubTitle_, &validateTitle_, &validateSubTitle_,
                                 &registerInfoTitle_, &registerInfoSubTitle_})
        if (label->GetHwnd() == control) return true;
    return false;
}

void KVRegisterView::SetFonts() {
    const HFONT normal = normalFont_.GetFont();
    const HFONT bold = boldFont_.GetFont();
    for (const KVComponentContainer& page : pages_)
        for (QWinBase* control : page.GetComponents())
            if (control->GetHwnd() != nullptr) control->SetFont(normal);
    cancel_.SetFont(normal);
    for (QStatic* title : {&queryRegisterTitle_, &userInfoTitle_, &pendingTitle_, &validateTitle_, &registerInfoTitle_})
        title->SetFont(bold);
}

// --- Pages -----------------------------------------------------------------------------------

void KVRegisterView::Show() {
    if (window_ == nullptr) return;
    // The pages belong to the window's thread, where focus and the accelerator table live.
    if (GetWindowThreadProcessId(window_, nullptr) == GetCurrentThreadId())
        ShowWindow(SW_SHOWNORMAL);
    else
        ::SendMessageA(window_, KVWM_SHOW, 0, 0);
}

void KVRegisterView::Initialize() {
    if (failed_) return;
    // The first page waits for nothing that only the first Next or another page needs: the
    // country-code service starts, and the country list fills, right after it is painted.
    // Queued now, that comes before anything a person or the model sends the page.
    PostMessageA(GetHwnd(), KVWM_COUNTRIES, 0, 0);
    switch (model_.GetPage()) {
    case KVRegisterModel::PAGE_QUERYREGISTER:
        QLogEntry(Log(), QLog::LevelInfo, kInitialize) << "Show page PAGE_QUERYREGISTER";
        ShowQueryRegisterPage();
        break;
    case KVRegisterModel::PAGE_USERINFO:
        QLogEntry(Log(), QLog::LevelInfo, kInitialize) << "Show page PAGE_USERINFO";
        ShowUserInfoPage();
        break;
    case KVRegisterModel::PAGE_PENDING:
        QLogEntry(Log(), QLog::LevelInfo, kInitialize) << "Show page PAGE_PENDING";
        ShowPendingPage();
        break;
    case KVRegisterModel::PAGE_VALIDATE:
        QLogEntry(Log(), QLog::LevelInfo, kInitialize) << "Show page PAGE_VALIDATE";
        ShowValidatePage();
        break;
    default: {
        QLogEntry(Log(), QLog::LevelInfo, kInitialize) << "Show page default";
        const int32_t pages = model_.GetUserInterface();
        if (pages == 1) {
            ShowUserInfoPage();
        } else if (pages == 2) {
            ShowQueryRegisterPage();
        } else {
            QLogEntry(Log(), QLog::LevelInfo, kInitialize) << "Wrong number of interfaces:" << pages;
            // Without form pages the first step hands the registration over at once and
            // shows its pages as the model announces them: nothing has failed.
            if (pages != 0 || model_.GetPage() != KVRegisterModel::PAGE_NONE) failed_ = true;
            return;
        }
        break;
    }
    }
    SetFieldText(msisdn_, model_.GetMsisdn());
    SetFieldText(regCode_, model_.GetRegCode());
    if (model_.GetControlsEnabled())
        EnableAllPages(shownPage_);
    else
        DisableAllPages();
    InvalidateRect(GetHwnd(), nullptr, TRUE);
    // The page's controls too: the work queued above must not keep them unpainted.
    RedrawWindow(GetHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void KVRegisterView::EnableAllPages(PageIndex shown) {
    // The hidden pages' Next and Finish are enabled like every other control; a country list
    // without countries stays disabled whatever a page does.
    const QWinBase* own = nullptr;
    bool ownEnabled = true;
    switch (shown) {
    case QUERYREGISTER:
        own = &queryRegisterNext_;
        ownEnabled = IsNextWanted(QUERYREGISTER, KVRegisterModel::PAGE_QUERYREGISTER);
        break;
    case USERINFO:
        own = &userInfoNext_;
        ownEnabled = IsNextWanted(USERINFO, KVRegisterModel::PAGE_USERINFO);
        break;
    case VALIDATE:
        own = &validateFinish_;
        ownEnabled = !TextOf(regCode_).empty();
        break;
    default:
        break;
    }
    for (KVComponentContainer& page : pages_)
        page.EnableAll([&](const QWinBase* control) {
            if (control == own) return ownEnabled;
            return control != &country_ || !countryUnavailable_;
        });
}

void KVRegisterView::DisableAllPages() {
    for (KVComponentContainer& page : pages_) page.DisableAll();
}

void KVRegisterView::ShowPage(PageIndex page) {
    EnableAllPages(page);
    // Showing the page on display again changes nothing a person sees.
    if (page != shownPage_) {
        // Only the page on display has controls shown.
        if (shownPage_ != PAGE_COUNT) pages_[shownPage_].HideAll();
        pages_[page].ShowAll();
        shownPage_ = page;
    }
    SetAccelTable(pages_[page].GetAcceleratorHandle());
}

void KVRegisterView::FocusOn(QWinBase& control) {
    if (control.GetHwnd() == nullptr) return;
    try {
        control.SetFocus();
    } catch (const QException& e) {
        // The page is usable without the caret in that field.
        ReportSwallowedError(e);
    }
}

void KVRegisterView::FocusFirstInput(PageIndex page) {
    if (firstInput_[page] != nullptr) FocusOn(*firstInput_[page]);
}

void KVRegisterView::ShowQueryRegisterPage() {
    ShowPage(QUERYREGISTER);
    FocusFirstInput(QUERYREGISTER);
    EnableQueryRegisterNextButton();
}

void KVRegisterView::ShowUserInfoPage() {
    PostMessageA(GetHwnd(), KVWM_OBSERVER, KVRegisterModel::NOTIFY_COUNTRY, 0);
    ShowPage(USERINFO);
    FocusFirstInput(USERINFO);
    EnableUserInfoNextButton();
}

void KVRegisterView::ShowPendingPage() {
    const LanguageReplacements values = {{"msisdn", model_.GetMsisdn()}};
    KVLanguageTable& table = KVLanguageTable::Instance();
    pendingText1_.SetWindowText(table.GetText(
        "lblPending1", values,
        "The program is communicating with the server to see if you are allowed to register."));
    pendingText2_.SetWindowText(table.GetText("lblPending2", values, "Please wait."));
    ShowPage(PENDING);
}

void KVRegisterView::ShowValidatePage() {
    const LanguageReplacements values = {{"msisdn", model_.GetMsisdn()}};
    KVLanguageTable& table = KVLanguageTable::Instance();
    validateText1_.SetWindowText(table.GetText(
        "lblValidate1", values,
        "A registration code has been sent to your mobile phone. This should arrive to you within a minute. "
        "Enter this registration code below to complete the registration."));
    validateText2_.SetWindowText(table.GetText(
        "lblValidate2", values, "The registration code was sent to the mobile phone number <msisdn>."));
    ShowPage(VALIDATE);
    SetFieldText(msisdn_, "");
    FocusOn(regCode_);
    EnableFinishButton();
}

void KVRegisterView::ShowRegisterInfoPage() {
    const LanguageReplacements values = {{"email", model_.GetUserEmail()}};
    registerInfoText_.SetWindowText(KVLanguageTable::Instance().GetText(
        "lblRegisterInfo1", values,
        "An email message has been sent to the address <email>. Verify that this message arrives, because reply "
        "SMS messages sent to you will be sent to this email address."));
    ShowPage(REGISTERINFO);
}

// --- Next buttons ----------------------------------------------------------------------------

std::string KVRegisterView::TextOf(QEdit& field) {
    std::string text;
    if (field.GetHwnd() != nullptr) field.GetText(text);
    return text;
}

void KVRegisterView::SetFieldText(QEdit& field, const std::string& text) {
    // A field the layout does not define has nothing to refresh.
    if (field.GetHwnd() != nullptr) field.SetText(text);
}

bool KVRegisterView::IsNextWanted(PageIndex page, int32_t modelPage) {
    bool enable = model_.GetPage() == modelPage;
    if (enable) {
        QEdit* const fields[] = {&msisdn_, &userEmail_, &groupId_, &userName_, &userPassword_,
                                 &contactPerson_, &contactInfo_, &confirmUserEmail_};
        const uint32_t bits[] = {1, 2, 4, 8, 16, 32, 64, 2};
        for (size_t i = 0; i < 8 && enable; ++i)
            if ((requiredMask_[page] & bits[i]) != 0 && TextOf(*fields[i]).empty()) enable = false;
    }
    if (enable && emailPresent_) enable = KVRegisterModel::CheckEmailSyntax(TextOf(userEmail_));
    return enable;
}

void KVRegisterView::EnableNextButton(PageIndex page, int32_t modelPage, QButton& next, const char* logName) {
    if (next.GetHwnd() == nullptr) return;
    const bool enable = IsNextWanted(page, modelPage);
    QLogEntry(Log(), QLog::LevelInfo, logName)
        << (page == QUERYREGISTER ? "_cmdQueryRegisterNext.EnableWindow(" : "_cmdUserInfoNext.EnableWindow(")
        << (enable ? 1 : 0) << ")";
    next.EnableWindow(enable);
}

void KVRegisterView::EnableQueryRegisterNextButton() {
    EnableNextButton(QUERYREGISTER, KVRegisterModel::PAGE_QUERYREGISTER, queryRegisterNext_, kEnableQuery);
}

void KVRegisterView::EnableUserInfoNextButton() {
    EnableNextButton(USERINFO, KVRegisterModel::PAGE_USERINFO, userInfoNext_, kEnableUserInfo);
}

void KVRegisterView::EnableFinishButton() {
    if (validateFinish_.GetHwnd() != nullptr) validateFinish_.EnableWindow(!TextOf(regCode_).empty());
}

// --- Model notifications ---------------------------------------------------------------------

void KVRegisterView::Update(KVObservable* sender, KVNotifyObject* record) {
    if (record == nullptr || sender != &model_ || record->kind != KVNotifyObject::ModelKind) return;
    const uint32_t code = record->code;
    if (code == KVRegisterModel::NOTIFY_ENDING) return;
    // Whichever thread notifies, it reaches the window only through messages.
    if (code == KVRegisterModel::NOTIFY_MESSAGE) {
        const std::string caption = Text("Message.txtError", "Error");
        const int answer = ::MessageBoxA(window_, model_.GetMessageText().c_str(), caption.c_str(),
                                         model_.GetMessageStyle());
        record->answer = static_cast<uint32_t>(answer);
        if (window_ != nullptr) ::SendMessageA(window_, KVWM_CLEARFIELDS, 0, 0);
        return;
    }
    if (window_ != nullptr) PostMessageA(window_, KVWM_OBSERVER, code, 0);
}

void KVRegisterView::SelectCountry() {
    if (country_.GetHwnd() == nullptr) return;
    const std::string wanted = model_.GetCountry();
    const LRESULT count = country_.SendMessage(CB_GETCOUNT, 0, 0);
    LRESULT found = -1;
    for (LRESULT i = 0; i < count && found < 0; ++i) {
        std::string entry;
        country_.GetText(static_cast<int>(i), entry);
        if (entry == wanted) found = i;
    }
    country_.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

void KVRegisterView::OnObserverMessage(uint32_t code) {
    QLogEntry(Log(), QLog::LevelInfo, kObserver) << "Observer message " << code;
    switch (code) {
    case KVRegisterModel::PAGE_QUERYREGISTER: ShowQueryRegisterPage(); break;
    case KVRegisterModel::PAGE_USERINFO: ShowUserInfoPage(); break;
    case KVRegisterModel::PAGE_PENDING: ShowPendingPage(); break;
    case KVRegisterModel::PAGE_VALIDATE: ShowValidatePage(); break;
    case KVRegisterModel::PAGE_REGISTERINFO: ShowRegisterInfoPage(); break;
    case KVRegisterModel::NOTIFY_MSISDN: SetFieldText(msisdn_, model_.GetMsisdn()); break;
    case KVRegisterModel::NOTIFY_USEREMAIL: SetFieldText(userEmail_, model_.GetUserEmail()); break;
    case KVRegisterModel::NOTIFY_GROUPID: SetFieldText(groupId_, model_.GetGroupId()); break;
    case KVRegisterModel::NOTIFY_USERNAME: SetFieldText(userName_, model_.GetUserName()); break;
    case KVRegisterModel::NOTIFY_USERPASSWORD: SetFieldText(userPassword_, model_.GetUserPassword()); break;
    case KVRegisterModel::NOTIFY_CONTACTPERSON: SetFieldText(contactPerson_, model_.GetContactPerson()); break;
    case KVRegisterModel::NOTIFY_CONTACTINFO: SetFieldText(contactInfo_, model_.GetContactInfo()); break;
    case KVRegisterModel::NOTIFY_COUNTRY: SelectCountry(); break;
    case KVRegisterModel::NOTIFY_CONFIRMUSEREMAIL:
        SetFieldText(confirmUserEmail_, model_.GetConfirmUserEmail());
        break;
    case KVRegisterModel::NOTIFY_REGCODE: SetFieldText(regCode_, model_.GetRegCode()); break;
    case KVRegisterModel::NOTIFY_CONTROLSENABLED: EnableAllPages(shownPage_); break;
    case KVRegisterModel::NOTIFY_CONTROLSDISABLED: DisableAllPages(); break;
    default: break;
    }
}

// --- Messages --------------------------------------------------------------------------------

QEdit* KVRegisterView::FormField(int id) {
    switch (id) {
    case ID_MSISDN: return &msisdn_;
    case ID_USEREMAIL: return &userEmail_;
    case ID_GROUPID: return &groupId_;
    case ID_USERNAME: return &userName_;
    case ID_USERPASSWORD: return &userPassword_;
    case ID_CONTACTPERSON: return &contactPerson_;
    case ID_CONTACTINFO: return &contactInfo_;
    case ID_CONFIRMUSEREMAIL: return &confirmUserEmail_;
    default: return nullptr;
    }
}

void KVRegisterView::HandFieldToModel(int id) {
    QEdit* field = FormField(id);
    if (field == nullptr) return;
    const std::string text = TextOf(*field);
    switch (id) {
    case ID_MSISDN: model_.SetMsisdn(text); break;
    case ID_USEREMAIL: model_.SetUserEmail(text); break;
    case ID_GROUPID: model_.SetGroupId(text); break;
    case ID_USERNAME: model_.SetUserName(text); break;
    case ID_USERPASSWORD: model_.SetUserPassword(text); break;
    case ID_CONTACTPERSON: model_.SetContactPerson(text); break;
    case ID_CONTACTINFO: model_.SetContactInfo(text); break;
    case ID_CONFIRMUSEREMAIL: model_.SetConfirmUserEmail(text); break;
    default: break;
    }
}

void KVRegisterView::PressButton(int id) {
    switch (id) {
    case ID_QUERYREGISTER_NEXT:
    case ID_USERINFO_NEXT: {
        // Moving the focus makes the field being left hand its text to the model first.
        FocusOn(id == ID_QUERYREGISTER_NEXT ? queryRegisterNext_ : userInfoNext_);
        model_.NextPage();
        break;
    }
    case ID_USERINFO_BACK:
    case ID_VALIDATE_BACK:
        model_.PreviousPage();
        break;
    case ID_VALIDATE_FINISH:
        model_.SetRegCode(TextOf(regCode_));
        model_.NextPage();
        break;
    case ID_CANCEL:
        model_.Cancel();
        break;
    default:
        break;
    }
}

void KVRegisterView::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const int notification = HIWORD(wParam);
    if (notification == 1 && lParam == 0) {
        // An accelerator acts as a click would: only on a button that exists and is enabled
        // (between steps every button but Cancel is disabled).
        QWinBase* target = nullptr;
        switch (id) {
        case ID_CANCEL: target = &cancel_; break;
        case ID_QUERYREGISTER_NEXT: target = &queryRegisterNext_; break;
        case ID_USERINFO_NEXT: target = &userInfoNext_; break;
        // Only the validation page's table holds 286: the information page has none.
        case ID_VALIDATE_FINISH: target = &validateFinish_; break;
        case ID_VALIDATE_BACK: target = &validateBack_; break;
        case ID_MSISDN: FocusOn(msisdn_); return;
        case ID_REGCODE: FocusOn(regCode_); return;
        default: return;
        }
        if (target->GetHwnd() != nullptr && target->IsWindowEnabled()) PressButton(id);
        return;
    }
    QEdit* field = FormField(id);
    if (field != nullptr && field->GetHwnd() == reinterpret_cast<HWND>(lParam)) {
        switch (notification) {
        case EN_SETFOCUS: field->SetSel(0, -1); break;
        case EN_KILLFOCUS: HandFieldToModel(id); break;
        case EN_CHANGE:
            EnableQueryRegisterNextButton();
            EnableUserInfoNextButton();
            break;
        default: break;
        }
        return;
    }
    if (id == ID_REGCODE && regCode_.GetHwnd() == reinterpret_cast<HWND>(lParam)) {
        switch (notification) {
        case EN_SETFOCUS: regCode_.SetSel(0, -1); break;
        case EN_KILLFOCUS: model_.SetRegCode(TextOf(regCode_)); break;
        case EN_CHANGE: EnableFinishButton(); break;
        default: break;
        }
        return;
    }
    if (id == ID_COUNTRY && notification == CBN_SELCHANGE) {
        const LRESULT selected = country_.SendMessage(CB_GETCURSEL, 0, 0);
        std::string text;
        if (selected != CB_ERR) country_.GetText(static_cast<int>(selected), text);
        model_.SetCountry(text);
        return;
    }
    if (notification == BN_CLICKED) PressButton(id);
}

void KVRegisterView::OnPaint(HDC given) {
    std::unique_ptr<QPaintDC> painting;
    std::unique_ptr<QDCHandle> borrowed;
    QDC* dc = nullptr;
    if (given != nullptr) {
        borrowed = std::make_unique<QDCHandle>(given);
        dc = borrowed.get();
    } else {
        painting = std::make_unique<QPaintDC>(*this);
        dc = painting.get();
    }
    const int w = width_;
    const int h = height_;
    dc->FillSolidRect(Rect(0, 0, w - 6, 59), RGB(255, 255, 255));
    if (headerLoaded_) dc->BitBlt(w - 48, 13, 32, 32, header_, 0, 0, SRCCOPY);
    dc->DrawEdge(Rect(0, 59, w - 6, 61), EDGE_ETCHED, BF_TOP);
    dc->DrawEdge(Rect(0, h - 72, w - 6, h - 70), EDGE_ETCHED, BF_TOP);
}

void KVRegisterView::OnDestroy() {
    try {
        const QRect rect = GetWindowRect();
        KVWindowPosition position;
        position.left = rect.left;
        position.top = rect.top;
        position.width = rect.right - rect.left;
        position.height = rect.bottom - rect.top;
        registry_.SetWindowPosition(kPositionValue, position.ToBytes());
    } catch (const QException&) {
        QLogEntry(Log(), QLog::LevelInfo, kOnDestroy) << "Unable to save WinPos to registry";
    }
    PostQuitMessage(0);
}

bool KVRegisterView::WindowProc(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, bool) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
        if (!IsTitleLabel(reinterpret_cast<HWND>(lParam))) return false;
        result = reinterpret_cast<LRESULT>(queryRegisterTitle_.ChangeColor(reinterpret_cast<HDC>(wParam)));
        return true;
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        result = 0;
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) return false;
        model_.Cancel();
        result = 0;
        return true;
    case WM_PAINT:
        OnPaint(reinterpret_cast<HDC>(wParam));
        result = 0;
        return true;
    case WM_DESTROY:
        OnDestroy();
        result = 0;
        return true;
    case KVWM_OBSERVER:
        OnObserverMessage(static_cast<uint32_t>(wParam));
        result = 0;
        return true;
    case KVWM_SHOW:
        ShowWindow(SW_SHOWNORMAL);
        result = 0;
        return true;
    case KVWM_COUNTRIES:
        model_.StartCountryService();
        FillCountryList();
        result = 0;
        return true;
    case KVWM_CLEARFIELDS:
        try {
            SetFieldText(msisdn_, "");
            SetFieldText(regCode_, "");
        } catch (const QException& e) {
            // The message has been answered; a field left filled is no reason to fail.
            ReportSwallowedError(e);
        }
        result = 0;
        return true;
    default:
        return false;
    }
}
