#include "register/model/KVRegisterModel.h"

#include <cstdio>

#include "common/KVCountryCodesWrapper.h"
#include "common/KVLanguageTable.h"
#include "common/KVRunContext.h"
#include "register/model/KVInputRules.h"
#include "register/model/KVStepRules.h"
#include "register/view/KVRegisterConfig.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/File/QFile.h"
#include "vuda32/File/QLog.h"

namespace {

const char kInitialize[] = "KVRegisterModel::Initialize";
// The layout is read while the window builds its form pages, and logged as such.
const char kCreatePages[] = "KVRegisterView::CreateUserInfoPages";
const char kNextPage[] = "KVRegisterModel::NextPage";
const char kPreviousPage[] = "KVRegisterModel::PreviousPage";
const char kRegister[] = "KVRegisterModel::Register";
const char kWait[] = "KVRegisterModel::WaitForAction";

const char kMissingOrCorruptFile[] = "errMissingOrCorruptFile";

QLog* Log() {
    KVRunContext* run = KVRunContext::Current();
    return run ? run->GetLog() : nullptr;
}

std::string Text(const char* key, const char* defaultText) {
    return KVLanguageTable::Instance().GetText(key, defaultText);
}

// Lower-case hexadecimal, right-aligned in eight places, as the wait's entries show numbers.
std::string Hex8(uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%8x", static_cast<unsigned>(value));
    return buffer;
}

// The number check asks the process's country-code service.
class ServiceLookup : public KVCountryLookup {
public:
    std::string GetCountryOnPrefix(const std::string& prefix) override {
        return KVCountryCodesWrapper::Instance().GetCountryOnPrefix(prefix);
    }
    std::string GetHomeCountry() override { return KVCountryCodesWrapper::Instance().GetHomeCountry(); }
    std::string ConvertToMsisdn(const std::string& number, const std::string& country) override {
        return KVCountryCodesWrapper::Instance().ConvertToMsisdn(number, country);
    }
    int SetHomeCountry(const std::string& country) override {
        return KVCountryCodesWrapper::Instance().SetHomeCountry(country);
    }
};

// Clears the step record when Register leaves, on every path.
class StepScope {
public:
    StepScope(QCriticalSection& lock, KVActionRecord*& step, bool& accepting)
        : lock_(lock), step_(step), accepting_(accepting) {}
    ~StepScope() {
        QCriticalSectionLock hold(lock_);
        step_ = nullptr;
        accepting_ = false;
    }
    StepScope(const StepScope&) = delete;
    StepScope& operator=(const StepScope&) = delete;

private:
    QCriticalSection& lock_;
    KVActionRecord*& step_;
    bool& accepting_;
};

}  // namespace

KVRegisterModel::KVRegisterModel(const std::string& keyPath) : keyPath_(keyPath) {
    resultEvent_.Create(false, false);
    cancelEvent_.Create(false, false);
    waitHandles_[0] = resultEvent_.GetHandle();
    waitHandles_[1] = cancelEvent_.GetHandle();
}

KVRegisterModel::~KVRegisterModel() = default;

int KVRegisterModel::Initialize(const std::string& campaignId) {
    SetCampaignId(campaignId);
    return StartCountryService();
}

void KVRegisterModel::SetCampaignId(const std::string& campaignId) { Store(campaignId_, campaignId); }

int KVRegisterModel::StartCountryService() {
    QCriticalSectionLock once(serviceLock_);
    if (serviceStarted_) return serviceResult_;
    const std::string keyPath = Read(keyPath_);
    KVCountryCodesWrapper& service = KVCountryCodesWrapper::Instance();
    int result = service.SetRegistryKey(keyPath);
    if (result == 0) {
        KVCountryInfo info;
        result = service.GetCountryInfo(service.GetHomeCountry(), info);
        if (result == 0) {
            QCriticalSectionLock hold(lock_);
            Field(NOTIFY_COUNTRY) = info.GetName();
        }
    }
    if (result != 0) {
        QLogEntry(Log(), QLog::LevelInfo, kInitialize) << kMissingOrCorruptFile;
        if (KVRunContext* run = KVRunContext::Current()) run->SetError(kMissingOrCorruptFile);
    }
    serviceStarted_ = true;
    serviceResult_ = result;
    return result;
}

