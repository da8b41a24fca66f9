// Device contexts, one class per way of getting one, each released with its own call.
//   QDC         the drawing operations over a context handle; releases nothing
//   QDCHandle   a borrowed context (one a message hands in), never released
//   QMemDC      a memory context with the bitmap it holds (loads, masks), deleted
//   QClientDC   a window's client-area context, released to the window
//   QPaintDC    the context of one paint message, ended when freed
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "vuda32/Gdi/QGDIObject.h"

class QWinBase;

class QDC {
public:
    QDC(const QDC&) = delete;
    QDC& operator=(const QDC&) = delete;

    HDC GetHdc() const { return m_dc; }

    void BitBlt(int x, int y, int width, int height, QDC& source, int sx, int sy, DWORD rop);
    void BitBlt(const RECT& rect, QDC& source, int sx, int sy, DWORD rop);
    // The sides of rect that flags (BF_...) name, in the style of edge (EDGE_...).
    void DrawEdge(RECT rect, UINT edge, UINT flags);
    // Returns the height of the text drawn.
    int DrawText(const std::string& text, RECT& rect, UINT format);
    void FillRect(const RECT& rect, HBRUSH brush);
    // Paints the rectangle in a colour without touching the context's background colour.
    void FillSolidRect(const RECT& rect, COLORREF colour);
    // The image where the mask is black, the destination where it is white.
    void DrawTransparent(int x, int y, int width, int height, QDC& image, QDC& mask, int sx,
                         int sy);

    COLORREF GetBkColor();
    int GetBkMode();
    POINT GetCurrentPositionEx();
    COLORREF GetNearestColor(COLORREF colour);
    int GetPolyFillMode();
    int GetROP2();
    int GetStretchBltMode();
    COLORREF GetTextColor();
    COLORREF SetBkColor(COLORREF colour);
    int SetBkMode(int mode);
    int SetPolyFillMode(int mode);
    int SetROP2(int mode);
    int SetStretchBltMode(int mode);
    COLORREF SetTextColor(COLORREF colour);

    void Line(POINT from, POINT to);
    void LineTo(int x, int y);
    POINT MoveToEx(int x, int y);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const RECT& rect);
    void TextOut(int x, int y, const std::string& text);

    // Selecting a selected object does nothing, so the object keeps the handle it displaced
    // first; unselecting puts that handle back.
    void SelectObject(QGDIObject& object);
    void UnSelectObject(QGDIObject& object);

protected:
    explicit QDC(HDC dc = nullptr) : m_dc(dc) {}
    // Never deleted through this type: only the kinds know how their context goes back.
    ~QDC() = default;
    void SetHdc(HDC dc) { m_dc = dc; }

private:
    HDC m_dc = nullptr;
};

// A context someone else releases, such as the one WM_PRINTCLIENT hands in.
class QDCHandle : public QDC {
public:
    explicit QDCHandle(HDC dc) : QDC(dc) {}
};

// Owns a memory context (DeleteDC) and the bitmap selected into it.
class QMemDC : public QDC {
public:
    QMemDC() = default;
    ~QMemDC();

    // A memory context compatible with target (the screen when null) in place of the held
    // one, whose bitmap is freed with it (2506 on failure).
    void CreateCompatibleDC(QDC* target);
    // Unselects and deletes the bitmap; the context stays for the next load.
    void Free();

    // Replace the bitmap by one loaded from a file or a resource of the module; the context
    // is made compatible with source unless it exists already.
    void LoadBitmapFile(QDC& source, const std::string& fileName, HINSTANCE instance);
    void LoadBitmapResource(QDC& source, UINT resourceId, HINSTANCE instance);
    // A one-bit mask of source's bitmap: white where it has the transparent colour.
    void CreateBitmapMask(QMemDC& source, COLORREF transparent);

    QBitmap* GetBitmap() const { return m_bitmap.get(); }

private:
    void LoadBitmap(QDC& source, LPCSTR name, HINSTANCE instance, bool fromFile);
    void AdoptCompatibleDC(HDC reference, const char* file, const char* method, int line);
    void DeleteContext();

    std::unique_ptr<QBitmap> m_bitmap;
};

// Owns a window's client-area context (GetDC / ReleaseDC).
class QClientDC : public QDC {
public:
    explicit QClientDC(QWinBase& window);
    explicit QClientDC(HWND window);
    ~QClientDC();

    // Releases the current context and takes the client context of window.
    void Attach(QWinBase& window);
    // Releases the context to its window (5502 on failure).
    void Free();

private:
    QWinBase* m_window = nullptr;
    HWND m_hwnd = nullptr;
};

// Owns the context of one paint message (BeginPaint / EndPaint).
class QPaintDC : public QDC {
public:
    explicit QPaintDC(QWinBase& window);
    explicit QPaintDC(HWND window);
    ~QPaintDC();

    // Ends painting.
    void Free();
    const PAINTSTRUCT& GetPaintStruct() const { return m_paint; }

private:
    PAINTSTRUCT m_paint = {};
    QWinBase* m_window = nullptr;
    HWND m_hwnd = nullptr;
};
