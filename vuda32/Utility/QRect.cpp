#include "vuda32/Utility/QRect.h"

#include "vuda32/Utility/QRaise.h"

namespace {
const char* const kFile = ".\\Utility\\QRect.cpp";
}

void QRect::InflateRect(int dx, int dy) {
    if (!::InflateRect(this, dx, dy))
        RaiseGen(kFile, "InflateRect", 191, 17502);
}

void QRect::OffsetRect(int dx, int dy) {
    if (!::OffsetRect(this, dx, dy))
        RaiseGen(kFile, "OffsetRect", 222, 17501);
}
