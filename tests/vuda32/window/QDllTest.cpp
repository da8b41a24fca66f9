#include <gtest/gtest.h>

#include "tests/support/KVTestEnv.h"
#include "vuda32/Application/QDll.h"
#include "vuda32/Application/QGlobalData.h"

// The last constructed object is the application; the module entry hands it the attach, which
// keeps the module's instance, and says yes to every reason. The DLL's application overrides
// none of the four notifications, so what an override answers is not the DLL's concern.
TEST(QDllTest, TheLastConstructedObjectIsTheApplicationAndKeepsTheModulesInstance) {
    KVTestEnv env;
    const HINSTANCE fake = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(0x4000));
    EXPECT_TRUE(QDllMain(fake, DLL_PROCESS_ATTACH, nullptr));  // no application yet
    {
        QDll app;
        EXPECT_EQ(GetApp(), &app);
        for (DWORD reason : {1u, 2u, 3u, 0u, 4u}) EXPECT_TRUE(QDllMain(fake, reason, nullptr)) << reason;
        EXPECT_EQ(GetGlobalData().GetInstance(), fake);
        EXPECT_FALSE(QDllIsProcessEnding());
        EXPECT_TRUE(QDllMain(fake, DLL_PROCESS_DETACH, &app));  // the process ends
        EXPECT_TRUE(QDllIsProcessEnding());
    }
    EXPECT_EQ(GetApp(), nullptr);
}
