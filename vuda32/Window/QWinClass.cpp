#include "vuda32/Window/QWinClass.h"

#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\Window\\QWinClass.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineUnregister = 93;
constexpr int kLineRegister = 147;
}

QWinClass::~QWinClass() { Unregister(); }

void QWinClass::Unregister() {
    if (m_atom == 0)
        return;
    m_atom = 0;
    if (!UnregisterClassA(m_className.c_str(), m_instance)) {
        DWORD error = GetLastError();
        ReportSwallowedError(QWinException(kFile, "~QWinClass", kLineUnregister, 1001, error));
    }
}

void QWinClass::Register(UINT iconId, const std::string& className, HINSTANCE instance,
                         WNDPROC windowProc, HBRUSH background, UINT classStyle,
                         HICON largeIcon, HICON smallIcon) {
    // An object holds one class: registering another gives the first one up.
    Unregister();
    m_className = className;
    m_instance = instance;
    m_iconId = iconId;
    m_description = WNDCLASSEXA{};
    m_description.cbSize = sizeof(m_description);
    m_description.style = CS_DBLCLKS;
    m_description.hInstance = instance;
    m_description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    if (instance != nullptr) {
        // A missing icon resource is no reason to refuse the class: it then has none.
        m_description.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(iconId));
        m_description.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(iconId + 1));
    }
    m_description.lpfnWndProc = windowProc;
    m_description.hbrBackground = background;
    m_description.style = classStyle;
    if (largeIcon != nullptr && smallIcon != nullptr) {
        m_description.hIcon = largeIcon;
        m_description.hIconSm = smallIcon;
    }
    m_description.lpszClassName = m_className.c_str();
    ATOM atom = RegisterClassExA(&m_description);
    if (atom == 0)
        RaiseWin(kFile, "Register", kLineRegister, 1003);
    m_atom = atom;
}
