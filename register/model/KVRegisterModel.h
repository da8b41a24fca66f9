// The wizard model: what the wizard knows and decides.
//   KVRegisterModel   pages and their order, the account data typed by the user, the server's
//                     texts, the message to show, and the two events where the window's
//                     thread hands actions to the host's thread
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "common/KVObserver.h"
#include "include/KVRegisterApi.h"
#include "vuda32/Synchronization/QCriticalSection.h"
#include "vuda32/Synchronization/QEvent.h"

class KVRegisterModel : public KVObservable {
public:
    enum Page : int32_t {
        PAGE_NONE = 0,
        PAGE_QUERYREGISTER = 1,
        PAGE_USERINFO = 2,
        PAGE_PENDING = 3,
        PAGE_VALIDATE = 4,
        PAGE_REGISTERINFO = 5,
    };
    // Codes of the notifications besides the page numbers 1 to 5.
    enum Notification : uint32_t {
        NOTIFY_MSISDN = 10,
        NOTIFY_USEREMAIL = 11,
        NOTIFY_GROUPID = 12,
        NOTIFY_USERNAME = 13,
        NOTIFY_USERPASSWORD = 14,
        NOTIFY_CONTACTPERSON = 15,
        NOTIFY_CONTACTINFO = 16,
        NOTIFY_COUNTRY = 17,
        NOTIFY_CONFIRMUSEREMAIL = 18,
        NOTIFY_REGCODE = 19,
        // Never sent by the model; a window still knows what it means.
        NOTIFY_CONTROLSENABLED = 20,
        NOTIFY_CONTROLSDISABLED = 21,
        NOTIFY_ENDING = 30,
        NOTIFY_MESSAGE = 40,
    };
    enum MessageStyle : uint32_t {
        STYLE_WARNING = 0x30,
        STYLE_FATAL = 0x10030,
        STYLE_CORRECTABLE = 0x10040,
    };
    static constexpr int32_t kNoTimeLimit = -1;
    static constexpr int kWaitFailureLimit = 10;

    explicit KVRegisterModel(const std::string& keyPath);
    virtual ~KVRegisterModel();
    KVRegisterModel(const KVRegisterModel&) = delete;
    KVRegisterModel& operator=(const KVRegisterModel&) = delete;

    // Hands the key path to the country-code service and preselects the home country.
    // 0, or the service's failure code (the run goes on without the service).
    int Initialize(const std::string& campaignId);

    void SetPage(int32_t page);
    int32_t GetPage() const { return page_; }
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
    std::string GetMsisdn() const { return msisdn_; }
    std::string GetUserEmail() const { return userEmail_; }
    std::string GetGroupId() const { return groupId_; }
    std::string GetUserName() const { return userName_; }
    std::string GetUserPassword() const { return userPassword_; }
    std::string GetContactPerson() const { return contactPerson_; }
    std::string GetContactInfo() const { return contactInfo_; }
    std::string GetCountry() const { return country_; }
    std::string GetConfirmUserEmail() const { return confirmUserEmail_; }
    std::string GetInfoText() const { return infoText_; }
    std::string GetResultText() const { return resultText_; }
    std::string GetRegCode() const { return regCode_; }
    std::string GetCampaignId() const { return campaignId_; }

    void SetUseIp(int32_t useIp) { useIp_ = useIp; }
    int32_t GetUseIp() const { return useIp_; }
    void SetUserInterface(int32_t pages) { userInterface_ = pages; }
    int32_t GetUserInterface() const { return userInterface_; }
    bool GetControlsEnabled() const { return controlsEnabled_; }

    // What the window's message box shows on notification 40.
    std::string GetMessageText() const { return messageText_; }
    uint32_t GetMessageStyle() const { return messageStyle_; }

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
    void Notify(uint32_t code);
    void ShowMessage(const std::string& text, uint32_t style);
    // Writes the action of the step in progress; with none, it goes nowhere.
    void WriteAction(int32_t action);
    // A button's action: controls disabled, action written, logged, result event set. Between
    // steps (and once a step has its answer) it is dropped with a log line: only a cancel
    // outlives a step.
    void HandOver(int32_t action, const char* entry);
    // Whether a step waits for the user now.
    bool IsAcceptingActions();
    void StopAcceptingActions();
    // Ends the run from the host's thread with KVACTION_CANCEL.
    void EndWithCancel();
    void FillStepRecord();
    void DispatchWaitingMessages();

    int32_t useIp_ = 0;
    int32_t userInterface_ = 1;
    int32_t wrongCodeCount_ = 0;
    std::string msisdn_;
    std::string userEmail_;
    std::string groupId_;
    std::string userName_;
    std::string userPassword_;
    std::string contactPerson_;
    std::string contactInfo_;
    std::string country_;
    std::string confirmUserEmail_;
    std::string infoText_;
    std::string resultText_;
    std::string regCode_;
    int32_t page_ = PAGE_NONE;
    // Nothing can be typed before the first step has shown a page, whose notification
    // enables that page's controls; so the window starts with everything disabled.
    bool controlsEnabled_ = false;
    std::string messageText_;
    uint32_t messageStyle_ = 0;
    QEvent resultEvent_;
    QEvent cancelEvent_;
    HANDLE waitHandles_[2] = {};
    KVActionRecord* step_ = nullptr;
    std::string keyPath_;
    std::string campaignId_;

    // Guards step_ and accepting_: the window's thread writes actions while the host's
    // thread starts and ends steps.
    QCriticalSection stepLock_;
    bool accepting_ = false;
};
