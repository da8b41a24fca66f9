#include "register/view/KVRegisterView.h"

#include "common/KVLanguageTable.h"
#include "common/KVRunContext.h"
#include "register/model/KVRegisterModel.h"
#include "register/view/KVCountryList.h"
#include "register/view/KVRegisterConfig.h"
#include "register/view/KVViewMessages.h"
#include "register/view/KVWindowPosition.h"
#include "register/view/KVWizardClass.h"
#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/File/QLog.h"

namespace {

constexpr int kMsisdnInput = KVInputId(COMPONENT_MSISDN);

const char kPreCreate[] = "KVRegisterView::PreCreate";
const char kInitialize[] = "KVRegisterView::Initialize";
const char kObserver[] = "KVRegisterView::OnObserverMessage";
const char kEnableQuery[] = "KVRegisterView::EnableQueryRegisterNextButton";
const char kEnableUserInfo[] = "KVRegisterView::EnableUserInfoNextButton";
const char kOnDestroy[] = "KVRegisterView::OnDestroy";
const char kPositionValue[] = "RegisterWindow";

QLog* Log() {
    KVRunContext* run = KVRunContext::Current();
    return run ? run->GetLog() : nullptr;
}

std::string Text(const char* key, const char* defaultText) {
    return KVLanguageTable::Instance().GetText(key, defaultText);
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
    // The window's own DPI is known once it exists (CreateUserInfoPages sizes it again where
    // that differs); the screen's until then.
    layout_.SetDpi(KVDpiLayout::WindowDpi(nullptr));
    createdAtDpi_ = layout_.Dpi();
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
        // The saved record holds the size the window had at the display scale of its day; only
        // its place is used. The size always comes from the layout at today's scale, so a
        // window saved at 150 % and opened at 100 % comes back where it was, at the 100 % size.
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
    // The model reads register.cfg before the window exists, which is then made with its size
    // and caption buttons at once instead of being changed afterwards. Without a saved place
    // and without a host's window the window is centred at its built-in size and keeps that
    // place, so it is made at that size and takes its own in CreateUserInfoPages.
    config_ = std::make_unique<KVRegisterConfig>();
    configRead_ = model_.LoadLayout(installRoot_, *config_);
    if (configRead_ && config_->sizeGiven && (!positionNotRestored_ || owner_ != nullptr)) {
        width_ = config_->width;
        height_ = config_->height;
        sizedAtCreation_ = true;
    }
    if (configRead_ && config_->controlBox) params.style |= WS_SYSMENU;
    params.cx = layout_.Scale(width_);
    params.cy = layout_.Scale(height_);
    return true;
}

void KVRegisterView::OnCreate() {
    window_ = GetHwnd();
    if (failed_) return;
    if (positionNotRestored_) CenterWindow(owner_);
    layout_.SetDpi(KVDpiLayout::WindowDpi(GetHwnd()));
    layout_.CreateFonts();
    layout_.SetWindowIcons(GetHwnd(), installRoot_ + "\\Icons");
    {
        QClientDC client(*this);
        header_.Load(client, installRoot_);
    }
    CreateUserInfoPages();
    if (!failed_) CreatePendingPage();
    if (!failed_) CreateValidatePage();
    if (!failed_) CreateRegisterInfoPage();
    if (failed_) return;
    CreateCancelButton();
    SetAccelWindow(GetHwnd());
    SetFonts();
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
    const KVFirstShow first = model_.GetFirstShow();
    const bool chosen = first.page != KVPages::PAGE_NONE && first.page == model_.GetPage();
    QLogEntry(Log(), QLog::LevelInfo, kInitialize)
        << "Show page " << (chosen ? KVNamesOf(first.page).constant : "default");
    if (first.page == KVPages::PAGE_NONE) {
        QLogEntry(Log(), QLog::LevelInfo, kInitialize) << "Wrong number of interfaces:" << model_.GetUserInterface();
        failed_ = first.failed;
        return;
    }
    // The first page waits for nothing that only the first Next or another page needs: the
    // country-code service starts, and the country list fills, right after it is painted.
    // Queued now, that comes before anything a person or the model sends the page, the
    // country the user-info page announces with itself included.
    PostMessageA(GetHwnd(), KVWM_COUNTRIES, 0, 0);
    // What the page announces with itself comes after the page, as the model's notices do.
    if (const uint32_t extra = KVAnnouncedWith(first.page)) PostMessageA(GetHwnd(), KVWM_OBSERVER, extra, 0);
    ShowModelPage(first.page);
    SetFieldText(FieldFor(KVNotifications::NOTIFY_MSISDN), model_.GetMsisdn());
    SetFieldText(&regCode_, model_.GetRegCode());
    if (model_.GetControlsEnabled())
        EnableAllPages(shownPage_);
    else
        DisableAllPages();
    InvalidateRect(GetHwnd(), nullptr, TRUE);
    // The page's controls too: the work queued above must not keep them unpainted.
    RedrawWindow(GetHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void KVRegisterView::EnableAllPages(Page shown) {
    // The hidden pages' Next and Finish are enabled like every other control; a country list
    // without countries stays disabled whatever a page does.
    const QWinBase* own = nullptr;
    bool ownEnabled = true;
    switch (shown) {
    case KVPages::PAGE_QUERYREGISTER:
        own = &queryRegisterNext_;
        ownEnabled = IsNextWanted(shown);
        break;
    case KVPages::PAGE_USERINFO:
        own = &userInfoNext_;
        ownEnabled = IsNextWanted(shown);
        break;
    case KVPages::PAGE_VALIDATE:
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

void KVRegisterView::ShowPage(Page page) {
    EnableAllPages(page);
    // Showing the page on display again changes nothing a person sees.
    if (page != shownPage_) {
        // Only the page on display has controls shown (PAGE_NONE's container is empty).
        pages_[shownPage_].HideAll();
        pages_[page].ShowAll();
        shownPage_ = page;
    }
    SetAccelTable(pages_[page].GetAcceleratorHandle());
    WipeFields(KVWipedOnShow(page));
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

void KVRegisterView::FocusFirstInput(Page page) {
    if (firstInput_[page] != nullptr) FocusOn(*firstInput_[page]);
}

void KVRegisterView::ShowModelPage(Page page) {
    switch (page) {
    case KVPages::PAGE_QUERYREGISTER: ShowQueryRegisterPage(); break;
    case KVPages::PAGE_USERINFO: ShowUserInfoPage(); break;
    case KVPages::PAGE_PENDING: ShowPendingPage(); break;
    case KVPages::PAGE_VALIDATE: ShowValidatePage(); break;
    case KVPages::PAGE_REGISTERINFO: ShowRegisterInfoPage(); break;
    case KVPages::PAGE_NONE: break;
    }
}

void KVRegisterView::ShowQueryRegisterPage() {
    ShowPage(KVPages::PAGE_QUERYREGISTER);
    FocusFirstInput(KVPages::PAGE_QUERYREGISTER);
    EnableQueryRegisterNextButton();
}

void KVRegisterView::ShowUserInfoPage() {
    ShowPage(KVPages::PAGE_USERINFO);
    FocusFirstInput(KVPages::PAGE_USERINFO);
    EnableUserInfoNextButton();
}

void KVRegisterView::ShowNumberTexts(NumberTexts& texts, Page page) {
    const LanguageReplacements values = {{"msisdn", model_.GetMsisdn()}};
    for (int i = 0; i < 2; ++i) {
        const KVPageText* text = KVFindPageText(page, texts.firstId + i, false);
        if (text != nullptr)
            texts.texts[i].SetWindowText(KVLanguageTable::Instance().GetText(text->key, values, text->defaultText));
    }
}

void KVRegisterView::ShowPendingPage() {
    ShowNumberTexts(pendingTexts_, KVPages::PAGE_PENDING);
    ShowPage(KVPages::PAGE_PENDING);
}

void KVRegisterView::ShowValidatePage() {
    ShowNumberTexts(validateTexts_, KVPages::PAGE_VALIDATE);
    ShowPage(KVPages::PAGE_VALIDATE);
    FocusOn(regCode_);
    EnableFinishButton();
}

void KVRegisterView::ShowRegisterInfoPage() {
    const LanguageReplacements values = {{"email", model_.GetUserEmail()}};
    // Shown with the address it went to, unlike the text the page was built with.
    registerInfoText_.SetWindowText(KVLanguageTable::Instance().GetText(
        "lblRegisterInfo1", values,
        "An email message has been sent to the address <email>. Verify that this message arrives, because reply "
        "SMS messages sent to you will be sent to this email address."));
    ShowPage(KVPages::PAGE_REGISTERINFO);
}

// --- Fields and Next buttons -----------------------------------------------------------------

std::string KVRegisterView::TextOf(QEdit& field) {
    std::string text;
    if (field.GetHwnd() != nullptr) field.GetText(text);
    return text;
}

void KVRegisterView::SetFieldText(QEdit* field, const std::string& text) {
    // A field the layout does not define has nothing to refresh.
    if (field != nullptr && field->GetHwnd() != nullptr) field->SetText(text);
}

QEdit* KVRegisterView::FormField(int id) {
    const KVComponentRow* row = KVComponentWithInput(id);
    if (row == nullptr || row->kind == KVComponentKind::Country) return nullptr;
    return &componentFields_[static_cast<size_t>(row - kFormComponents)];
}

QEdit* KVRegisterView::FieldFor(uint32_t code) {
    if (code == KVNotifications::NOTIFY_REGCODE) return &regCode_;
    const KVComponentRow* row = KVComponentWithNotification(code);
    return row != nullptr ? FormField(row->inputControlId) : nullptr;
}

void KVRegisterView::WipeFields(uint32_t bits) {
    for (uint32_t code = KVNotifications::NOTIFY_MSISDN; code <= KVNotifications::NOTIFY_REGCODE; ++code)
        if ((bits & KVFieldBit(code)) != 0) SetFieldText(FieldFor(code), "");
}

bool KVRegisterView::IsNextWanted(Page page) {
    const auto emptyBits = [this](uint32_t mask) {
        uint32_t bits = 0;
        for (const KVComponentRow& row : kFormComponents)
            if ((row.requiredBit & mask) != 0 &&
                TextOf(componentFields_[static_cast<size_t>(&row - kFormComponents)]).empty())
                bits |= row.requiredBit;
        return bits;
    };
    return model_.IsNextEnabled(page, emptyBits, [this] { return TextOf(*FieldFor(KVNotifications::NOTIFY_USEREMAIL)); });
}

void KVRegisterView::EnableNextButton(Page page, QButton& next, const char* logName) {
    if (next.GetHwnd() == nullptr) return;
    const bool enable = IsNextWanted(page);
    QLogEntry(Log(), QLog::LevelInfo, logName)
        << (page == KVPages::PAGE_QUERYREGISTER ? "_cmdQueryRegisterNext.EnableWindow(" : "_cmdUserInfoNext.EnableWindow(")
        << (enable ? 1 : 0) << ")";
    next.EnableWindow(enable);
}

void KVRegisterView::EnableQueryRegisterNextButton() {
    EnableNextButton(KVPages::PAGE_QUERYREGISTER, queryRegisterNext_, kEnableQuery);
}

void KVRegisterView::EnableUserInfoNextButton() {
    EnableNextButton(KVPages::PAGE_USERINFO, userInfoNext_, kEnableUserInfo);
}

void KVRegisterView::EnableFinishButton() {
    if (validateFinish_.GetHwnd() != nullptr) validateFinish_.EnableWindow(!TextOf(regCode_).empty());
}

// --- Model notifications ---------------------------------------------------------------------

void KVRegisterView::Update(KVObservable* sender, KVNotifyObject* record) {
    if (record == nullptr || sender != &model_ || record->kind != KVNotifyObject::ModelKind) return;
    const uint32_t code = record->code;
    if (code == KVNotifications::NOTIFY_ENDING) return;
    // Whichever thread notifies, it reaches the window only through messages.
    if (code == KVNotifications::NOTIFY_MESSAGE) {
        const std::string caption = Text("Message.txtError", "Error");
        const int answer = ::MessageBoxA(window_, model_.GetMessageText().c_str(), caption.c_str(),
                                         model_.GetMessageStyle());
        record->answer = static_cast<uint32_t>(answer);
        if (window_ != nullptr) ::SendMessageA(window_, KVWM_CLEARFIELDS, 0, 0);
        return;
    }
    if (window_ != nullptr) PostMessageA(window_, KVWM_OBSERVER, code, 0);
}

void KVRegisterView::OnObserverMessage(uint32_t code) {
    QLogEntry(Log(), QLog::LevelInfo, kObserver) << "Observer message " << code;
    switch (code) {
    case KVPages::PAGE_QUERYREGISTER:
    case KVPages::PAGE_USERINFO:
    case KVPages::PAGE_PENDING:
    case KVPages::PAGE_VALIDATE:
    case KVPages::PAGE_REGISTERINFO: ShowModelPage(static_cast<Page>(code)); break;
    case KVNotifications::NOTIFY_COUNTRY: KVSelectCountry(country_, model_.GetCountry()); break;
    case KVNotifications::NOTIFY_CONTROLSENABLED: EnableAllPages(shownPage_); break;
    case KVNotifications::NOTIFY_CONTROLSDISABLED: DisableAllPages(); break;
    default:
        // The fields' texts, NOTIFY_MSISDN to NOTIFY_REGCODE; other codes find no field.
        SetFieldText(FieldFor(code), model_.GetFieldText(code));
        break;
    }
}

// --- Messages --------------------------------------------------------------------------------

void KVRegisterView::HandFieldToModel(int id) {
    QEdit* field = FormField(id);
    if (field != nullptr) model_.SetFieldText(KVComponentWithInput(id)->notification, TextOf(*field));
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
        case kMsisdnInput: FocusOn(*FieldFor(KVNotifications::NOTIFY_MSISDN)); return;
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
    if (id == KVInputId(COMPONENT_COUNTRY) && notification == CBN_SELCHANGE) {
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
    header_.Paint(*dc, layout_, width_, height_, GetClientRect().right);
}

void KVRegisterView::OnDpiChanged(int dpi, const RECT* suggested) {
    layout_.SetDpi(dpi);
    if (!failed_) {
        // The controls get the new fonts before the old ones go.
        layout_.CreateFonts();
        SetFonts();
        layout_.ReleaseOldFonts();
    }
    if (suggested != nullptr) SetWindowPos(*suggested);
    layout_.MoveControls();
    layout_.SetWindowIcons(GetHwnd(), installRoot_ + "\\Icons");
    // Drawn anew at once: a page half at one scale and half at the other is never seen.
    RedrawWindow(GetHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
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
        // Any label can change the context's colours; the first heading's title does it.
        result = reinterpret_cast<LRESULT>(
            headings_[KVPages::PAGE_QUERYREGISTER].title.ChangeColor(reinterpret_cast<HDC>(wParam)));
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
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
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
            WipeFields(kWipedAfterMessage);
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
