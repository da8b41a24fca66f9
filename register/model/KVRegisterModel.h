// The wizard model: what the wizard knows and decides.
//   KVRegisterModel   pages and their order, the account data typed by the user, the server's
//                     texts, the message to show, and the two events where the window's
//                     thread hands actions to the host's thread
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "common/KVObserver.h"
#include "include/KVRegisterApi.h"
#include "register/model/KVInputRules.h"
#include "register/model/KVModelCodes.h"
#include "vuda32/Synchronization/QCriticalSection.h"
#include "vuda32/Synchronization/QEvent.h"

struct KVRegisterConfig;

class KVRegisterModel : public KVObservable, public KVPages, public KVNotifications {
public:
    enum MessageStyle : uint32_t {
        STYLE_WARNING = MB_OK | MB_ICONWARNING,
        STYLE_FATAL = MB_OK | MB_ICONWARNING | MB_SETFOREGROUND,
        STYLE_CORRECTABLE = MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND,
    };
    static constexpr int32_t kNoTimeLimit = -1;
    static constexpr int kWaitFailureLimit = 10;

    explicit KVRegisterModel(const std::string& keyPath);
    virtual ~KVRegisterModel();
    KVRegisterModel(const KVRegisterModel&) = delete;
    KVRegisterModel& operator=(const KVRegisterModel&) = delete;

    // Keeps the campaign identifier and starts the country-code service at once.
    int Initialize(const std::string& campaignId);
    // Keeps the campaign identifier only: the service starts when it is first needed.
    void SetCampaignId(const std::string& campaignId);
    // Hands the key path to the country-code service and preselects the home country, once
    // per model: a later call waits until the first has finished and returns its result.
    // 0, or the service's failure code (the run goes on without the service).
    int StartCountryService();

    // Reads the installation's register.cfg, the layout of the form pages, into `config`. UseIp
    // and UserInterface reach the model as far as the reading accepted them, and the Next rules
    // of the two form pages take their required fields. False when the file cannot be read.
    bool LoadLayout(const std::string& installRoot, KVRegisterConfig& config);
    // Whether a form page's Next is enabled: emptyBits(mask) gives the bits of mask whose
    // fields are empty, email() the address typed; each is asked only when the rule needs it.
    bool IsNextEnabled(int32_t page, const std::function<uint32_t(uint32_t)>& emptyBits,
                       const std::function<std::string()>& email) const;
    // The page a window shows when it first shows itself, and whether it can show the run.
    KVFirstShow GetFirstShow() const { return KVFirstShownPage(GetPage(), GetUserInterface()); }

    // Announces the page, then what it announces with it (KVAnnouncedWith).
    void SetPage(int32_t page);
    int32_t GetPage() const;
    // The form page a run shows before any step has chosen one: PAGE_QUERYREGISTER with two
    // form pages, PAGE_USERINFO otherwise (where Next on no page leads too).
    int32_t GetFirstFormPage() const;
    // Next, Finish and OK of the window; checks the form pages and hands over their action.
    int32_t NextPage();
    // Back of the window; never hands anything to the host.
    int32_t PreviousPage();
    // Cancel or closing the window.
    void Cancel();

    void SetMsisdn(const std::string& text);
    void SetUserEmail(const std::string& text);
    void SetGroupId(const std::string& text);
    void SetUserName(const std::string& text);
    void SetUserPassword(const std::string& text);
    void SetContactPerson(const std::string& text);
    void SetContactInfo(const std::string& text);
    void SetCountry(const std::string& text);
    void SetConfirmUserEmail(const std::string& text);
    void SetRegCode(const std::string& text);
    // A field by the code that announces it (NOTIFY_MSISDN to NOTIFY_REGCODE); other codes
    // read empty and write nothing.
    void SetFieldText(uint32_t code, const std::string& text);
    std::string GetFieldText(uint32_t code) const;
    std::string GetMsisdn() const { return GetFieldText(NOTIFY_MSISDN); }
    std::string GetUserEmail() const { return GetFieldText(NOTIFY_USEREMAIL); }
    std::string GetGroupId() const { return GetFieldText(NOTIFY_GROUPID); }
    std::string GetUserName() const { return GetFieldText(NOTIFY_USERNAME); }
    std::string GetUserPassword() const { return GetFieldText(NOTIFY_USERPASSWORD); }
    std::string GetContactPerson() const { return GetFieldText(NOTIFY_CONTACTPERSON); }
    std::string GetContactInfo() const { return GetFieldText(NOTIFY_CONTACTINFO); }
    std::string GetCountry() const { return GetFieldText(NOTIFY_COUNTRY); }
    std::string GetConfirmUserEmail() const { return GetFieldText(NOTIFY_CONFIRMUSEREMAIL); }
    // The server's texts of its last results, kept as they came. No page shows them (the
    // pages have texts of their own), so they are only there for whoever inspects the model.
    std::string GetInfoText() const { return Read(infoText_); }
    std::string GetResultText() const { return Read(resultText_); }
    std::string GetRegCode() const { return GetFieldText(NOTIFY_REGCODE); }
    std::string GetCampaignId() const { return Read(campaignId_); }

