#include <gtest/gtest.h>

#include <memory>

#include "tests/support/KVRaised.h"
#include "tests/support/KVTestEnv.h"
#include "tests/vuda32/window/QWindowTestSupport.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/Utility/QAccelerator.h"
#include "vuda32/WindowControls/QCombobox.h"
#include "vuda32/WindowControls/QEdit.h"
#include "vuda32/WindowControls/QStatic.h"

namespace {

RECT Row(int index) { return RECT{10, 10 + 30 * index, 170, 33 + 30 * index}; }

}  // namespace

// A parent window that the controls of each test live in.
class QControlsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(parent.Create(static_cast<QWinBase*>(nullptr))); }
    void TearDown() override { parent.Destroy(); }

    KVTestEnv env;
    QTestApp testApp;
    QTestWindow parent;
};

// An edit reads back the text it was given and a static is made transparent; an item beyond
// the list and a static without a context raise; an empty accelerator table is nothing to build.
TEST_F(QControlsTest, TextsReadBackAStaticIsMadeTransparentAndBadCallsRaise) {
    QEdit edit;
    ASSERT_TRUE(edit.Create(&parent, 101, Row(0), ""));
    edit.SetText("hello world");
    std::string text;
    EXPECT_EQ(edit.GetText(text), 1);
    EXPECT_EQ(text, "hello world");

    QCombobox combo;
    ASSERT_TRUE(combo.Create(&parent, 102, RECT{10, 50, 170, 250}, "",
                             WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0));
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

    QAccelerator keys;
    EXPECT_EQ(keys.Init(0), 1);
    EXPECT_EQ(keys.Register(nullptr), 0);
}

// The edit control's own procedure is back once its object is gone; a dead object is never called.
TEST_F(QControlsTest, AnEditControlOutlivesItsObject) {
    auto owned = std::make_unique<QEdit>();
    ASSERT_TRUE(owned->Create(&parent, 102, Row(1), ""));
    HWND hwnd = owned->GetHwnd();
    owned.reset();
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC), static_cast<LONG_PTR>(GetClassLongPtrA(hwnd, GCLP_WNDPROC)));
    SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("still works"));
    char shown[32] = {};
    GetWindowTextA(hwnd, shown, sizeof(shown));
    EXPECT_STREQ(shown, "still works");
}
