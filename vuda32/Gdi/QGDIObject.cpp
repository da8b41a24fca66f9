#include "vuda32/Gdi/QGDIObject.h"

#include "vuda32/Application/QSwallowedError.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\Gdi\\QGDIObject.cpp";
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
        RaiseGen(kFile, "Delete", 56, 6501);
    m_handle = nullptr;
}

void QGDIObject::GetInfo(int size, void* buffer) {
    if (m_handle == nullptr || size <= 0 || buffer == nullptr)
        return;
    if (GetObjectA(m_handle, size, buffer) == 0)
        RaiseGen(kFile, "GetInfo", 105, 6502);
}

void QGDIObject::SetSelected(HGDIOBJ previous) {
    m_previous = previous;
    m_selected = previous != nullptr;
}
