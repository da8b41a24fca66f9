#include <gtest/gtest.h>

#include <vector>

#include "tests/support/KVTestEnv.h"
#include "vuda32/Application/QDll.h"
#include "vuda32/Exception/QException.h"

namespace {

// Answers each notification with a chosen value and records what it was called with.
class RecordingApp : public QDll {
public:
    bool ProcessAttach(HINSTANCE instance) override { return Record("process-attach", instance); }
    bool ProcessDetach(HINSTANCE instance) override { return Record("process-detach", instance); }
    bool ThreadAttach(HINSTANCE instance) override { return Record("thread-attach", instance); }
    bool ThreadDetach(HINSTANCE instance) override { return Record("thread-detach", instance); }

    bool Record(const char* what, HINSTANCE instance) {
        calls.push_back(what);
        instances.push_back(instance);
        if (throwInstead)
            throw QGenException("f", "m", 1, 1, 0);
        return answer;
    }

    bool answer = true;
    bool throwInstead = false;
    std::vector<std::string> calls;
    std::vector<HINSTANCE> instances;
};

HINSTANCE FakeInstance() { return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(0x4000)); }

}  // namespace

class QDllTest : public ::testing::Test {
protected:
    KVTestEnv env;
};

TEST_F(QDllTest, TheLastConstructedObjectIsTheApplicationAndGetsTheModuleEntrysCalls) {
    {
        QDll app;
        EXPECT_EQ(GetApp(), &app);
        EXPECT_EQ(app.GetPendingWindow(), nullptr);
    }
    EXPECT_EQ(GetApp(), nullptr);

    // The module entry forwards reasons 0 to 3 and never unwinds into the loader.
    RecordingApp app;
    app.answer = false;
    EXPECT_FALSE(QDllMain(FakeInstance(), 1, nullptr));
    EXPECT_FALSE(QDllMain(FakeInstance(), 0, nullptr));
    EXPECT_FALSE(QDllMain(FakeInstance(), 2, nullptr));
    EXPECT_FALSE(QDllMain(FakeInstance(), 3, nullptr));
    EXPECT_EQ(app.calls, (std::vector<std::string>{"process-attach", "process-detach",
                                                   "thread-attach", "thread-detach"}));
    EXPECT_EQ(app.instances, std::vector<HINSTANCE>(4, FakeInstance()));

    app.answer = true;
    EXPECT_TRUE(QDllMain(FakeInstance(), 3, nullptr));
    app.throwInstead = true;
    EXPECT_FALSE(QDllMain(FakeInstance(), 1, nullptr));
}

