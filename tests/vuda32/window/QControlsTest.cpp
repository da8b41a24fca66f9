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

const DWORD kTabStopEdit = 0x50800080 | WS_TABSTOP;

RECT Row(int index) { return RECT{10, 10 + 30 * index, 170, 33 + 30 * index}; }

// Sets or clears the shift key in this thread's keyboard state, as GetKeyState reads it.
void HoldShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

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
        HoldShift(false);
        if (parent.GetHwnd() != nullptr)
            parent.Destroy();
    }

    KVTestEnv env;
    QTestApp testApp;
    QTestWindow parent;
};

using QEditTest = QControlsTest;

TEST_F(QEditTest, TabMovesTheFocusForwardAndShiftTabBackwardOnlyWhereSwitchedOn) {
    QEdit first, second, third;
    ASSERT_TRUE(first.Create(&parent, 101, Row(0), "", kTabStopEdit, WS_EX_CLIENTEDGE));
    ASSERT_TRUE(second.Create(&parent, 102, Row(1), "", kTabStopEdit, WS_EX_CLIENTEDGE));
    ASSERT_TRUE(third.Create(&parent, 103, Row(2), "", kTabStopEdit, WS_EX_CLIENTEDGE));
    first.SetTabNavigation(true);
    second.SetTabNavigation(true);

    first.SetFocus();
    ASSERT_EQ(GetFocus(), first.GetHwnd());
    first.SendMessage(WM_CHAR, 'a', 0);
    first.SendMessage(WM_CHAR, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), second.GetHwnd());
    std::string typed;
    first.GetText(typed);
    EXPECT_EQ(typed, "a");  // ordinary characters still reach the edit control

    HoldShift(true);
    second.SendMessage(WM_CHAR, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), first.GetHwnd());
    HoldShift(false);

    // Without tab navigation the Tab stays with the edit control.
    third.SetFocus();
    third.SendMessage(WM_CHAR, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), third.GetHwnd());
}

// Edit, combo box and button each hand an accelerator's command (high word 1) to their parent.
TEST_F(QControlsTest, AcceleratorCommandsReachTheParentsWindowProc) {
    QEdit edit;
    ASSERT_TRUE(edit.Create(&parent, 101, Row(0), ""));
    QAccelerator keys;
    keys.Init(1);
    keys.Add(FVIRTKEY, VK_F5, 4242);
    HACCEL table = nullptr;
    ASSERT_EQ(keys.Register(&table), 1);
    edit.SetFocus();
    EXPECT_TRUE(PressAccelerator(edit.GetHwnd(), table, VK_F5));

    QCombobox combo;
    ASSERT_TRUE(combo.Create(&parent, 102, RECT{10, 50, 170, 250}, ""));
    SendMessageA(combo.GetEditHwnd(), WM_COMMAND, MAKEWPARAM(77, 1), 0);
    SendMessageA(combo.GetEditHwnd(), WM_COMMAND, MAKEWPARAM(78, 0), 0);  // not an accelerator
    QButton push;
    ASSERT_TRUE(push.Create(&parent, 201, Row(3), "OK"));
    push.SendMessage(WM_COMMAND, MAKEWPARAM(55, 1), 0);
    EXPECT_EQ(parent.commands, (std::vector<WORD>{4242, 77, 55}));
}

TEST_F(QEditTest, TextAndSelectionRoundTripAndTheControlOutlivesItsObject) {
    QEdit edit;
    ASSERT_TRUE(edit.Create(&parent, 101, Row(0), "start"));
    std::string text;
    EXPECT_EQ(edit.GetText(text), 1);
    EXPECT_EQ(text, "start");
    edit.SetText("hello world");
    edit.SetSel(6, 11);
    EXPECT_EQ(edit.GetSelectedText(text), 1);
    EXPECT_EQ(text, "world");
    edit.SetSel(3, 3);
    EXPECT_EQ(edit.GetSelectedText(text), 2);
    EXPECT_EQ(text, "");
    edit.SetText("");
    EXPECT_EQ(edit.GetSelectedText(text), 2);

    // An edit object destroyed before its window leaves a working control.
    auto owned = std::make_unique<QEdit>();
    ASSERT_TRUE(owned->Create(&parent, 102, Row(1), ""));
    HWND hwnd = owned->GetHwnd();
    owned.reset();
    // The edit control's own procedure is back; a dead object is never called.
    SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("still works"));
    char shown[32] = {};
    GetWindowTextA(hwnd, shown, sizeof(shown));
    EXPECT_STREQ(shown, "still works");
}

