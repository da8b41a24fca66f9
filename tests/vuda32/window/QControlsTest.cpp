#include <gtest/gtest.h>

#include <memory>

#include "tests/support/KVRaised.h"
#include "tests/support/KVTestEnv.h"
#include "tests/vuda32/window/QWindowTestSupport.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/Utility/QAccelerator.h"
#include "vuda32/WindowControls/QButton.h"
#include "vuda32/WindowControls/QCombobox.h"
#include "vuda32/WindowControls/QEdit.h"
#include "vuda32/WindowControls/QStatic.h"

namespace {

RECT Row(int index) { return RECT{10, 10 + 30 * index, 170, 33 + 30 * index}; }

// Runs a key press through accelerator translation as the message loop would.
bool PressAccelerator(HWND target, HACCEL table, WORD key) {
    MSG msg = {};
    msg.hwnd = target;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    return TranslateAcceleratorA(target, table, &msg) != 0;
}

}  // namespace

// A shown parent window that the controls of each test live in.
class QControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.Create(static_cast<QWinBase*>(nullptr)));
        parent.SetWindowPos(0, 0, 400, 400, SWP_NOZORDER);
        parent.ShowWindow(SW_SHOW);
        SetForegroundWindow(parent.GetHwnd());
    }
    void TearDown() override {
        if (parent.GetHwnd() != nullptr)
            parent.Destroy();
    }

    KVTestEnv env;
    QTestApp testApp;
    QTestWindow parent;
};

// Edit, combo box and button each hand an accelerator's command (high word 1) to their parent;
// texts and list items read back, and a static is made transparent.
TEST_F(QControlsTest, ControlsHandAcceleratorCommandsToTheParentAndReadBackTheirTexts) {
    QEdit edit;
    ASSERT_TRUE(edit.Create(&parent, 101, Row(0), "start"));
    QAccelerator keys;
    keys.Init(2);
    keys.Add(FVIRTKEY, VK_F4, 4241);
    keys.Add(FVIRTKEY, VK_F5, 4242);
    HACCEL table = nullptr;
    ASSERT_EQ(keys.Register(&table), 1);
    edit.SetFocus();
    EXPECT_TRUE(PressAccelerator(edit.GetHwnd(), table, VK_F5));
    EXPECT_EQ(keys.Init(0), 1);
    EXPECT_EQ(keys.Register(nullptr), 0);  // an empty table is nothing to build
    QCombobox combo;
    ASSERT_TRUE(combo.Create(&parent, 102, RECT{10, 50, 170, 250}, "",
                             WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0));
    combo.SendMessage(WM_COMMAND, MAKEWPARAM(77, 1), 0);
    combo.SendMessage(WM_COMMAND, MAKEWPARAM(78, 0), 0);  // not an accelerator
    QButton push;
    ASSERT_TRUE(push.Create(&parent, 201, Row(3), "OK"));
    push.SendMessage(WM_COMMAND, MAKEWPARAM(55, 1), 0);
    EXPECT_EQ(parent.commands, (std::vector<WORD>{4242, 77, 55}));

    std::string text;
    EXPECT_EQ(edit.GetText(text), 1);
    EXPECT_EQ(text, "start");
    edit.SetText("hello world");
    EXPECT_EQ(edit.GetText(text), 1);
    EXPECT_EQ(text, "hello world");
    EXPECT_EQ(combo.AddString("Norway"), 0);
    EXPECT_EQ(combo.AddString("Denmark"), 1);
    EXPECT_EQ(combo.GetText(1, text), 1);
    EXPECT_EQ(text, "Denmark");
    const ErrExcepInfo item = RaisedBy<QWinException>([&] { combo.GetText(7, text); });
    EXPECT_EQ(item.errorCode, 15002u);
    EXPECT_EQ(item.sourceFile, ".\\WindowControls\\QCombobox.cpp");
    EXPECT_EQ(item.line, 190);
    EXPECT_TRUE(text.empty());

    QStatic label;
    ASSERT_TRUE(label.Create(&parent, 301, Row(4), "Name"));
    HDC dc = GetDC(label.GetHwnd());
    SetBkMode(dc, OPAQUE);
    EXPECT_EQ(label.ChangeColor(dc), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    ReleaseDC(label.GetHwnd(), dc);
    EXPECT_EQ(RaisedBy<QWinException>([&] { label.ChangeColor(nullptr); }).errorCode, 16501u);
}

// The edit control's own procedure is back once its object is gone; a dead object is never called.
TEST_F(QControlsTest, AnEditControlOutlivesItsObject) {
    auto owned = std::make_unique<QEdit>();
    ASSERT_TRUE(owned->Create(&parent, 102, Row(1), ""));
    HWND hwnd = owned->GetHwnd();
    owned.reset();
    SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("still works"));
    char shown[32] = {};
    GetWindowTextA(hwnd, shown, sizeof(shown));
    EXPECT_STREQ(shown, "still works");
}
