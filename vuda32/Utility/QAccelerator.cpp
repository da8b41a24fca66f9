#include "vuda32/Utility/QAccelerator.h"

#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\Utility\\QAccelerator.cpp";
// The line each raise point reports; fixed, as reports quote them (vuda32/Utility/QRaise.h).
constexpr int kLineRegister = 139;
}

QAccelerator::~QAccelerator() { DestroyTable(); }

void QAccelerator::DestroyTable() {
    if (m_table != nullptr) {
        DestroyAcceleratorTable(m_table);
        m_table = nullptr;
    }
}

int QAccelerator::Init(int capacity) {
    m_entries.clear();
    m_count = 0;
    m_capacity = capacity > 0 ? capacity : 0;
    m_entries.resize(static_cast<size_t>(m_capacity));
    return 1;
}

int QAccelerator::Add(BYTE flags, WORD key, WORD command) {
    if (m_count >= m_capacity)
        return 0;
    m_entries[static_cast<size_t>(m_count)] = ACCEL{flags, key, command};
    return ++m_count;
}

int QAccelerator::Register(HACCEL* handle) {
    if (m_count == 0 || m_count < m_capacity)
        return 0;
    HACCEL table = CreateAcceleratorTableA(m_entries.data(), m_count);
    if (table == nullptr)
        RaiseGen(kFile, "Register", kLineRegister, 4501);
    // A table built again replaces the old one, which nobody can reach any more.
    DestroyTable();
    m_table = table;
    if (handle != nullptr)
        *handle = table;
    return 1;
}
