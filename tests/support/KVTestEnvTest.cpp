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