using QComboboxTest = QControlsTest;

TEST_F(QComboboxTest, SelectAllAfterAMoveIsSwallowedUnlessTheUserTypesInIt) {
    QEdit elsewhere;
    ASSERT_TRUE(elsewhere.Create(&parent, 101, Row(0), ""));
    QCombobox combo;
    ASSERT_TRUE(combo.Create(&parent, 102, RECT{10, 50, 170, 250}, ""));
    HWND field = combo.GetEditHwnd();
    ASSERT_NE(field, nullptr);
    ASSERT_EQ(GetParent(field), combo.GetHwnd());
    SetWindowTextA(field, "hello");
    // Twice: a move during creation may have armed the suppression already.
    SendMessageA(field, EM_SETSEL, 2, 2);
    SendMessageA(field, EM_SETSEL, 2, 2);
    ASSERT_EQ(Selection(field), std::make_pair(DWORD{2}, DWORD{2}));

    elsewhere.SetFocus();
    combo.SetWindowPos(20, 50, 150, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(field, EM_SETSEL, 0, -1);  // what the combo box does after a move
    EXPECT_EQ(Selection(field), std::make_pair(DWORD{2}, DWORD{2}));
    SendMessageA(field, EM_SETSEL, 0, -1);  // only the first one is swallowed
    EXPECT_EQ(Selection(field), std::make_pair(DWORD{0}, DWORD{5}));

    ::SetFocus(field);
    SendMessageA(field, EM_SETSEL, 2, 2);
    combo.SetWindowPos(10, 50, 160, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(field, EM_SETSEL, 0, -1);
    EXPECT_EQ(Selection(field), std::make_pair(DWORD{0}, DWORD{5}));
}

TEST_F(QComboboxTest, ADropDownListsItemsAndTheirErrors) {
    QCombobox combo;
    ASSERT_TRUE(combo.Create(&parent, 102, RECT{10, 50, 170, 250}, "",
                             WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0));
    EXPECT_EQ(combo.GetEditHwnd(), nullptr);  // no edit field to subclass
    EXPECT_EQ(combo.AddString("Norway"), 0);
    EXPECT_EQ(combo.AddString("Denmark"), 1);
    std::string text;
    EXPECT_EQ(combo.GetText(1, text), 1);
    EXPECT_EQ(text, "Denmark");
    const ErrExcepInfo item = RaisedBy<QWinException>([&] { combo.GetText(7, text); });
    EXPECT_EQ(item.errorCode, 15002u);
    EXPECT_EQ(item.sourceFile, ".\\WindowControls\\QCombobox.cpp");
    EXPECT_EQ(item.line, 190);
    EXPECT_TRUE(text.empty());
}

TEST_F(QControlsTest, AStaticMadeTransparentByChangeColor) {
    QStatic label;
    ASSERT_TRUE(label.Create(&parent, 301, Row(0), "Name"));
    HDC dc = GetDC(label.GetHwnd());
    SetBkMode(dc, OPAQUE);
    EXPECT_EQ(label.ChangeColor(dc), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    ReleaseDC(label.GetHwnd(), dc);
    EXPECT_EQ(RaisedBy<QWinException>([&] { label.ChangeColor(nullptr); }).errorCode, 16501u);
}

TEST(QAcceleratorTest, BuildsOnlyWhenEveryReservedEntryIsFilled) {
    QAccelerator keys;
    EXPECT_EQ(keys.Init(3), 1);
    EXPECT_EQ(keys.Add(FVIRTKEY, VK_RETURN, 1), 1);
    EXPECT_EQ(keys.Add(FVIRTKEY, VK_ESCAPE, 2), 2);
    HACCEL table = nullptr;
    EXPECT_EQ(keys.Register(&table), 0);
    EXPECT_EQ(table, nullptr);
    EXPECT_EQ(keys.GetHandle(), nullptr);

    EXPECT_EQ(keys.Add(FVIRTKEY | FALT, 'N', 3), 3);
    EXPECT_EQ(keys.Add(FVIRTKEY, VK_F1, 4), 0);  // full
    EXPECT_EQ(keys.Register(&table), 1);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(CopyAcceleratorTableA(table, nullptr, 0), 3);

    EXPECT_EQ(keys.Init(0), 1);
    EXPECT_EQ(keys.Register(&table), 0);  // an empty table is nothing to build
}
