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

#include "common/KVObserver.h"
#include "common/KVRegistry.h"
#include "register/entry/KVResourceIds.h"
#include "register/view/KVComponentContainer.h"
#include "vuda32/Application/QWinThread.h"
#include "vuda32/Gdi/QDC.h"
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
    static constexpr UINT kHeaderBitmapId = KV_IDB_HEADER;

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
    enum PageIndex { QUERYREGISTER, USERINFO, PENDING, VALIDATE, REGISTERINFO, PAGE_COUNT };

    void OnObserverMessage(uint32_t code);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnPaint(HDC given);
    void OnDestroy();
    bool IsTitleLabel(HWND control) const;

    void LoadHeaderImage(QDC& reference);
    void CreateUserInfoPages();
    bool ReadConfig(KVRegisterConfig& config);
    void CreateComponents(const KVRegisterConfig& config);
    void FillCountryList();
    void CreateFormButtons();
    void CreatePendingPage();
    void CreateValidatePage();
    void CreateRegisterInfoPage();
    void SetFonts();
    void Fail();

    void CreateLabel(QStatic& label, int id, const RECT& rect, const std::string& text);
    void CreateButton(QButton& button, int id, const RECT& rect, const std::string& text,
                      bool isDefault);
    // Adds Alt + the key's mnemonic for command, when its text has one.
    void AddMnemonic(std::vector<ACCEL>& entries, const char* key, char defaultChar, WORD command);
    void BuildAccelerators(PageIndex page, const std::vector<ACCEL>& entries);

    void ShowPage(PageIndex page);
    // Every control of every page enabled, as a show operation starts; the Next or Finish of
    // `shown` goes straight to the state its page calls for, so that no moment shows it
    // enabled when it is about to be disabled again.
    void EnableAllPages(PageIndex shown);
    void DisableAllPages();
    // Errors while the focus moves are ignored: the page works without it.
    void FocusOn(QWinBase& control);
    void FocusFirstInput(PageIndex page);
    // Enables Next on page when the model shows it, every required field holds text and the
    // e-mail address (when the file has one) passes the syntax test.
    bool IsNextWanted(PageIndex page, int32_t modelPage);
    void EnableNextButton(PageIndex page, int32_t modelPage, QButton& next, const char* logName);
    void EnableFinishButton();
    std::string TextOf(QEdit& field);
    void SetFieldText(QEdit& field, const std::string& text);
    // The form edit field of a control id, or null.
    QEdit* FormField(int id);
    void HandFieldToModel(int id);
    void SelectCountry();
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
    // register.cfg as PreCreate read it, and whether the window was made at its size.
    std::unique_ptr<KVRegisterConfig> config_;
    bool configRead_ = false;
    bool sizedAtCreation_ = false;
    bool emailPresent_ = false;
    bool controlBox_ = false;
    bool countryUnavailable_ = false;
    // PAGE_COUNT until a page has been shown.
    PageIndex shownPage_ = PAGE_COUNT;
    int32_t userInterface_ = 0;
    QWinBase* firstInput_[2] = {};
    uint32_t requiredMask_[2] = {};

    QFont normalFont_;
    QFont boldFont_;
    QMemDC header_;
    bool headerLoaded_ = false;
    std::unique_ptr<KVWizardClass> windowClass_;

    QStatic queryRegisterTitle_, queryRegisterSubTitle_;
    QStatic userInfoTitle_, userInfoSubTitle_;
    QStatic info_[14];
    QStatic msisdnLabel_, userEmailLabel_, groupIdLabel_, userNameLabel_, userPasswordLabel_;
    QStatic contactPersonLabel_, contactInfoLabel_, countryLabel_, confirmUserEmailLabel_;
    QEdit msisdn_, userEmail_, groupId_, userName_, userPassword_, contactPerson_, contactInfo_;
    QEdit confirmUserEmail_;
    QCombobox country_;
    QButton queryRegisterNext_, userInfoBack_, userInfoNext_;
    QStatic pendingTitle_, pendingSubTitle_, pendingText1_, pendingText2_;
    QStatic validateTitle_, validateSubTitle_, validateText1_, validateText2_, regCodeLabel_;
    QEdit regCode_;
    QButton validateBack_, validateFinish_;
    QStatic registerInfoTitle_, registerInfoSubTitle_, registerInfoText_;
    QButton registerInfoOk_;
    QButton cancel_;

    KVComponentContainer pages_[PAGE_COUNT];
};