void KVRegisterModel::Notify(uint32_t code) {
    KVNotifyObject record(code);
    NotifyObservers(&record);
}

bool KVRegisterModel::LoadLayout(const std::string& installRoot, KVRegisterConfig& config) {
    std::string bytes;
    try {
        bytes = QFile::ReadWhole(installRoot + "\\register.cfg");
    } catch (const QException&) {
        // Whatever the file wrapper could not do, open, size or read, the file is unusable.
        QLogEntry(Log(), QLog::LevelInfo, kCreatePages) << "File open error [" << installRoot << "]";
        return false;
    }
    config = KVParseRegisterConfig(bytes);
    // A switch reaches the model when the reading got past it.
    const KVConfigCheck firstProblem = config.Failed() ? config.problems[0].check : KVConfigCheck::Coordinate;
    if (!config.Failed() || firstProblem != KVConfigCheck::UseIp) SetUseIp(config.useIp);
    if (!config.Failed() || (firstProblem != KVConfigCheck::UseIp && firstProblem != KVConfigCheck::UserInterface))
        SetUserInterface(config.userInterface);
    QCriticalSectionLock hold(lock_);
    for (KVPages::Page page : {PAGE_QUERYREGISTER, PAGE_USERINFO}) {
        nextRules_[page].requiredMask = config.RequiredMask(page);
        nextRules_[page].emailPresent = config.emailPresent;
    }
    return true;
}

bool KVRegisterModel::IsNextEnabled(int32_t page, const std::function<uint32_t(uint32_t)>& emptyBits,
                                    const std::function<std::string()>& email) const {
    if (page != PAGE_QUERYREGISTER && page != PAGE_USERINFO) return false;
    const KVNextRule rule = Read(nextRules_[page]);
    return rule.Enables(GetPage() == page, emptyBits, email);
}

void KVRegisterModel::SetPage(int32_t page) {
    Write(page_, page, static_cast<uint32_t>(page));
    if (const uint32_t extra = KVAnnouncedWith(page)) Notify(extra);
}

int32_t KVRegisterModel::GetPage() const { return Read(page_); }

int32_t KVRegisterModel::GetFirstFormPage() const {
    return Read(userInterface_) == 2 ? PAGE_QUERYREGISTER : PAGE_USERINFO;
}

void KVRegisterModel::SetUseIp(int32_t useIp) { Store(useIp_, useIp); }

int32_t KVRegisterModel::GetUseIp() const { return Read(useIp_); }

void KVRegisterModel::SetUserInterface(int32_t pages) { Store(userInterface_, pages); }

int32_t KVRegisterModel::GetUserInterface() const { return Read(userInterface_); }

uint32_t KVRegisterModel::GetMessageStyle() const { return Read(messageStyle_); }

void KVRegisterModel::WriteAction(int32_t action) {
    QCriticalSectionLock hold(lock_);
    if (step_) step_->Action = action;
}

bool KVRegisterModel::IsAcceptingActions() const {
    QCriticalSectionLock hold(lock_);
    return step_ != nullptr && accepting_;
}

void KVRegisterModel::StopAcceptingActions() {
    QCriticalSectionLock hold(lock_);
    accepting_ = false;
}

void KVRegisterModel::HandOver(int32_t action, const char* entry) {
    // A press that arrives while the host works (an Enter while a code is checked) must not
    // answer the next step: it would send the same request again.
    if (!IsAcceptingActions()) {
        QLogEntry(Log(), QLog::LevelInfo, kNextPage) << "No step in progress, dropped: " << entry;
        return;
    }
    // The host's thread reads the action only after the event: the order is fixed.
    Notify(NOTIFY_CONTROLSDISABLED);
    {
        // The step record takes the fields as they are at the press. What the window hands
        // over afterwards (the focused field it disables reports its text, which the person
        // may already have typed on) belongs to the next step.
        QCriticalSectionLock hold(lock_);
        // The step may have ended meanwhile (its time ran out), or a second press (a double
        // click) came first: the answer it has stands.
        if (step_ == nullptr || !accepting_) {
            QLogEntry(Log(), QLog::LevelInfo, kNextPage) << "Step already answered, dropped: " << entry;
            return;
        }
        step_->Action = action;
        FillStepRecordLocked();
        accepting_ = false;
        handedOver_ = true;
    }
    QLogEntry(Log(), QLog::LevelInfo, kNextPage) << entry;
    resultEvent_.SetEvent();
}

