// The wizard window.
//   KVRegisterView   one top-level window on its own thread with the controls of all five
//                    pages; observes the model, hands it the user's input and buttons, and
//                    shows the page the model's notifications announce
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/KVLanguageTable.h"
#include "common/KVObserver.h"
#include "common/KVRegistry.h"
#include "register/model/KVModelCodes.h"
#include "register/view/KVComponentContainer.h"
#include "register/view/KVFormComponents.h"
#include "register/view/KVWizardHeader.h"
#include "register/view/KVDpiLayout.h"
#include "vuda32/Application/QWinThread.h"
#include "vuda32/Gdi/QGDIObject.h"
#include "vuda32/WindowControls/QButton.h"
#include "vuda32/WindowControls/QCombobox.h"
#include "vuda32/WindowControls/QEdit.h"
#include "vuda32/WindowControls/QStatic.h"

class KVRegisterModel;
class KVWizardClass;
struct KVRegisterConfig;

class KVRegisterView : public KVObserver, public QWinThread {
public:
    static constexpr int kDefaultWidth = 426;
    static constexpr int kDefaultHeight = 312;

    // Attaches to the model at once; reads its settings below keyPath with a registry reader
    // of its own, so that it can save its position whatever happens to the caller's.
    KVRegisterView(KVRegisterModel& model, const std::string& keyPath);
    ~KVRegisterView() override;

    // On the thread that notifies: the message box there, everything else is posted to the
    // window's thread.
    void Update(KVObservable* sender, KVNotifyObject* record) override;
    bool WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                    bool extra) override;
    // Shows the window and, on its first show, the model's page, on the window's own thread;
    // from another thread it waits until that is done.
    void Show();
    // Shows the model's page; on the window's thread.
    void Initialize() override;
    void OnCreate() override;
    bool PreCreate(CREATESTRUCTA& params) override;

    void ShowQueryRegisterPage();
    void ShowUserInfoPage();
    void ShowPendingPage();
    void ShowValidatePage();
    void ShowRegisterInfoPage();
    void EnableQueryRegisterNextButton();
    void EnableUserInfoNextButton();

    // Before the window is created: the host's window to centre on instead of the saved place.
    void SetOwnerWindow(HWND owner) { owner_ = owner; }

    // Set by any error while the pages are built or by Initialize; such a window shows no page.
    bool IsViewFailed() const { return failed_; }
    // The native window for other threads: set on the window's thread while it creates the
    // window (before the thread's start returns to its creator) and never cleared, so that a
    // message sent or posted with it can at worst find a window that has gone.
    HWND GetWindowHandle() const { return window_; }

