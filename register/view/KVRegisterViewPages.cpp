// The building of the wizard window's five pages, once, while the window is created.
#include "register/view/KVRegisterView.h"

#include "common/KVLanguageTable.h"
#include "common/KVRunContext.h"
#include "register/model/KVRegisterModel.h"
#include "register/view/KVCountryList.h"
#include "register/view/KVRegisterConfig.h"
#include "vuda32/File/QLog.h"

namespace {

const char kCreatePages[] = "KVRegisterView::CreateUserInfoPages";
const char kMissingOrCorruptFile[] = "errMissingOrCorruptFile";

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

// The text of a page's control from kPageTexts; the table names every control created here.
const KVPageText& PageText(int32_t page, int id, bool isButton) {
    const KVPageText* text = KVFindPageText(page, id, isButton);
    static const KVPageText kNone{KVPages::PAGE_NONE, 0, KVControlKind::Label, "", ""};
    return text != nullptr ? *text : kNone;
}

}  // namespace

void KVRegisterView::CreateLabel(QStatic& label, Page page, int id, const RECT& rect) {
    const KVPageText& text = PageText(page, id, false);
    label.Create(this, id, layout_.Place(label, rect), Text(text.key, text.defaultText), kLabelStyle, 0);
    pages_[page].Add(&label);
}

void KVRegisterView::CreateNumberTexts(NumberTexts& texts, Page page, const int (&tops)[2], const int (&bottoms)[2]) {
    for (int i = 0; i < 2; ++i) {
        QStatic& text = texts.texts[i];
        text.Create(this, texts.firstId + i, layout_.Place(text, Rect(44, tops[i], width_ - 40, bottoms[i])), "",
                    kLabelStyle, 0);
        pages_[page].Add(&text);
    }
}

void KVRegisterView::CreateButton(QButton& button, Page page, int id, const RECT& rect) {
    const KVPageText& text = PageText(page, id, true);
    DWORD style = kButtonStyle | (text.kind == KVControlKind::DefaultButton ? BS_DEFPUSHBUTTON : 0);
    // A button of no page (Cancel) is there from the start.
    if (page == KVPages::PAGE_NONE) style |= WS_VISIBLE;
    button.Create(this, id, layout_.Place(button, rect), Text(text.key, text.defaultText), style, 0);
    if (page != KVPages::PAGE_NONE) pages_[page].Add(&button);
}

void KVRegisterView::Fail() {
    if (KVRunContext* run = KVRunContext::Current()) run->SetError(kMissingOrCorruptFile);
    failed_ = true;
}

void KVRegisterView::CreateUserInfoPages() {
    // The model read the file before the window was made: the titles reach to its final width.
    const KVRegisterConfig& config = *config_;
    const bool read = configRead_;
    if (read && config.sizeGiven) {
        width_ = config.width;
        height_ = config.height;
    }
    CreateHeading(KVPages::PAGE_QUERYREGISTER, ID_QUERYREGISTER_TITLE, ID_QUERYREGISTER_SUBTITLE, 50);
    CreateHeading(KVPages::PAGE_USERINFO, ID_USERINFO_TITLE, ID_USERINFO_SUBTITLE, 50);

    if (!read) {
        Fail();
        return;
    }
    // Without a saved place the window was centred at its built-in size and keeps that place.
    // A window whose monitor has another scale than the screen's takes that scale's size.
    if (!sizedAtCreation_ || layout_.Dpi() != createdAtDpi_)
        SetWindowPos(HWND_TOPMOST, 0, 0, layout_.Scale(width_), layout_.Scale(height_), SWP_NOMOVE | SWP_NOACTIVATE);

    userInterface_ = config.userInterface;

    CreateComponents(config);
    if (config.Failed()) {
        QLogEntry(Log(), QLog::LevelInfo, kCreatePages) << config.problems[0].LogText();
        Fail();
        return;
    }
    CreateFormButtons();
}

void KVRegisterView::FillCountryList() {
    if (country_.GetHwnd() != nullptr && !KVFillCountryList(country_)) {
        QLogEntry(Log(), QLog::LevelInfo, kCreatePages) << "No countries from the country service";
        countryUnavailable_ = true;
        country_.EnableWindow(false);
    }
}

