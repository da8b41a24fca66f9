// KVRegister.dll as the host sees it: loaded by path, its two exports called by name.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "host/KVRegisterLibrary.h"
#include "tests/support/KVTestLog.h"
#include "tests/support/KVTestEnv.h"

namespace {

class KVRegisterDllTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ("", library.Problem()); }

    KVTestEnv env;
    KVRegisterLibrary library{KV_REGISTER_DLL};
};

// The host's records as this tree's compiler lays them out: libstdc++'s string is 24 bytes in
// the 32-bit tree and 32 in the 64-bit one, and the DLL must agree field by field.
TEST_F(KVRegisterDllTest, MissingInstallationOrRecordsAreAnErrorForTheHost) {
    EXPECT_EQ(sizeof(void*) == 4 ? 24u : 32u, sizeof(std::string));
    EXPECT_EQ(8 + 10 * sizeof(std::string), sizeof(KVActionRecord));
    EXPECT_EQ(2 * sizeof(void*) + 5 * sizeof(std::string), sizeof(KVResultRecord));
    env.SetDword(HKEY_CURRENT_USER, "Debug", "LogLevel", 5);
    EXPECT_EQ(0, library.Init(env.KeyPath()));
    KVResultRecord result;
    // Guards around the record and the host's own values in the fields an error step leaves
    // alone: a DLL with another layout would write past the record or into the wrong field.
    struct {
        uint32_t before = 0x5AFEC0DE;
        KVActionRecord action;
        uint32_t after = 0x5AFEC0DE;
    } host;
    KVActionRecord& action = host.action;
    action.UseIp = 7;
    action.Msisdn = "the host's number";
    action.RegCode = "the host's code";
    EXPECT_EQ(1, library.Step(result, action));
    EXPECT_EQ(KVACTION_ERROR, action.Action);
    // The header promises a key and a text with every KVACTION_ERROR.
    EXPECT_EQ("errMissingOrCorruptFile", action.ErrorKey);
    EXPECT_EQ("A file that the program needs does not exist, or is corrupt.\r\nYou need to reinstall the program.",
              action.ErrorText);
    EXPECT_EQ(7, action.UseIp);
    EXPECT_EQ("the host's number", action.Msisdn);
    EXPECT_EQ("the host's code", action.RegCode);
    EXPECT_EQ(0x5AFEC0DEu, host.before);
    EXPECT_EQ(0x5AFEC0DEu, host.after);

    // A step without records never crashes.
    KVActionRecord alone;
    EXPECT_EQ(1, library.Internal()(nullptr, &alone));
    EXPECT_EQ(KVACTION_ERROR, alone.Action);
    EXPECT_EQ("errMissingOrCorruptFile", alone.ErrorKey);
    EXPECT_EQ(1, library.Internal()(&result, nullptr));
    library.Free();
    // Unloading destroyed the application object, which wrote its last entry.
    const std::string log = KVTestLog::Read(env);
    for (const char* entry : {"| KVRegister::Register | Exiting due to error: errMissingOrCorruptFile \n",
                              "| KVRegister::Register | No result record \n",
                              "| KVRegister::Register | No action record \n",
                              "| KVRegister::~KVRegister | Destructor \n"})
        EXPECT_NE(std::string::npos, log.find(entry)) << entry;
}

std::string VersionString(const std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !length)
        return "";
    return std::string(value, length - 1);
}

// Every library and program of a package is numbered from the tree's one version, in the
// fixed block and the texts, and says which file it is.
TEST(KVDllVersionTest, EveryShippedFileCarriesTheTreesVersion) {
    unsigned parts[4] = {};
    ASSERT_EQ(4, std::sscanf(KV_VERSION, "%u.%u.%u.%u", &parts[0], &parts[1], &parts[2], &parts[3]));
    for (const char* dll : {KV_REGISTER_DLL, KV_REGISTERC_DLL, KV_COUNTRY_DLL, KV_HOST_EXE, KV_PREVIEW_EXE}) {
        SCOPED_TRACE(dll);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(dll, &ignored);
        ASSERT_NE(0u, size);
        std::vector<char> info(size);
        ASSERT_TRUE(GetFileVersionInfoA(dll, 0, size, info.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        ASSERT_EQ(sizeof *fixed, length);
        EXPECT_EQ(DWORD(parts[0] << 16 | parts[1]), fixed->dwFileVersionMS);
        EXPECT_EQ(DWORD(parts[2] << 16 | parts[3]), fixed->dwFileVersionLS);
        EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
        EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
        for (const auto& [name, value] : {std::pair<const char*, const char*>{"FileVersion", KV_VERSION},
                                          {"ProductVersion", KV_VERSION}, {"ProductName", "KVRegister"},
                                          {"CompanyName", "Korvane"}})
            EXPECT_EQ(value, VersionString(info, name)) << name;
        const std::string path = dll;
        const std::string name = VersionString(info, "OriginalFilename");
        EXPECT_EQ(path.substr(path.size() - name.size()), name);
        EXPECT_EQ(path.substr(path.size() - 4) == ".exe" ? DWORD(VFT_APP) : DWORD(VFT_DLL), fixed->dwFileType);
    }
}

}  // namespace
