#include "vuda32/Gdi/QGDIObject.h"

#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\Gdi\\QGDIObject.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineDelete = 56;
constexpr int kLineGetInfo = 105;
}

QGDIObject::~QGDIObject() {
    try {
        Delete();
    } catch (const QException& e) {
        ReportSwallowedError(e);
    }
}

void QGDIObject::SetHandle(HGDIOBJ handle, bool releaseOld) {
    if (handle == m_handle)
        return;
    if (releaseOld)
        Delete();
    m_handle = handle;
}

void QGDIObject::Attach(HGDIOBJ handle, bool owned) {
    try {
        Delete();
    } catch (...) {
        // The new object is nobody's yet.
        if (owned && handle != nullptr)
            DeleteObject(handle);
        throw;
    }
    m_owned = owned;
    m_handle = handle;
}

void QGDIObject::Delete() {
    if (m_handle == nullptr)
        return;
    if (m_owned && !DeleteObject(m_handle))
        RaiseGen(kFile, "Delete", kLineDelete, 6501);
    m_handle = nullptr;
}

void QGDIObject::GetInfo(int size, void* buffer) {
    if (m_handle == nullptr || size <= 0 || buffer == nullptr)
        return;
    if (GetObjectA(m_handle, size, buffer) == 0)
        RaiseGen(kFile, "GetInfo", kLineGetInfo, 6502);
}

void QGDIObject::SetSelected(HGDIOBJ previous) {
    m_previous = previous;
    m_selected = previous != nullptr;
}