int32_t KVRegisterModel::NextPage() {
    switch (GetPage()) {
    case PAGE_QUERYREGISTER:
        if (ValidateMsisdn() && ValidateEmail()) HandOver(KVACTION_QUERYREGISTER, "KVACTION_QUERYREGISTER");
        break;
    case PAGE_USERINFO:
        if (ValidateMsisdn() && ValidateEmail()) HandOver(KVACTION_REGISTER, "KVACTION_REGISTER");
        break;
    case PAGE_PENDING:
        QLogEntry(Log(), QLog::LevelError, kNextPage) << "PAGE_PENDING";
        break;
    case PAGE_VALIDATE:
        HandOver(KVACTION_VALIDATE, "PAGE_VALIDATE");
        break;
    case PAGE_REGISTERINFO:
        HandOver(KVACTION_FINISHED, "PAGE_REGISTERINFO");
        break;
    default:
        QLogEntry(Log(), QLog::LevelError, kNextPage) << "Unknwon page";
        SetPage(PAGE_USERINFO);
        break;
    }
    return GetPage();
}

int32_t KVRegisterModel::PreviousPage() {
    const int32_t page = GetPage();
    QLogEntry(Log(), QLog::LevelInfo, kPreviousPage) << "ActivePage: " << page;
    if (!IsAcceptingActions()) {
        QLogEntry(Log(), QLog::LevelInfo, kPreviousPage) << "No step in progress, dropped";
        return page;
    }
    switch (page) {
    case PAGE_QUERYREGISTER:
    case PAGE_REGISTERINFO:
        break;
    case PAGE_USERINFO:
        if (GetUserInterface() > 1) SetPage(PAGE_QUERYREGISTER);
        break;
    default:
        SetPage(PAGE_USERINFO);
        break;
    }
    return GetPage();
}

void KVRegisterModel::Cancel() {
    Notify(NOTIFY_CONTROLSDISABLED);
    cancelEvent_.SetEvent();
}

void KVRegisterModel::SetMsisdn(const std::string& text) { SetFieldText(NOTIFY_MSISDN, text); }
void KVRegisterModel::SetUserEmail(const std::string& text) { SetFieldText(NOTIFY_USEREMAIL, text); }
void KVRegisterModel::SetGroupId(const std::string& text) { SetFieldText(NOTIFY_GROUPID, text); }
void KVRegisterModel::SetUserName(const std::string& text) { SetFieldText(NOTIFY_USERNAME, text); }
void KVRegisterModel::SetUserPassword(const std::string& text) { SetFieldText(NOTIFY_USERPASSWORD, text); }
void KVRegisterModel::SetContactPerson(const std::string& text) { SetFieldText(NOTIFY_CONTACTPERSON, text); }
void KVRegisterModel::SetContactInfo(const std::string& text) { SetFieldText(NOTIFY_CONTACTINFO, text); }
void KVRegisterModel::SetCountry(const std::string& text) { SetFieldText(NOTIFY_COUNTRY, text); }
void KVRegisterModel::SetConfirmUserEmail(const std::string& text) {
    SetFieldText(NOTIFY_CONFIRMUSEREMAIL, text);
}
void KVRegisterModel::SetRegCode(const std::string& text) { SetFieldText(NOTIFY_REGCODE, text); }

void KVRegisterModel::SetFieldText(uint32_t code, const std::string& text) {
    const int index = FieldIndex(code);
    if (index >= 0) Write(fields_[index], text, code);
}

