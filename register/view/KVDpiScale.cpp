#include "register/view/KVDpiScale.h"

#include <limits>

int32_t KVMulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    int64_t product = static_cast<int64_t>(a) * b;
    int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    // Half of the divisor towards the product's sign, then truncation: halves go away from zero.
    const int64_t half = divisor / 2;
    const int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    // The system answers -1 for the most negative value too.
    if (result > std::numeric_limits<int32_t>::max() || result < -std::numeric_limits<int32_t>::max()) return -1;
    return static_cast<int32_t>(result);
}

KVDpiScale::KVDpiScale(int dpi) : dpi_(dpi >= kMinDpi && dpi <= kMaxDpi ? dpi : kBaseDpi) {}
