#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/KVTestEnv.h"
#include "vuda32/Application/QDll.h"
#include "vuda32/Application/QGlobalData.h"
#include "vuda32/Exception/QException.h"

namespace {

// Records each notification and answers it with a chosen value, or raises instead.
class RecordingApp : public QDll {
public:
    bool ProcessAttach(HINSTANCE) override { return Record("process-attach"); }
    bool ProcessDetach(HINSTANCE) override { return Record("process-detach"); }
    bool ThreadAttach(HINSTANCE) override { return Record("thread-attach"); }
    bool ThreadDetach(HINSTANCE) override { return Record("thread-detach"); }

    bool Record(const char* what) {
        calls.push_back(what);
        if (throwInstead)
            throw QGenException("f", "m", 1, 1, 0);
        return answer;
    }

    bool answer = false;
    bool throwInstead = false;
    std::vector<std::string> calls;
};

}  // namespace

TEST(QDllTest, TheLastConstructedObjectIsTheApplicationAndGetsTheModuleEntrysCalls) {
    KVTestEnv env;
    const HINSTANCE fake = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(0x4000));
    {
        QDll app;
        EXPECT_EQ(GetApp(), &app);
        EXPECT_TRUE(QDllMain(fake, DLL_PROCESS_ATTACH, nullptr));
        EXPECT_EQ(GetGlobalData().GetInstance(), fake);
    }
    EXPECT_EQ(GetApp(), nullptr);

    // The module entry forwards reasons 0 to 3 and never unwinds into the loader.
    RecordingApp app;
    for (DWORD reason : {1u, 0u, 2u, 3u}) EXPECT_FALSE(QDllMain(fake, reason, nullptr)) << reason;
    EXPECT_EQ(app.calls, (std::vector<std::string>{"process-attach", "process-detach",
                                                   "thread-attach", "thread-detach"}));
    app.answer = true;
    EXPECT_TRUE(QDllMain(fake, 3, nullptr));
    app.throwInstead = true;
    EXPECT_FALSE(QDllMain(fake, 1, nullptr));
}
