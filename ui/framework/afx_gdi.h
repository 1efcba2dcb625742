// Drawing:
//   CDC       a device context the framework hands to a handler
//   CPaintDC  painting a window, from begin to end
//   CBrush    a brush owned until destruction
//   CBitmap   a bitmap owned until destruction
#pragma once

#include <windows.h>

class CWnd;

class CDC {
 public:
  CDC() = default;
  explicit CDC(HDC dc) : m_hDC(dc) {}
  HDC GetSafeHdc() const { return m_hDC; }
  COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
  COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
  HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
  BOOL PatBlt(int x, int y, int width, int height, DWORD rop) {
    return ::PatBlt(m_hDC, x, y, width, height, rop);
  }
  BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

 protected:
  HDC m_hDC = nullptr;
};

// Begins painting a window on construction and ends it on destruction.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC();
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;

 private:
  PAINTSTRUCT m_ps{};
  HWND m_hWnd;
};

// Owns a brush from creation until destruction.
class CBrush {
 public:
  CBrush() = default;
  ~CBrush() { DeleteObject(); }
  CBrush(const CBrush&) = delete;
  CBrush& operator=(const CBrush&) = delete;

  BOOL CreateSolidBrush(COLORREF color) {
    DeleteObject();
    m_hObject = ::CreateSolidBrush(color);
    return m_hObject != nullptr;
  }
  operator HBRUSH() const { return m_hObject; }

 private:
  void DeleteObject() {
    if (m_hObject != nullptr) ::DeleteObject(m_hObject);
    m_hObject = nullptr;
  }
  HBRUSH m_hObject = nullptr;
};

// Owns a bitmap from Attach until destruction or Detach.
class CBitmap {
 public:
  CBitmap() = default;
  ~CBitmap() { DeleteObject(); }
  CBitmap(const CBitmap&) = delete;
  CBitmap& operator=(const CBitmap&) = delete;

  void Attach(HBITMAP bitmap) {
    DeleteObject();
    m_hObject = bitmap;
  }
  HBITMAP Detach() {
    HBITMAP bitmap = m_hObject;
    m_hObject = nullptr;
    return bitmap;
  }
  operator HBITMAP() const { return m_hObject; }

 private:
  void DeleteObject() {
    if (m_hObject != nullptr) ::DeleteObject(m_hObject);
    m_hObject = nullptr;
  }
  HBITMAP m_hObject = nullptr;
};
