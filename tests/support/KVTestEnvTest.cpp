#include <gtest/gtest.h>

#include "tests/support/KVTestEnv.h"

// The isolation every Win32 suite relies on.
TEST(KVTestEnvTest, GivesEachTestItsOwnKeyAndTempFolderAndCleansUp) {
    std::string key, folder;
    {
        KVTestEnv a, b;
        EXPECT_NE(a.KeyPath(), b.KeyPath());
        a.SetString(HKEY_CURRENT_USER, "", "InstallRoot", "c:\\kv");
        std::string value;
        EXPECT_TRUE(a.GetString(HKEY_CURRENT_USER, "", "InstallRoot", &value));
        EXPECT_EQ(value, "c:\\kv");
        EXPECT_FALSE(b.GetString(HKEY_CURRENT_USER, "", "InstallRoot", &value));

        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        EXPECT_EQ(std::string(tmp), b.TempFolder());  // the newest environment wins
        const std::string file = b.WriteFile("x.txt", "abc");
        EXPECT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
        key = a.KeyPath();
        folder = b.TempFolder();
    }
    HKEY h;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h), ERROR_SUCCESS);
    EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Leak checks everywhere stand on these counts moving when a handle is made and freed.
TEST(KVTestEnvTest, HandleCountsSeeKernelGdiAndUserObjects) {
    struct Objects {
        HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        HWND window = CreateWindowExA(0, "STATIC", "probe", 0, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        HMENU menu = CreateMenu();
        void Free() {
            CloseHandle(event);
            DeleteObject(brush);
            DestroyWindow(window);
            DestroyMenu(menu);
        }
    };
    // The first use of each kind sets up lasting per-thread state; leave that out.
    Objects().Free();

    const KVHandleCounts before = KVHandleCounts::Now();
    Objects objects;
    ASSERT_TRUE(objects.event && objects.brush && objects.window && objects.menu);
    const KVHandleCounts during = KVHandleCounts::Now();
    EXPECT_EQ(during.kernel, before.kernel + 1);
    EXPECT_GE(during.gdi, before.gdi + 1);
    EXPECT_GE(during.user, before.user + 2);
    objects.Free();
    const KVHandleCounts after = KVHandleCounts::Now();
    EXPECT_EQ(after.kernel, before.kernel);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}