private:
    using Page = KVPages::Page;

    void OnObserverMessage(uint32_t code);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnPaint(HDC given);
    // The window went to a display of another scale: everything laid out again at `dpi`,
    // new fonts included, in the rectangle the system suggests.
    void OnDpiChanged(int dpi, const RECT* suggested);
    void OnDestroy();
    bool IsTitleLabel(HWND control) const;

    void CreateUserInfoPages();
    void CreateComponents(const KVRegisterConfig& config);
    void CreateFormButtons();
    void CreatePendingPage();
    void CreateValidatePage();
    void CreateRegisterInfoPage();
    void CreateCancelButton();
    // Fills the country list from the country-code service; a list left empty is disabled.
    void FillCountryList();
    void SetFonts();
    void Fail();

    // A label or button of a page, with its text from kPageTexts, added to its page (a button
    // of no page, Cancel, to none).
    void CreateLabel(QStatic& label, Page page, int id, const RECT& rect);
    // A page's title and subtitle at their places, the subtitle reaching down to subTitleBottom.
    void CreateHeading(Page page, int titleId, int subTitleId, int subTitleBottom);
    void CreateButton(QButton& button, Page page, int id, const RECT& rect);
    // The bottom row's buttons, 75 by 23 pixels from the right: Cancel, then Next (Finish and
    // OK stand there too), then Back.
    enum BottomPlace { kCancelPlace, kNextPlace, kBackPlace };
    RECT BottomButton(BottomPlace place) const;
    // The pending and the validation page each have two texts that name the number, filled in
    // whenever the page is shown; the second's id follows the first's.
    struct NumberTexts {
        int firstId;
        QStatic texts[2];
    };
    // Both texts of `page`, the first from tops[0] down to bottoms[0], the second below it.
    void CreateNumberTexts(NumberTexts& texts, Page page, const int (&tops)[2], const int (&bottoms)[2]);
    void ShowNumberTexts(NumberTexts& texts, Page page);
    // Adds Alt + the key's mnemonic for command, when its text has one.
    void AddMnemonic(std::vector<ACCEL>& entries, const char* key, char defaultChar, WORD command);
    void BuildAccelerators(Page page, const std::vector<ACCEL>& entries);

    // Shows the page: every other one hidden, its accelerators on, and the fields the model
    // wipes on it emptied.
    void ShowPage(Page page);
    // The page's own show operation.
    void ShowModelPage(Page page);
    // Every control of every page enabled, as a show operation starts; the Next or Finish of
    // `shown` goes straight to the state its page calls for, so that no moment shows it
    // enabled when it is about to be disabled again.
    void EnableAllPages(Page shown);
    void DisableAllPages();
    // Errors while the focus moves are ignored: the page works without it.
    void FocusOn(QWinBase& control);
    void FocusFirstInput(Page page);
    // What the model says of the page's Next, given the fields as they are.
    bool IsNextWanted(Page page);
    void EnableNextButton(Page page, QButton& next, const char* logName);
    void EnableFinishButton();
    std::string TextOf(QEdit& field);
    void SetFieldText(QEdit* field, const std::string& text);
    // The edit field of a control id, or of the code that announces its text; null for others.
    QEdit* FormField(int id);
    QEdit* FieldFor(uint32_t code);
    // Empties the fields of the bits (KVFieldBit) on the screen.
    void WipeFields(uint32_t bits);
    void HandFieldToModel(int id);
    void PressButton(int id);

    KVRegisterModel& model_;
    HWND window_ = nullptr;
    KVRegistry registry_;
    std::string installRoot_;
    std::string title_;
    int width_ = kDefaultWidth;
    int height_ = kDefaultHeight;
    bool failed_ = false;
    HWND owner_ = nullptr;
    bool positionNotRestored_ = false;
    // register.cfg as the model read it before the window was made, and whether the window
    // was made at its size.
    std::unique_ptr<KVRegisterConfig> config_;
    bool configRead_ = false;
    bool sizedAtCreation_ = false;
    // The DPI the window was made for; its own may differ once it stands on its monitor.
    int createdAtDpi_ = 0;
    bool countryUnavailable_ = false;
    // PAGE_NONE until a page has been shown.
    Page shownPage_ = KVPages::PAGE_NONE;
    int32_t userInterface_ = 0;
    // By page; only the two form pages have one.
    QWinBase* firstInput_[KVPages::kCount] = {};

    // Rectangles, fonts and icons at the window's DPI.
    KVDpiLayout layout_;
    KVWizardHeader header_;
    std::unique_ptr<KVWizardClass> windowClass_;

    // Each page's bold title and the subtitle under it; PAGE_NONE's are never created.
    struct PageHeading {
        QStatic title, subTitle;
    };
    PageHeading headings_[KVPages::kCount];
    // The components of register.cfg, by their row of kFormComponents; the fields of the text
    // lines and the country list are never created.
    QStatic componentLabels_[kComponentCount];
    QEdit componentFields_[kComponentCount];
    QCombobox country_;
    QButton queryRegisterNext_, userInfoBack_, userInfoNext_;
    NumberTexts pendingTexts_{ID_PENDING_TEXT1, {}};
    NumberTexts validateTexts_{ID_VALIDATE_TEXT1, {}};
    QStatic regCodeLabel_;
    QEdit regCode_;
    QButton validateBack_, validateFinish_;
    QStatic registerInfoText_;
    QButton registerInfoOk_;
    QButton cancel_;

    // By page; PAGE_NONE's stays empty.
    KVComponentContainer pages_[KVPages::kCount];
};