void KVRegisterView::CreateComponents(const KVRegisterConfig& config) {
    // Every component visited is logged, the one that failed included.
    for (const KVConfigDefinitionLog& line : config.definitions)
        QLogEntry(Log(), QLog::LevelInfo, kCreatePages)
            << "Component definition for " << line.idField << ": " << line.definition;

    for (const KVConfigComponent& component : config.components) {
        const KVComponentRow& row = *component.row;
        const size_t index = static_cast<size_t>(&row - kFormComponents);
        const Page page = component.page;
        QStatic& label = componentLabels_[index];
        label.Create(this, row.labelControlId, layout_.Place(label, Rect(component.label)),
                     Text(row.labelKey, row.defaultLabel), kLabelStyle, 0);
        pages_[page].Add(&label);
        if (row.kind == KVComponentKind::TextLine) continue;

        QWinBase* input = nullptr;
        if (row.kind == KVComponentKind::Country) {
            input = &country_;
            country_.Create(this, row.inputControlId, layout_.Place(country_, Rect(component.input)), "",
                            kCountryStyle, 0);
        } else {
            const DWORD style = kFieldStyle | (row.kind == KVComponentKind::Password ? ES_PASSWORD : 0);
            QEdit& field = componentFields_[index];
            input = &field;
            field.Create(this, row.inputControlId, layout_.Place(field, Rect(component.input)), "", style,
                         WS_EX_CLIENTEDGE);
        }
        pages_[page].Add(input);
    }
    // The first input of each form page gets the focus when the page is shown.
    for (Page page : {KVPages::PAGE_QUERYREGISTER, KVPages::PAGE_USERINFO})
        if (const KVConfigComponent* first = config.FirstInput(page))
            firstInput_[page] = first->row->kind == KVComponentKind::Country
                                    ? static_cast<QWinBase*>(&country_)
                                    : &componentFields_[static_cast<size_t>(first->row - kFormComponents)];
}

void KVRegisterView::AddMnemonic(std::vector<ACCEL>& entries, const char* key, char defaultChar, WORD command) {
    const char mnemonic = KVLanguageTable::Instance().GetAccelerator(key, defaultChar);
    const WORD vk = mnemonic != 0 ? VirtualKeyOf(mnemonic) : 0;
    // A text without a mnemonic simply has no Alt key.
    if (vk != 0) entries.push_back(ACCEL{FVIRTKEY | FALT, vk, command});
}

void KVRegisterView::BuildAccelerators(Page page, const std::vector<ACCEL>& entries) {
    QAccelerator& table = pages_[page].GetAccelerator();
    table.Init(static_cast<int>(entries.size()));
    for (const ACCEL& entry : entries) table.Add(entry.fVirt, entry.key, entry.cmd);
    table.Register(&pages_[page].GetAcceleratorHandle());
}

RECT KVRegisterView::BottomButton(BottomPlace place) const {
    static constexpr int kRightMargins[] = {16, 101, 176};  // Cancel, Next, Back
    const int right = width_ - kRightMargins[place];
    return Rect(right - 75, height_ - 58, right, height_ - 35);
}

void KVRegisterView::CreateFormButtons() {
    CreateButton(queryRegisterNext_, KVPages::PAGE_QUERYREGISTER, ID_QUERYREGISTER_NEXT, BottomButton(kNextPlace));
    if (userInterface_ > 1)
        CreateButton(userInfoBack_, KVPages::PAGE_USERINFO, ID_USERINFO_BACK, BottomButton(kBackPlace));
    CreateButton(userInfoNext_, KVPages::PAGE_USERINFO, ID_USERINFO_NEXT, BottomButton(kNextPlace));

    std::vector<ACCEL> query;
    AddMnemonic(query, "cmdQueryRegisterNext", 'n', ID_QUERYREGISTER_NEXT);
    query.push_back(ACCEL{FVIRTKEY, VK_RETURN, ID_QUERYREGISTER_NEXT});
    query.push_back(ACCEL{FVIRTKEY, VK_ESCAPE, ID_CANCEL});
    BuildAccelerators(KVPages::PAGE_QUERYREGISTER, query);
    std::vector<ACCEL> userInfo;
    AddMnemonic(userInfo, "cmdUserInfoNext", 'n', ID_USERINFO_NEXT);
    userInfo.push_back(ACCEL{FVIRTKEY, VK_RETURN, ID_USERINFO_NEXT});
    userInfo.push_back(ACCEL{FVIRTKEY, VK_ESCAPE, ID_CANCEL});
    BuildAccelerators(KVPages::PAGE_USERINFO, userInfo);
}

