// Drawing objects.
//   QGDIObject   owner (or borrower) of one drawing object, remembers what it replaced
//                when selected into a context
//   QBitmap      a bitmap with its description
//   QBrush       a brush
//   QFont        a font, created or borrowed from the stock objects
#pragma once

#include <windows.h>

#include <string>

class QDC;

class QGDIObject {
public:
    QGDIObject() = default;
    virtual ~QGDIObject();
    QGDIObject(const QGDIObject&) = delete;
    QGDIObject& operator=(const QGDIObject&) = delete;

    // Takes another handle; the old one is deleted first when asked and owned.
    void SetHandle(HGDIOBJ handle, bool releaseOld);
    // Releases the current handle and takes this one, owned or borrowed.
    void Attach(HGDIOBJ handle, bool owned);
    // Deletes an owned handle (6501 on failure) and forgets it; a borrowed one is forgotten.
    void Delete();
    // The platform's description of the object; nothing happens without handle, size or
    // buffer (6502 on failure).
    void GetInfo(int size, void* buffer);

    HGDIOBJ GetHandle() const { return m_handle; }
    bool IsOwned() const { return m_owned; }
    void SetOwned(bool owned) { m_owned = owned; }

    // Selection bookkeeping, kept by QDC: the handle this object displaced.
    void SetSelected(HGDIOBJ previous);
    HGDIOBJ GetPrevious() const { return m_previous; }
    bool IsSelected() const { return m_selected; }

private:
    bool m_owned = true;
    HGDIOBJ m_handle = nullptr;
    HGDIOBJ m_previous = nullptr;
    bool m_selected = false;
};

class QBitmap : public QGDIObject {
public:
    // From a resource (name is MAKEINTRESOURCE of the id) or, with fromFile, a file; the
    // old bitmap is released first, so a failed load (10001) leaves none.
    void Load(LPCSTR name, HINSTANCE instance, bool fromFile);
    // A bitmap the format of the context (10003 on failure).
    void CreateCompatibleBitmap(QDC& dc, int width, int height);

    HBITMAP GetBitmap() const { return static_cast<HBITMAP>(GetHandle()); }
    const BITMAP& GetDescription() const { return m_description; }

private:
    void Describe();
    BITMAP m_description = {};
};

class QBrush : public QGDIObject {
public:
    void CreateSolidBrush(COLORREF colour);
    HBRUSH GetBrush() const { return static_cast<HBRUSH>(GetHandle()); }
};

class QFont : public QGDIObject {
public:
    void Create(const std::string& face, int height, int weight, bool italic, bool underline);
    // Height from points at the context's vertical resolution: 9 points at 96 dpi is -12.
    void CreatePointFont(const std::string& face, int points, QDC& dc, int weight, bool italic,
                         bool underline);
    void CreateFontIndirect(const LOGFONTA& description);
    // One of the stock fonts (10 to 14, 16, 17), borrowed: never deleted by this object.
    void CreateStockFont(int stockId);

    HFONT GetFont() const { return static_cast<HFONT>(GetHandle()); }
};
