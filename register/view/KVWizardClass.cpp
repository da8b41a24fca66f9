#include "register/view/KVWizardClass.h"

#include <windows.h>

#include <memory>

#include "common/KVRunContext.h"
#include "register/view/KVRegisterViewIds.h"
#include "vuda32/Application/QGlobalData.h"
#include "vuda32/File/QLog.h"
#include "vuda32/Synchronization/QCriticalSection.h"
#include "vuda32/Window/QWinBase.h"
#include "vuda32/Window/QWinClass.h"

namespace {

const char kRegisterClass[] = "KVWizardClass::KVWizardClass";

QLog* Log() {
    KVRunContext* run = KVRunContext::Current();
    return run ? run->GetLog() : nullptr;
}

// An icon loaded from a file, destroyed with its owner.
class IconOwner {
public:
    explicit IconOwner(HICON icon) : icon_(icon) {}
    ~IconOwner() {
        if (icon_ != nullptr) DestroyIcon(icon_);
    }
    IconOwner(const IconOwner&) = delete;
    IconOwner& operator=(const IconOwner&) = delete;
    HICON Get() const { return icon_; }

private:
    HICON icon_;
};

// The registration and the icons it shows; the icons go after the class.
struct Registration {
    std::unique_ptr<IconOwner> largeIcon;
    std::unique_ptr<IconOwner> smallIcon;
    QWinClass windowClass;
};

// Window objects are made and freed on the host's thread, and on the window's thread when it
// unloads the library last; the lock keeps the count and the registration together.
struct Shared {
    QCriticalSection lock;
    int users = 0;
    std::unique_ptr<Registration> registration;
};

// Never destroyed: the registration object's destructor, which runs after the statics that
// were made later, may still free window objects at unload.
Shared& State() {
    static Shared* shared = new Shared;
    return *shared;
}

HICON LoadIconFile(const std::string& path, int size) {
    return static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
}

}  // namespace

KVWizardClass::KVWizardClass(const std::string& installRoot) {
    Shared& shared = State();
    QCriticalSectionLock hold(shared.lock);
    if (shared.users > 0) {
        ++shared.users;
        return;
    }
    const HINSTANCE instance = GetGlobalData().GetInstance();
    auto registration = std::make_unique<Registration>();
    const std::string icons = installRoot + "\\Icons";
    registration->largeIcon = std::make_unique<IconOwner>(LoadIconFile(icons + "\\ApplicationLarge.ico", 0));
    registration->smallIcon = std::make_unique<IconOwner>(LoadIconFile(icons + "\\ApplicationSmall.ico", 16));
    // Either both icons or none.
    const bool bothIcons = registration->largeIcon->Get() != nullptr && registration->smallIcon->Get() != nullptr;
    if (!bothIcons) QLogEntry(Log(), QLog::LevelInfo, kRegisterClass) << "Icons not loaded [" << icons << "]";
    // A library unloaded and loaded again may find its class still registered by the copy
    // that went; no window of it is left, so the old registration is dropped. When one is
    // left and the class has this module's procedure, the class is ours and used as it is.
    if (!UnregisterClassA(kWizardClassName, instance)) {
        WNDCLASSEXA existing = {};
        existing.cbSize = sizeof existing;
        if (GetClassInfoExA(instance, kWizardClassName, &existing) &&
            existing.lpfnWndProc == &QWinBase::SharedWindowProc) {
            QLogEntry(Log(), QLog::LevelInfo, kRegisterClass) << "Window class still registered; used as it is";
            ++shared.users;
            return;
        }
    }
    registration->windowClass.Register(
        0, kWizardClassName, instance, &QWinBase::SharedWindowProc,
        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)), CS_DBLCLKS,
        bothIcons ? registration->largeIcon->Get() : nullptr, bothIcons ? registration->smallIcon->Get() : nullptr);
    shared.registration = std::move(registration);
    ++shared.users;
}

KVWizardClass::~KVWizardClass() {
    Shared& shared = State();
    QCriticalSectionLock hold(shared.lock);
    if (--shared.users > 0) return;
    // The class goes before its icons; a failure to unregister reaches the swallowed-error sink.
    shared.registration.reset();
}
