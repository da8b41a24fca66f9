#include <gtest/gtest.h>

#include <string>

#include "tests/support/KVRaised.h"
#include "tests/support/KVTestEnv.h"
#include "tests/vuda32/window/QWindowTestSupport.h"
#include "vuda32/Exception/QException.h"
#include "vuda32/Gdi/QDC.h"
#include "vuda32/Gdi/QGDIObject.h"
#include "vuda32/Utility/QRect.h"

namespace {

// A 32-bit bitmap file of `height` rows, each the same row of pixels.
std::string BitmapFile(const std::vector<COLORREF>& row, int height = 1) {
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const DWORD size = offset + static_cast<DWORD>(4 * row.size() * height);
    const BITMAPFILEHEADER file = {0x4D42, size, 0, 0, offset};  // "BM"
    const BITMAPINFOHEADER info = {sizeof info, static_cast<LONG>(row.size()), height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int y = 0; y < height; ++y)
        for (COLORREF pixel : row) bytes += {char(GetBValue(pixel)), char(GetGValue(pixel)), char(GetRValue(pixel)), 0};
    return bytes;
}

}  // namespace

class QGdiTest : public ::testing::Test {
protected:
    KVTestEnv env;
    QTestApp testApp;
};

using QFontTest = QGdiTest;

TEST_F(QFontTest, AFontIsMadeAsAsked) {
    QFont font;
    font.Create("Tahoma", -12, FW_BOLD, false, false);
    LOGFONTA description = {};
    font.GetInfo(sizeof(description), &description);
    EXPECT_EQ(description.lfHeight, -12);
    EXPECT_EQ(description.lfWeight, FW_BOLD);
    EXPECT_EQ(description.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(description.lfOutPrecision, OUT_TT_ONLY_PRECIS);
    EXPECT_STREQ(description.lfFaceName, "Tahoma");
}

using QDCTest = QGdiTest;

TEST_F(QDCTest, FillSolidRectKeepsTheBackgroundColourAndDrawEdgeOnlyTheSidesAskedFor) {
    QMemDC canvas;  // drawn on in a bitmap of its own
    canvas.CreateCompatibleDC(nullptr);
    canvas.LoadBitmapFile(canvas, env.WriteFile("canvas.bmp", BitmapFile(std::vector<COLORREF>(8), 8)), nullptr);
    canvas.SetBkColor(RGB(0, 128, 0));
    canvas.FillSolidRect(QRect(2, 2, 6, 6), RGB(255, 0, 0));
    EXPECT_EQ(canvas.GetBkColor(), RGB(0, 128, 0));
    EXPECT_EQ(GetPixel(canvas.GetHdc(), 3, 3), RGB(255, 0, 0));
    EXPECT_NE(GetPixel(canvas.GetHdc(), 1, 1), RGB(255, 0, 0));

    // DrawEdge paints only the sides it is asked for.
    const COLORREF blue = RGB(0, 0, 255);
    canvas.FillSolidRect(QRect(0, 0, 8, 8), blue);
    canvas.DrawEdge(QRect(1, 1, 7, 7), EDGE_RAISED, BF_LEFT | BF_BOTTOM);
    HDC dc = canvas.GetHdc();
    EXPECT_EQ(GetPixel(dc, 1, 3), GetSysColor(COLOR_3DLIGHT));      // outer left
    EXPECT_EQ(GetPixel(dc, 3, 6), GetSysColor(COLOR_3DDKSHADOW));   // outer bottom
    EXPECT_EQ(GetPixel(dc, 3, 1), blue);                            // top not asked for
    EXPECT_EQ(GetPixel(dc, 6, 3), blue);                            // nor the right
    EXPECT_EQ(GetPixel(dc, 4, 3), blue);                            // nor the middle
}

using QMemDCTest = QGdiTest;

TEST_F(QMemDCTest, BitmapFilesLoadAndAReloadKeepsTheContext) {
    QMemDC image;  // its own context is the reference for the loads
    image.CreateCompatibleDC(nullptr);
    const HGDIOBJ original = GetCurrentObject(image.GetHdc(), OBJ_BITMAP);
    image.LoadBitmapFile(image, env.WriteFile("a.bmp", BitmapFile({0, 0, 0})), nullptr);
    ASSERT_NE(image.GetBitmap(), nullptr);
    EXPECT_EQ(image.GetBitmap()->GetDescription().bmWidth, 3);
    EXPECT_EQ(image.GetBitmap()->GetDescription().bmHeight, 1);

    // A reload keeps the context; a failed load leaves no bitmap selected.
    HDC context = image.GetHdc();
    image.LoadBitmapFile(image, env.WriteFile("b.bmp", BitmapFile({RGB(4, 5, 6)})), nullptr);
    EXPECT_EQ(image.GetHdc(), context);
    EXPECT_EQ(GetPixel(image.GetHdc(), 0, 0), RGB(4, 5, 6));
    const std::string none = env.TempFolder() + "none.bmp";
    EXPECT_EQ(Where(RaisedBy<QException>([&] { image.LoadBitmapFile(image, none, nullptr); })),
              "QGenException 10001 Load:334 error 2 in .\\Gdi\\QBitmap.cpp");
    EXPECT_EQ(image.GetBitmap(), nullptr);
    EXPECT_EQ(GetCurrentObject(image.GetHdc(), OBJ_BITMAP), original);  // what the context had
}

using QClientDCTest = QGdiTest;

// A memory context made from a window's context leaves it drawable, and each goes back its own
// way; a failed release is reported instead of raised; a context outliving its window is forgotten.
TEST_F(QClientDCTest, ReleasesToItsWindowLeavesMemoryContextsAloneAndForgetsAGoneWindow) {
    SinkRecorder sink;
    QTestWindow window;
    ASSERT_TRUE(window.Create(static_cast<QWinBase*>(nullptr)));
    const COLORREF blue = RGB(0, 0, 255);
    const std::string image = env.WriteFile("blue.bmp", BitmapFile({blue, blue}));
    window.ShowWindow(SW_SHOWNOACTIVATE);
    window.UpdateWindow();
    {
        QClientDC client(window);
        QMemDC memory;
        memory.LoadBitmapFile(client, image, nullptr);
        ASSERT_EQ(GetObjectType(client.GetHdc()), static_cast<DWORD>(OBJ_DC));
        EXPECT_EQ(WindowFromDC(client.GetHdc()), window.GetHwnd());
        client.BitBlt(0, 0, 2, 1, memory, 0, 0, SRCCOPY);
        EXPECT_EQ(GetPixel(client.GetHdc(), 1, 0), blue);
        client.Free();
        EXPECT_EQ(client.GetHdc(), nullptr);
    }
    {
        QClientDC client(window);
        ReleaseDC(window.GetHwnd(), client.GetHdc());
    }
    {
        QMemDC memory;
        memory.CreateCompatibleDC(nullptr);
        DeleteDC(memory.GetHdc());
    }
    QClientDC late(window);
    window.Destroy();
    EXPECT_NO_THROW(late.Free());
    EXPECT_EQ(late.GetHdc(), nullptr);
    ASSERT_EQ(SinkRecorder::Reports().size(), 2u);
    EXPECT_EQ(SinkRecorder::Reports()[0].errorCode, 5502u);
    EXPECT_EQ(SinkRecorder::Reports()[0].sourceFile, ".\\Gdi\\QClientDC.cpp");
    EXPECT_EQ(SinkRecorder::Reports()[1].errorCode, 2507u);
    EXPECT_EQ(SinkRecorder::Reports()[1].line, 238);
}