    void SetUseIp(int32_t useIp);
    int32_t GetUseIp() const;
    void SetUserInterface(int32_t pages);
    int32_t GetUserInterface() const;
    // Whether the window's Initialize enables the controls of the page it shows first.
    bool GetControlsEnabled() const { return kControlsEnabledAtStart; }

    // What the window's message box shows on notification 40.
    std::string GetMessageText() const { return Read(messageText_); }
    uint32_t GetMessageStyle() const;

    // One step on the host's thread: interprets the result, then waits for the answer. 0.
    int Register(const KVResultRecord& result, KVActionRecord& step);
    // Waits for an action, a cancel or the time limit (kNoTimeLimit: none); never polls.
    void WaitForAction(int32_t timeLimitMs);

    bool ValidateMsisdn();
    bool ValidateEmail();
    static bool CheckEmailSyntax(std::string text);

    void HandleServerError(const std::string& errorKey);
    void ShowFatalError(const std::string& languageKey, const std::string& defaultText);
    void ShowErrorAndWait(int32_t page, const std::string& languageKey, const std::string& defaultText);

private:
    // The window's Initialize shows the first form page before any step has chosen one. A
    // first step that ends in an error the person can correct leaves them on that page, so
    // its controls must take input from the start; between steps notification 21 disables
    // them in any case.
    static constexpr bool kControlsEnabledAtStart = true;

    // A copy of a field, taken under the lock.
    template <typename T>
    T Read(const T& field) const {
        QCriticalSectionLock hold(lock_);
        return field;
    }
    template <typename T>
    void Store(T& field, const T& value) {
        QCriticalSectionLock hold(lock_);
        field = value;
    }
    // Stores, then notifies observers with `code` (outside the lock).
    template <typename T>
    void Write(T& field, const T& value, uint32_t code) {
        Store(field, value);
        Notify(code);
    }
    void Notify(uint32_t code);
    void ShowMessage(const std::string& text, uint32_t style);
    // Shows the message text already set, with `style`.
    void ShowMessageText(uint32_t style);
    // Writes the action of the step in progress; with none, it goes nowhere.
    void WriteAction(int32_t action);
    // A button's action: controls disabled, then, in one move under the lock, the action and
    // the account fields as they stand written into the step record, logged, and the result
    // event set. Between steps (and once a step has its answer) it is dropped with a log
    // line: only a cancel outlives a step.
    void HandOver(int32_t action, const char* entry);
    // Whether a step waits for the user now.
    bool IsAcceptingActions() const;
    // The step takes no more actions.
    void StopAcceptingActions();
    // Ends the run from the host's thread with KVACTION_CANCEL.
    void EndWithCancel();
    // Copies the account fields into the step record; the lock is held by the caller.
    void FillStepRecordLocked();
    void LogStepRecord();
    void DispatchWaitingMessages();
    // Where fields_ keeps the text a code announces; -1 for codes that announce no field.
    static int FieldIndex(uint32_t code) {
        return code >= NOTIFY_MSISDN && code <= NOTIFY_REGCODE ? static_cast<int>(code - NOTIFY_MSISDN) : -1;
    }
    // For a code that announces a field; the caller holds the lock.
    std::string& Field(uint32_t code) { return fields_[FieldIndex(code)]; }

    // Every field below is read and written under lock_, and read as a copy: the host's
    // thread (a step, its result, its wait) and the window's thread (the person's input and
    // buttons) both use the model. Confining it to the window's thread would move a server
    // error's message box off the host's thread that waits for its answer. The lock is never
    // held while observers are notified: notification 40 waits for a person.
    mutable QCriticalSection lock_;
    int32_t useIp_ = 0;
    int32_t userInterface_ = 1;
    int32_t wrongCodeCount_ = 0;
    // The texts the person types, by their notification code (NOTIFY_MSISDN to NOTIFY_REGCODE).
    std::string fields_[NOTIFY_REGCODE - NOTIFY_MSISDN + 1];
    std::string infoText_;
    std::string resultText_;
    int32_t page_ = PAGE_NONE;
    std::string messageText_;
    uint32_t messageStyle_ = 0;
    QEvent resultEvent_;
    QEvent cancelEvent_;
    HANDLE waitHandles_[2] = {};
    KVActionRecord* step_ = nullptr;
    // A step waits for the user and has not had its answer yet.
    bool accepting_ = false;
    // The action of this step was handed over, with the account fields, by HandOver.
    bool handedOver_ = false;
    std::string keyPath_;
    std::string campaignId_;
    // Held through the whole start of the country-code service, apart from lock_: loading
    // the library takes long, and the other fields stay usable meanwhile.
    QCriticalSection serviceLock_;
    bool serviceStarted_ = false;
    int serviceResult_ = 0;
    // By page; only the two form pages' are set.
    KVNextRule nextRules_[KVPages::kCount];
};
