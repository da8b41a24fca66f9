// Accelerator tables.
//   QAccelerator   collects a fixed number of entries and builds (and owns) the table
#pragma once

#include <windows.h>

#include <vector>

class QAccelerator {
public:
    QAccelerator() = default;
    ~QAccelerator();
    QAccelerator(const QAccelerator&) = delete;
    QAccelerator& operator=(const QAccelerator&) = delete;

    // Forgets earlier entries and makes room for capacity entries; returns 1.
    int Init(int capacity);
    // Returns the new count, or 0 when every slot is taken.
    int Add(BYTE flags, WORD key, WORD command);
    // Builds the table only when every slot is filled: 1 and the handle, else 0 and nothing
    // built. The table stays owned by this object.
    int Register(HACCEL* handle);

    HACCEL GetHandle() const { return m_table; }
    int GetCount() const { return m_count; }

private:
    void DestroyTable();

    HACCEL m_table = nullptr;
    std::vector<ACCEL> m_entries;
    int m_count = 0;
    int m_capacity = 0;
};