std::string KVRegisterModel::GetFieldText(uint32_t code) const {
    const int index = FieldIndex(code);
    return index >= 0 ? Read(fields_[index]) : std::string();
}

void KVRegisterModel::ShowMessage(const std::string& text, uint32_t style) {
    Store(messageText_, text);
    ShowMessageText(style);
}

void KVRegisterModel::ShowMessageText(uint32_t style) { Write(messageStyle_, style, NOTIFY_MESSAGE); }

void KVRegisterModel::EndWithCancel() {
    Notify(NOTIFY_ENDING);
    WriteAction(KVACTION_CANCEL);
}

int KVRegisterModel::Register(const KVResultRecord& result, KVActionRecord& step) {
    {
        QCriticalSectionLock hold(lock_);
        step_ = &step;
        accepting_ = true;
        handedOver_ = false;
        // A button pressed before this step began was dropped; its event must not answer
        // this step. A cancel stays set: the user may cancel between steps.
        resultEvent_.ResetEvent();
    }
    StepScope scope(lock_, step_, accepting_);

    switch (result.Result) {
    case KVRESULT_NONE:
        QLogEntry(Log(), QLog::LevelInfo, kRegister) << "KVRESULT_NONE";
        switch (GetUserInterface()) {
        case 0:
            SetPage(PAGE_USERINFO);
            NextPage();
            break;
        case 1:
        case 2:
            SetPage(GetFirstFormPage());
            break;
        default:
            break;
        }
        WaitForAction(kNoTimeLimit);
        break;
    case KVRESULT_REGISTERED:
        if (result.InfoText.empty()) {
            QLogEntry(Log(), QLog::LevelInfo, kRegister) << "KVRESULT_REGISTERED";
            Notify(NOTIFY_ENDING);
            WriteAction(KVACTION_FINISHED);
            break;
        }
        QLogEntry(Log(), QLog::LevelInfo, kRegister) << "KVRESULT_REGISTERED [" << result.InfoText << "]";
        Store(infoText_, result.InfoText);
        SetPage(PAGE_REGISTERINFO);
        WaitForAction(kNoTimeLimit);
        break;
    case KVRESULT_VALIDATE:
        QLogEntry(Log(), QLog::LevelInfo, kRegister) << "KVRESULT_VALIDATE [" << result.ResultText << "]";
        Store(resultText_, result.ResultText);
        SetPage(PAGE_VALIDATE);
        WaitForAction(kNoTimeLimit);
        break;
    case KVRESULT_PENDING: {
        QLogEntry(Log(), QLog::LevelInfo, kRegister) << "KVRESULT_PENDING [" << result.ResultText << "]";
        Store(resultText_, result.ResultText);
        SetPage(PAGE_PENDING);
        WriteAction(KVACTION_REGISTER);
        // 32-bit arithmetic as the host counts; wrapping keeps absurd values defined.
        const uint32_t ms = static_cast<uint32_t>(result.WaitSeconds) * 1000u;
        WaitForAction(static_cast<int32_t>(ms));
        break;
    }
    case KVRESULT_ERROR: {
        QLogEntry(Log(), QLog::LevelInfo, kRegister)
            << "KVRESULT_ERROR: " << result.ErrorKey << " [" << result.ResultText << "]";
        std::string message = result.ErrorText;
        if (result.ErrorKey == "InvalidRegCode" || result.ErrorKey == "RegCodeBlocked") {
            int32_t wrongCodes = 0;
            {
                QCriticalSectionLock hold(lock_);
                if (result.ErrorKey == "InvalidRegCode") ++wrongCodeCount_;
                wrongCodes = wrongCodeCount_;
            }
            // The count is that after this error: 1 for the first wrong code.
            if (result.ErrorKey == "InvalidRegCode" && wrongCodes == 1)
                message = Text(
                    "Message.ErrorWrongRegistrationCodeTwoAttemptsLeft",
                    "The first registation code you typed is invalid.<newline>You have two attempts "
                    "left to type the correct registration code.<newline>Please note that after "
                    "three consecutive failed attempts your number will be blocked.");
            else if (result.ErrorKey == "InvalidRegCode" && wrongCodes == 2)
                message = Text(
                    "Message.ErrorWrongRegistrationCodeOneAttemptsLeft",
                    "The second registation code you typed is invalid as well.<newline>You have "
                    "one left attempt to type the correct registration code.<newline>Please note "
                    "that after three consecutive failed attempts your number will be blocked.");
            else if (result.ErrorKey == "RegCodeBlocked" && wrongCodes >= 2)
                message = Text("Message.ErrorWrongRegistrationCodeNoMoreAttempts",
                               "All the registration codes you typed were invalid.<newline>Your "
                               "number has now been blocked (three consecutive failed attempts).");
        }
        {
            QCriticalSectionLock hold(lock_);
            resultText_ = result.ResultText;
            messageText_ = message;
        }
        HandleServerError(result.ErrorKey);
        break;
    }
    case KVRESULT_QUERIEDREGISTER:
        QLogEntry(Log(), QLog::LevelInfo, kRegister) << "KVRESULT_QUERIEDREGISTER";
        SetPage(PAGE_USERINFO);
        WaitForAction(kNoTimeLimit);
        break;
    default:
        // Only logged: the window is not told to end and the step record keeps the action the
        // caller put there, so KVRegister decides what a result it cannot read reports.
        QLogEntry(Log(), QLog::LevelError, kRegister) << "Unknown Result: " << result.Result;
        break;
    }
    return 0;
}

