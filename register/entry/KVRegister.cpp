#include "register/entry/KVRegister.h"

#include "common/KVLanguageTable.h"
#include "common/KVLogStartup.h"
#include "common/KVRegistry.h"
#include "register/model/KVRegisterModel.h"
#include "register/model/KVStepRules.h"
#include "register/view/KVRegisterViewWindow.h"
#include "vuda32/Application/QDll.h"
#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/File/QLog.h"

namespace {

const char kFile[] = ".\\entry\\KVRegister.cpp";
const char kInitialize[] = "KVRegister::Initialize";
const char kRegister[] = "KVRegister::Register";
const char kDestroyWizard[] = "KVRegister::DestroyWizard";
const char kDestructor[] = "KVRegister::~KVRegister";
const char kMissingOrCorruptFile[] = "errMissingOrCorruptFile";

// A text of the step record reaches the host only when it holds something: an empty one
// leaves what the host already has (the password of an earlier step, for instance).
void CopyIfSet(std::string& to, const std::string& from) {
    if (!from.empty()) to = from;
}

// Errors of the window library that happen where nothing may unwind (destructors, window
// procedures) end up in the run's log, at the error level, with the place they were raised.
void LogSwallowedError(const QException& error) {
    try {
        KVRegister* app = KVRegister::Get();
        if (app == nullptr) return;
        const ErrExcepInfo& info = error.GetFirstInfo();
        QLogEntry(app->GetLog(), QLog::LevelError, "KVRegister::LogSwallowedError")
            << info.typeName << " " << info.errorCode << ": " << info.description << " ("
            << info.sourceFile << ", " << info.method << ", line " << info.line
            << ", system error " << info.systemError << ")";
    } catch (...) {
    }
}

// The error key and its text, for a step that ends with KVACTION_ERROR. The recorded key is
// always the bare file error; its "Message." form carries the text that tells the user what
// to do, so that is the one shown.
void FillErrorRecord(KVActionRecord& action, const std::string& errorKey) {
    std::string defaultText;
    const std::string messageKey = "Message." + errorKey;
    if (messageKey == "Message.errMissingOrCorruptFile")
        defaultText = "A file that the program needs does not exist, or is corrupt.<newline>"
                      "You need to reinstall the program.";
    else if (messageKey == "Message.errConfigurationFailure")
        defaultText = "A configuration error occurred.<newline>You need to reinstall the program.";
    action.ErrorKey = errorKey;
    action.ErrorText = KVLanguageTable::Instance().GetText(messageKey, defaultText);
}

// The last resort of a step whose error handling failed in turn: a defined action, and the
// key and text as far as they can still be made.
void FillErrorAsFarAsPossible(KVActionRecord& action) noexcept {
    action.Action = KVACTION_ERROR;
    try {
        FillErrorRecord(action, kMissingOrCorruptFile);
    } catch (...) {
        ReportCaughtError(kFile, "FillErrorAsFarAsPossible", __LINE__);
    }
}

}  // namespace

KVRegister::KVRegister() : windowFactory_(&KVMakeRegisterView) { SetSwallowedErrorSink(&LogSwallowedError); }

KVRegister::~KVRegister() {
    try {
        if (QDllIsProcessEnding()) {
            // The other threads are gone, and the system takes back their windows, the memory
            // and the handles: closing a window whose thread is gone could only go wrong.
            QLogEntry(log_.get(), QLog::LevelInfo, kDestructor) << "Process ending: the run is left to the system";
            view_.release();
            model_.release();
            for (LeftBehind& run : leftBehind_) {
                run.view.release();
                run.model.release();
            }
        } else {
            DestroyWizard();
        }
        QLogEntry(log_.get(), QLog::LevelInfo, kDestructor) << "Destructor";
    } catch (...) {
        // Runs at library unload: nothing may leave it.
        ReportCaughtError(kFile, "~KVRegister", __LINE__);
    }
    SetSwallowedErrorSink(nullptr);
    log_.reset();
}

KVRegister* KVRegister::Get() { return dynamic_cast<KVRegister*>(GetApp()); }

