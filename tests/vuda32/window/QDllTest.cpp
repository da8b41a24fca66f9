#include <gtest/gtest.h>

#include <vector>

#include "tests/support/KVRaised.h"
#include "tests/support/KVTestEnv.h"
#include "vuda32/Application/QDll.h"
#include "vuda32/Application/QGlobalData.h"
#include "vuda32/Window/QWindowsHook.h"
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

namespace {

// Records the messages the hooked thread is sent; can stop them from reaching later hooks.
class RecordingHook : public QWindowsHook {
public:
    bool OnHook(WPARAM, LPARAM lParam) override {
        messages.push_back(reinterpret_cast<CWPSTRUCT*>(lParam)->message);
        return true;
    }
    std::vector<UINT> messages;
};

HWND MessageWindow() {
    return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                           nullptr);
}

}  // namespace

class QWindowsHookTest : public ::testing::Test {
protected:
    KVTestEnv env;
    QDll app;
};

TEST_F(QWindowsHookTest, SeesTheMessagesSentToTheHookedThreadAndRefusesASecondOfItsKind) {
    auto first = std::make_unique<RecordingHook>();
    first->CreateCallWndProc(nullptr, GetCurrentThreadId());
    EXPECT_EQ(first->GetKind(), 0);
    EXPECT_EQ(GetGlobalData().GetHookSlot(0), first.get());
    HWND window = MessageWindow();
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_USER + 17, 0, 0);
    DestroyWindow(window);
    EXPECT_NE(std::find(first->messages.begin(), first->messages.end(), WM_USER + 17u),
              first->messages.end());

    // A second hook of the kind is refused and the first stays.
    {
        RecordingHook second;
        EXPECT_EQ(Where(RaisedBy<QGenException>(
                      [&] { second.CreateCallWndProc(nullptr, GetCurrentThreadId()); })),
                  "QGenException 9501 AddHook:108 error 0 in .\\Application\\QGlobalData.cpp");
        EXPECT_EQ(GetGlobalData().GetHookSlot(0), first.get());
    }
    // The refused one's destruction left the slot alone.
    EXPECT_EQ(GetGlobalData().GetHookSlot(0), first.get());

    first.reset();
    EXPECT_EQ(GetGlobalData().GetHookSlot(0), nullptr);
    RecordingHook third;
    EXPECT_NO_THROW(third.CreateCallWndProc(nullptr, GetCurrentThreadId()));
}

TEST_F(QWindowsHookTest, APlatformRefusalRaises11501AndKeepsTheTableEntry) {
    RecordingHook hook;
    // No thread has this id.
    EXPECT_EQ(Where(RaisedBy<QGenException>([&] { hook.CreateCallWndProc(nullptr, 0xFFFFFFF0u); })),
              "QGenException 11501 CreateCallWndProc:88 error 87 in .\\Window\\QWindowsHook.cpp");
    EXPECT_EQ(GetGlobalData().GetHookSlot(0), &hook);
    // A kind outside the table reads as no hook.
    EXPECT_EQ(GetGlobalData().GetHookSlot(-1), nullptr);
    EXPECT_EQ(GetGlobalData().GetHookSlot(5), nullptr);
}