void KVRegisterModel::HandleServerError(const std::string& errorKey) {
    if (const KVServerErrorRule* e = KVFindServerError(errorKey)) {
        if (e->fatal) {
            ShowFatalError(e->languageKey, e->defaultText);
        } else {
            // A first step that is an error has no page of its own yet: the person corrects
            // the input on the form page the window shows first.
            int32_t page = e->pageAfter != PAGE_NONE ? e->pageAfter : GetPage();
            if (page == PAGE_NONE) page = GetFirstFormPage();
            ShowErrorAndWait(page, e->languageKey, e->defaultText);
        }
        return;
    }
    // The server sent no text.
    if (GetMessageText().empty())
        ShowMessage(Text(kUnknownErrorLanguageKey, kUnknownErrorDefaultText), STYLE_WARNING);
    else
        ShowMessageText(STYLE_WARNING);
    EndWithCancel();
}

void KVRegisterModel::ShowFatalError(const std::string& languageKey, const std::string& defaultText) {
    if (languageKey.empty())
        ShowMessageText(STYLE_FATAL);
    else
        ShowMessage(Text(languageKey.c_str(), defaultText.c_str()), STYLE_FATAL);
    EndWithCancel();
}

void KVRegisterModel::ShowErrorAndWait(int32_t page, const std::string& languageKey,
                                       const std::string& defaultText) {
    if (languageKey.empty())
        ShowMessageText(STYLE_CORRECTABLE);
    else
        ShowMessage(Text(languageKey.c_str(), defaultText.c_str()), STYLE_CORRECTABLE);
    SetPage(page);
    WaitForAction(kNoTimeLimit);
}