int KVRegister::GetApplicationId() { return 102; }

void KVRegister::Init(const std::string& keyPath) {
    keyPath_ = keyPath;
    if (log_) return;
    log_ = KVOpenLog(GetRegistry());
}

void KVRegister::SetError(const std::string& errorKey) {
    QCriticalSectionLock hold(errorLock_);
    errorKey_ = errorKey;
}

std::string KVRegister::GetError() const {
    QCriticalSectionLock hold(errorLock_);
    return errorKey_;
}

KVRegistry& KVRegister::GetRegistry() {
    if (!registry_) registry_ = std::make_unique<KVRegistry>(keyPath_);
    return *registry_;
}

int KVRegister::Initialize() {
    if (languagesLoaded_) return 0;
    std::string root;
    try {
        root = GetRegistry().GetInstallRoot();
    } catch (const QException&) {
        // Without an installation folder there is no language file to read: the same
        // error as a missing file, so the host tells the user to reinstall.
        QLogEntry(log_.get(), QLog::LevelError, kInitialize) << "No InstallRoot";
        SetError(kMissingOrCorruptFile);
        return 1;
    }
    KVLanguageTable& table = KVLanguageTable::Instance();
    try {
        table.Load(root + "\\registercompany.lang");
    } catch (const QFileException&) {
        // The company's wording is optional.
    }
    try {
        table.Load(root + "\\register.lang");
    } catch (const QFileException&) {
        QLogEntry(log_.get(), QLog::LevelInfo, kInitialize) << kMissingOrCorruptFile << " [" << root << "]";
        SetError(kMissingOrCorruptFile);
        return 1;
    }
    languagesLoaded_ = true;
    return 0;
}

bool KVRegister::CreateWindowOfRun() {
    // Windows of earlier runs that have ended since go before a new one shares their class.
    FreeLeftBehind();
    // A run always has a window: without one the host's step would wait for nobody.
    if (windowFactory_) view_ = windowFactory_(*model_, keyPath_);
    if (!view_) return false;
    view_->SetOwnerWindow(ownerWindow_);
    if (!view_->IsFailed()) view_->StartThread();
    if (!view_->IsFailed()) view_->Show();
    return !view_->IsFailed();
}

void KVRegister::FillError(KVActionRecord& action) {
    const std::string errorKey = GetError();
    QLogEntry(log_.get(), QLog::LevelInfo, kRegister) << "Exiting due to error: " << errorKey;
    FillErrorRecord(action, errorKey);
}

int KVRegister::Register(const KVResultRecord& result, KVActionRecord& action) {
    int failed = 0;
    try {
        QLogEntry(log_.get(), QLog::LevelInfo, kRegister)
            << "Result:" << result.Result << ", Action:" << action.Action;
        failed = Initialize();
        if (!failed && !model_) {
            model_ = std::make_unique<KVRegisterModel>(keyPath_);
            // The country-code service starts once the first page is on display (or at the
            // first number check); a failed start only records the error key.
            model_->SetCampaignId(GetRegistry().GetCampaignID());
        }
        if (!failed && !view_ && !CreateWindowOfRun()) {
            QLogEntry(log_.get(), QLog::LevelError, kRegister) << "The wizard window could not be started";
            // A window that failed without naming a file still needs a text for the host.
            if (GetError().empty()) SetError(kMissingOrCorruptFile);
            action.Action = KVACTION_ERROR;
            failed = 1;
        }
        // A path of the model that names no action still hands the host a defined one.
        KVActionRecord step;
        step.Action = KVACTION_CANCEL;
        if (!failed) {
            model_->Register(result, step);
            action.Action = step.Action;
            action.UseIp = step.UseIp;
            CopyIfSet(action.Msisdn, step.Msisdn);
            CopyIfSet(action.UserName, step.UserName);
            CopyIfSet(action.UserPassword, step.UserPassword);
            CopyIfSet(action.UserEmail, step.UserEmail);
            CopyIfSet(action.ContactPerson, step.ContactPerson);
            CopyIfSet(action.ContactInfo, step.ContactInfo);
            CopyIfSet(action.GroupId, step.GroupId);
            CopyIfSet(action.RegCode, step.RegCode);
        } else {
            action.Action = KVACTION_ERROR;
        }
    } catch (const QException& e) {
        const ErrExcepInfo& origin = e.GetFirstInfo();
        QLogEntry(log_.get(), QLog::LevelError, kRegister)
            << origin.sourceFile << " " << origin.method << " " << origin.errorCode << " "
            << origin.description;
        SetError(kMissingOrCorruptFile);
        action.Action = KVACTION_ERROR;
        failed = 1;
    } catch (...) {
        QLogEntry(log_.get(), QLog::LevelError, kRegister) << "Unexpected failure";
        SetError(kMissingOrCorruptFile);
        action.Action = KVACTION_ERROR;
        failed = 1;
    }

    try {
        QLogEntry(log_.get(), QLog::LevelInfo, kRegister) << "Action:" << action.Action;
        if (KVEndsRun(action.Action)) {
            if (action.Action == KVACTION_ERROR) FillError(action);
            DestroyWizard();
        }
    } catch (...) {
        ReportCaughtError(kFile, "Register", __LINE__);
        FillErrorAsFarAsPossible(action);
        failed = 1;
    }
    return failed;
}

