#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/support/KVRaised.h"
#include "tests/support/KVTestEnv.h"
#include "vuda32/System/QRegEdit.h"

namespace {

// Where the call raised: always in the wrapper's own file, which is left out.
template <typename Call>
std::string Raised(Call&& call) {
    const std::string where = Where(RaisedBy<QGenException>(call));
    EXPECT_EQ(where.substr(where.find(" in ")), " in .\\System\\QRegEdit.cpp");
    return where.substr(0, where.find(" in "));
}

// Wine counts no process handles, so a leaked key shows as a handle that still works.
bool KeyAlive(HKEY key) {
    return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr) != ERROR_INVALID_HANDLE;
}

const HKEY kBrokenRoot = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x12340));

class QRegEditTest : public ::testing::Test {
protected:
    KVTestEnv env;
};

// Strings are read whole and end at their first zero, numbers fall back to their default; reads
// raise when the value is missing, of another type or too big, and keep no half result.
TEST_F(QRegEditTest, ReadsTakeWholeValuesOfTheirTypeOrRaise) {
    const std::string longText(600, 'x');
    env.SetString(HKEY_CURRENT_USER, "", "Long", longText);
    env.SetString(HKEY_CURRENT_USER, "", "Short", "yz");
    env.SetString(HKEY_CURRENT_USER, "", "Empty", "");
    const char four[4] = {1, 2, 3, 4};
    env.SetBinary(HKEY_CURRENT_USER, "", "Bytes", four, sizeof four);
    env.SetDword(HKEY_CURRENT_USER, "", "Number", 3);
    const char big[30] = {};
    env.SetBinary(HKEY_CURRENT_USER, "", "Big", big, sizeof big);
    QRegEdit reg;
    reg.CreateKey(nullptr, HKEY_CURRENT_USER, env.KeyPath(), KEY_ALL_ACCESS);
    const char zero[] = "ab\0cd";
    ASSERT_EQ(RegSetValueExA(reg.GetKey(), "Zero", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(zero), sizeof zero),
              ERROR_SUCCESS);

    std::string text;
    reg.GetValue("Long", text, nullptr);
    EXPECT_EQ(text, longText);
    reg.GetValue("Short", text, nullptr);  // nothing left over from the longer text
    EXPECT_EQ(text, "yz");
    reg.GetValue("Empty", text, nullptr);
    EXPECT_EQ(text, "");
    reg.GetValue("Zero", text, nullptr);
    EXPECT_EQ(text, "ab");

    DWORD number = 9;
    const DWORD five = 5;
    reg.GetValue("Number", number, nullptr);
    EXPECT_EQ(number, 3u);
    reg.GetValue("Missing", number, &five);
    EXPECT_EQ(number, 5u);
    EXPECT_EQ(Raised([&] { reg.GetValue("Missing", number, nullptr); }), "QGenException 1503 GetValue:290 error 2");
    for (const char* name : {"Short", "Long", "Bytes"}) {
        number = 9;
        EXPECT_EQ(Raised([&] { reg.GetValue(name, number, &five); }), "QGenException 1504 GetValue:279 error 0")
            << name;
        EXPECT_EQ(number, 0u) << name;
    }

    text = "old";
    EXPECT_EQ(Raised([&] { reg.GetValue("Missing", text, nullptr); }), "QGenException 1503 GetValue:250 error 2");
    EXPECT_EQ(text, "");
    text = "old";
    EXPECT_EQ(Raised([&] { reg.GetValue("Number", text, nullptr); }), "QGenException 1504 GetValue:237 error 0");
    EXPECT_EQ(text, "");

    // Binary values must exist, fit and be binary.
    char buffer[20];
    EXPECT_EQ(Raised([&] { reg.GetValue("Missing", buffer, sizeof buffer); }),
              "QGenException 1503 GetValue:320 error 2");
    EXPECT_EQ(Raised([&] { reg.GetValue("Short", buffer, sizeof buffer); }), "QGenException 1504 GetValue:315 error 0");
    EXPECT_EQ(Raised([&] { reg.GetValue("Big", buffer, sizeof buffer); }), "QGenException 1503 GetValue:320 error 234");
}

TEST_F(QRegEditTest, OpeningAndCreatingHoldOneKeyAndNoneAfterAFailureAndReadOnlyKeysRefuseWrites) {
    QRegEdit reg;
    reg.CreateKey(nullptr, HKEY_CURRENT_USER, env.KeyPath() + "\\Sub", KEY_ALL_ACCESS);
    HKEY held = reg.GetKey();
    reg.OpenKey(HKEY_CURRENT_USER, env.KeyPath(), KEY_READ);
    EXPECT_FALSE(KeyAlive(held));

    held = reg.GetKey();
    EXPECT_EQ(Raised([&] { reg.OpenKey(HKEY_CURRENT_USER, env.KeyPath() + "\\Missing", KEY_READ); }),
              "QGenException 1501 OpenKey:371 error 2");
    EXPECT_FALSE(reg.IsOpen());
    EXPECT_FALSE(KeyAlive(held));

    reg.OpenKey(HKEY_CURRENT_USER, env.KeyPath(), KEY_READ);
    EXPECT_EQ(Raised([&] { reg.SetValue("B", "x", 1); }), "QGenException 1502 SetValue:492 error 5");
    held = reg.GetKey();
    EXPECT_EQ(Raised([&] { reg.CreateKey(nullptr, kBrokenRoot, "New", KEY_ALL_ACCESS); }),
              "QGenException 1506 CreateKey:105 error 6");
    EXPECT_FALSE(reg.IsOpen());
    EXPECT_FALSE(KeyAlive(held));
}

TEST_F(QRegEditTest, TheOwnerReleasesItsKeyAndAFailedCloseRaises) {
    QRegEdit reg;
    HKEY held = nullptr;
    {
        QRegEdit owner;
        owner.CreateKey(nullptr, HKEY_CURRENT_USER, env.KeyPath(), KEY_ALL_ACCESS);
        held = owner.GetKey();
    }
    EXPECT_FALSE(KeyAlive(held));
    reg.CreateKey(nullptr, HKEY_CURRENT_USER, env.KeyPath(), KEY_ALL_ACCESS);
    ASSERT_EQ(RegCloseKey(reg.GetKey()), ERROR_SUCCESS);  // behind the wrapper's back
    EXPECT_EQ(Raised([&] { reg.CloseKey(); }), "QGenException 1507 CloseKey:80 error 6");
    EXPECT_FALSE(reg.IsOpen());
}

}  // namespace