void KVRegisterModel::DispatchWaitingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void KVRegisterModel::WaitForAction(int32_t timeLimitMs) {
    QLogEntry(Log(), QLog::LevelInfo, kWait) << "SleepTime: " << Hex8(static_cast<uint32_t>(timeLimitMs));
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(timeLimitMs);
    int failures = 0;
    for (;;) {
        DWORD timeout = INFINITE;
        if (timeLimitMs != kNoTimeLimit) {
            const int32_t remaining = static_cast<int32_t>(deadline - GetTickCount());
            if (remaining <= 0) return;
            timeout = static_cast<DWORD>(remaining);
        }
        const DWORD woken = MsgWaitForMultipleObjects(2, waitHandles_, FALSE, timeout, QS_PAINT);
        if (woken == WAIT_OBJECT_0) {
            // HandOver filled the step record when it took the press.
            StopAcceptingActions();
            QLogEntry(Log(), QLog::LevelInfo, kWait) << "Result";
            LogStepRecord();
            return;
        }
        if (woken == WAIT_OBJECT_0 + 1) {
            // Once the step has its answer a second press (a double click) must not change it.
            StopAcceptingActions();
            QLogEntry(Log(), QLog::LevelInfo, kWait) << "Cancel";
            EndWithCancel();
            return;
        }
        if (woken == WAIT_OBJECT_0 + 2) {
            DispatchWaitingMessages();
            continue;
        }
        if (woken == WAIT_TIMEOUT) {
            {
                QCriticalSectionLock hold(lock_);
                // A press that came in just before the time ran out has filled the record.
                if (!handedOver_) FillStepRecordLocked();
                accepting_ = false;
            }
            QLogEntry(Log(), QLog::LevelInfo, kWait) << "WAIT_TIMEOUT";
            LogStepRecord();
            return;
        }
        if (++failures < kWaitFailureLimit) {
            QLogEntry(Log(), QLog::LevelInfo, kWait) << "Wait failed: " << Hex8(woken);
            continue;
        }
        // Leaves without an answer: the step record keeps the action it held, and
        // KVRegister gives a step that names none a defined one.
        QLogEntry(Log(), QLog::LevelError, kWait) << "Wait failed 10 times, leaving.";
        return;
    }
}

void KVRegisterModel::FillStepRecordLocked() {
    if (step_ == nullptr) return;
    step_->UseIp = useIp_;
    step_->Msisdn = Field(NOTIFY_MSISDN);
    step_->UserEmail = Field(NOTIFY_USEREMAIL);
    step_->GroupId = campaignId_.empty() ? Field(NOTIFY_GROUPID) : campaignId_;
    step_->UserName = Field(NOTIFY_USERNAME);
    step_->UserPassword = Field(NOTIFY_USERPASSWORD);
    step_->ContactPerson = Field(NOTIFY_CONTACTPERSON);
    step_->ContactInfo = Field(NOTIFY_CONTACTINFO);
    step_->RegCode = Field(NOTIFY_REGCODE);
}

void KVRegisterModel::LogStepRecord() {
    int32_t useIp = 0;
    std::string msisdn, email, name, contact;
    {
        QCriticalSectionLock hold(lock_);
        if (step_ == nullptr) return;
        useIp = step_->UseIp;
        msisdn = step_->Msisdn;
        email = step_->UserEmail;
        name = step_->UserName;
        contact = step_->ContactPerson;
    }
    // The password, group, contact number and registration code stay out of the log.
    QLogEntry(Log(), QLog::LevelInfo, kWait) << "ACTION [T:" << useIp << ",M:" << msisdn << ",E:" << email
                                             << ",U:" << name << ",C:" << contact << "]";
}

bool KVRegisterModel::ValidateMsisdn() {
    // The check asks the service: at the latest it starts here.
    StartCountryService();
    ServiceLookup lookup;
    const KVMsisdnVerdict verdict = JudgeMsisdn(GetMsisdn(), lookup);
    {
        // The rewritten number stays in the model even when the check fails.
        QCriticalSectionLock hold(lock_);
        Field(NOTIFY_MSISDN) = verdict.msisdn;
    }
    if (verdict.valid) return true;
    ShowMessage(Text(kMsisdnErrorLanguageKey, kMsisdnErrorDefaultText), STYLE_WARNING);
    return false;
}

bool KVRegisterModel::ValidateEmail() {
    switch (JudgeEmail(GetUserEmail(), GetConfirmUserEmail())) {
    case KVEmailVerdict::Ok:
        return true;
    case KVEmailVerdict::ConfirmationDiffers:
        ShowMessage(Text("Message.InvalidConfirmEmailAddress",
                         "The two email addresses specified must be the same."),
                    STYLE_WARNING);
        return false;
    case KVEmailVerdict::BadFormat:
        break;
    }
    ShowMessage(Text("Message.InvalidEmailAddressFormat",
                     "The email address you have specified is in an invalid format.<newline><newline>"
                     "Please specify a valid email address or leave the field empty."),
                STYLE_WARNING);
    return false;
}

bool KVRegisterModel::CheckEmailSyntax(std::string text) { return ::CheckEmailSyntax(std::move(text)); }