int KVRegister::RefuseStep(KVActionRecord& action) {
    QLogEntry(log_.get(), QLog::LevelError, kRegister) << "No result record";
    SetError(kMissingOrCorruptFile);
    action.Action = KVACTION_ERROR;
    try {
        FillError(action);
        DestroyWizard();
    } catch (...) {
        ReportCaughtError(kFile, "RefuseStep", __LINE__);
        FillErrorAsFarAsPossible(action);
    }
    return 1;
}

void KVRegister::DestroyWizard() {
    // The window goes first: it saves its place while it closes.
    if (view_) {
        if (view_->Close(kCloseTimeoutMs)) {
            view_.reset();
        } else {
            // A window thread that is still running uses its window object and the model:
            // freeing them would crash the host later. They are kept until it has ended.
            QLogEntry(log_.get(), QLog::LevelError, kDestroyWizard)
                << "Window thread still running; its window and model are kept until it ends";
            leftBehind_.push_back(LeftBehind{std::move(view_), std::move(model_)});
        }
    }
    model_.reset();
    registry_.reset();
    FreeLeftBehind();
}

void KVRegister::FreeLeftBehind() {
    if (leftBehind_.empty()) return;
    for (const LeftBehind& run : leftBehind_)
        if (!run.view->HasEnded()) return;
    QLogEntry(log_.get(), QLog::LevelInfo, kDestroyWizard)
        << "Windows left behind have ended: " << leftBehind_.size() << " freed";
    // Newest first: each window object goes before the model it observes.
    while (!leftBehind_.empty()) {
        leftBehind_.back().view.reset();
        leftBehind_.back().model.reset();
        leftBehind_.pop_back();
    }
}

int KVRegisterStart(const std::string& keyPath) noexcept {
    try {
        if (KVRegister* app = KVRegister::Get()) app->Init(keyPath);
    } catch (...) {
        // Without a log the wizard still runs; the sink says why there is none.
        ReportCaughtError(kFile, "KVRegisterInit", __LINE__);
    }
    return 0;
}

int KVRegisterStep(const KVResultRecord* result, KVActionRecord* action) noexcept {
    KVRegister* app = KVRegister::Get();
    if (action == nullptr) {
        // Nowhere to answer: only the log can say what happened.
        try {
            if (app) QLogEntry(app->GetLog(), QLog::LevelError, kRegister) << "No action record";
        } catch (...) {
            ReportCaughtError(kFile, "KVRegisterInternal", __LINE__);
        }
        return 1;
    }
    try {
        if (app == nullptr) {
            FillErrorAsFarAsPossible(*action);
            return 1;
        }
        if (result == nullptr) return app->RefuseStep(*action);
        return app->Register(*result, *action);
    } catch (...) {
        ReportCaughtError(kFile, "KVRegisterInternal", __LINE__);
        FillErrorAsFarAsPossible(*action);
        return 1;
    }
}
