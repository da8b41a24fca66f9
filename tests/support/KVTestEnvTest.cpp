#include <gtest/gtest.h>

#include "tests/support/KVTestEnv.h"

// Leak checks everywhere stand on these counts moving when a handle is made and freed (the
// kernel count is watched moving in QEventTest).
TEST(KVTestEnvTest, HandleCountsSeeGdiAndUserObjects) {
    struct Objects {
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        HWND window = CreateWindowExA(0, "STATIC", "probe", 0, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        HMENU menu = CreateMenu();
        void Free() {
            DeleteObject(brush);
            DestroyWindow(window);
            DestroyMenu(menu);
        }
    };
    // The first use of each kind sets up lasting per-thread state; leave that out.
    Objects().Free();

    const KVHandleCounts before = KVHandleCounts::Now();
    Objects objects;
    ASSERT_TRUE(objects.brush && objects.window && objects.menu);
    const KVHandleCounts during = KVHandleCounts::Now();
    EXPECT_GE(during.gdi, before.gdi + 1);
    EXPECT_GE(during.user, before.user + 2);
    objects.Free();
    const KVHandleCounts after = KVHandleCounts::Now();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}
