// Device contexts, one class per way of getting one.
//   QDC         a context handle, deleted when owned; the drawing operations
//   QMemDC      a memory context with the bitmap it holds (loads, masks)
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
    QDC() = default;
    // A context from elsewhere; owned ones are deleted by Free.
    QDC(HDC dc, bool owned) : m_dc(dc), m_owned(owned) {}
    virtual ~QDC();
    QDC(const QDC&) = delete;
    QDC& operator=(const QDC&) = delete;

    // Deletes an owned context (2507 on failure) and forgets it.
    virtual void Free();

    HDC GetHdc() const { return m_dc; }
    bool IsOwned() const { return m_owned; }

    // A memory context compatible with target (the screen when null), owned.
    void CreateCompatibleDC(QDC* target);

    void BitBlt(int x, int y, int width, int height, QDC& source, int sx, int sy, DWORD rop);
    void BitBlt(const RECT& rect, QDC& source, int sx, int sy, DWORD rop);
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
    // Replaces the held context with a new memory context compatible with reference; a
    // failure raises 2506 at the caller's place.
    void AdoptCompatibleDC(HDC reference, const char* file, const char* method, int line);
    void SetHdc(HDC dc, bool owned) {
        m_dc = dc;
        m_owned = owned;
    }

private:
    HDC m_dc = nullptr;
    bool m_owned = false;
};

class QMemDC : public QDC {
public:
    QMemDC() = default;
    ~QMemDC() override;

    // Unselects and deletes the bitmap; the context stays for the next load.
    void Free() override;

    // Replace the bitmap by one loaded from a file or a resource of the module; the context
    // is made compatible with source unless it exists already.
    void LoadBitmapFile(QDC& source, const std::string& fileName, HINSTANCE instance);
    void LoadBitmapResource(QDC& source, UINT resourceId, HINSTANCE instance);
    // A one-bit mask of source's bitmap: white where it has the transparent colour.
    void CreateBitmapMask(QMemDC& source, COLORREF transparent);

    QBitmap* GetBitmap() const { return m_bitmap.get(); }

private:
    void LoadBitmap(QDC& source, LPCSTR name, HINSTANCE instance, bool fromFile);

    std::unique_ptr<QBitmap> m_bitmap;
};

class QClientDC : public QDC {
public:
    explicit QClientDC(QWinBase& window);
    explicit QClientDC(HWND window);
    ~QClientDC() override;

    // Releases the current context and takes the client context of window.
    void Attach(QWinBase& window);
    // Releases the context to its window (5502 on failure).
    void Free() override;

private:
    QWinBase* m_window = nullptr;
    HWND m_hwnd = nullptr;
};

class QPaintDC : public QDC {
public:
    explicit QPaintDC(QWinBase& window);
    explicit QPaintDC(HWND window);
    ~QPaintDC() override;

    // Ends painting.
    void Free() override;
    const PAINTSTRUCT& GetPaintStruct() const { return m_paint; }

private:
    PAINTSTRUCT m_paint = {};
    QWinBase* m_window = nullptr;
    HWND m_hwnd = nullptr;
};
