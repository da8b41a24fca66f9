// The display's resolution as a test at one scale needs it.
//   KVDisplayAtExpectedDpi   reads the screen's DPI into `dpi`; fails when the run is for
//                            another one (KV_EXPECT_DPI, set by tools/lib/wine-dpi.sh)
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

inline ::testing::AssertionResult KVDisplayAtExpectedDpi(int& dpi) {
    HDC screen = GetDC(nullptr);
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const char* expected = std::getenv("KV_EXPECT_DPI");
    if (expected && std::atoi(expected) != dpi)
        return ::testing::AssertionFailure() << "the display runs at " << dpi << " DPI, this run is for " << expected;
    return ::testing::AssertionSuccess();
}