void KVRegisterView::CreateHeading(Page page, int titleId, int subTitleId, int subTitleBottom) {
    CreateLabel(headings_[page].title, page, titleId, Rect(23, 9, width_ + 66, 23));
    CreateLabel(headings_[page].subTitle, page, subTitleId, Rect(44, 24, width_ + 66, subTitleBottom));
}

void KVRegisterView::CreatePendingPage() {
    const Page page = KVPages::PAGE_PENDING;
    CreateHeading(page, ID_PENDING_TITLE, ID_PENDING_SUBTITLE, 38);
    CreateNumberTexts(pendingTexts_, page, {81, 131}, {121, 209});
    BuildAccelerators(page, {ACCEL{FVIRTKEY, VK_ESCAPE, ID_CANCEL}});
}

void KVRegisterView::CreateValidatePage() {
    const Page page = KVPages::PAGE_VALIDATE;
    CreateHeading(page, ID_VALIDATE_TITLE, ID_VALIDATE_SUBTITLE, 38);
    CreateNumberTexts(validateTexts_, page, {61, 111}, {101, 172});
    CreateLabel(regCodeLabel_, page, ID_REGCODE_LABEL, Rect(44, 183, width_ - 40, 197));
    regCode_.Create(this, ID_REGCODE, layout_.Place(regCode_, Rect(43, 199, 221, 220)), "", kCodeFieldStyle,
                    WS_EX_CLIENTEDGE);
    pages_[page].Add(&regCode_);
    CreateButton(validateBack_, page, ID_VALIDATE_BACK, BottomButton(kBackPlace));
    CreateButton(validateFinish_, page, ID_VALIDATE_FINISH, BottomButton(kNextPlace));
    std::vector<ACCEL> entries;
    AddMnemonic(entries, "lblRegCode", 'r', ID_REGCODE);
    AddMnemonic(entries, "cmdValidateBack", 'b', ID_VALIDATE_BACK);
    AddMnemonic(entries, "cmdValidateFinish", 'f', ID_VALIDATE_FINISH);
    entries.push_back(ACCEL{FVIRTKEY, VK_RETURN, ID_VALIDATE_FINISH});
    entries.push_back(ACCEL{FVIRTKEY, VK_ESCAPE, ID_CANCEL});
    BuildAccelerators(page, entries);
}

void KVRegisterView::CreateRegisterInfoPage() {
    const Page page = KVPages::PAGE_REGISTERINFO;
    CreateHeading(page, ID_REGISTERINFO_TITLE, ID_REGISTERINFO_SUBTITLE, 38);
    CreateLabel(registerInfoText_, page, ID_REGISTERINFO_TEXT, Rect(44, 81, width_ - 40, 211));
    CreateButton(registerInfoOk_, page, ID_REGISTERINFO_OK, BottomButton(kNextPlace));
}

void KVRegisterView::CreateCancelButton() {
    CreateButton(cancel_, KVPages::PAGE_NONE, ID_CANCEL, BottomButton(kCancelPlace));
}

bool KVRegisterView::IsTitleLabel(HWND control) const {
    if (control == nullptr) return false;
    for (const PageHeading& heading : headings_)
        if (heading.title.GetHwnd() == control || heading.subTitle.GetHwnd() == control) return true;
    return false;
}

void KVRegisterView::SetFonts() {
    const HFONT normal = layout_.NormalFont();
    const HFONT bold = layout_.BoldFont();
    for (const KVComponentContainer& page : pages_)
        for (QWinBase* control : page.GetComponents())
            if (control->GetHwnd() != nullptr) control->SetFont(normal);
    cancel_.SetFont(normal);
    for (PageHeading& heading : headings_)
        if (heading.title.GetHwnd() != nullptr) heading.title.SetFont(bold);
}
