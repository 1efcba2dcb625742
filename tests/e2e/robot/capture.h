// Screen capture: the screen's pixels, as the user sees them (stacking and
// all), not what the window would paint on request.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct Capture {
  int width = 0, height = 0;
  std::vector<BYTE> bgr;  // 24-bit rows, bottom-up, 4-byte aligned
  int stride() const { return (width * 3 + 3) & ~3; }
  COLORREF At(int x, int y) const {  // x, y from the top left
    const BYTE* p = &bgr[static_cast<size_t>(height - 1 - y) * stride() + static_cast<size_t>(x) * 3];
    return RGB(p[2], p[1], p[0]);
  }
};

// The pixels of a rectangle of the screen; false when it is empty or
// cannot be read.
bool CaptureScreen(const RECT& rect, Capture* capture);
bool WriteBmp(const std::wstring& path, const Capture& capture);

}  // namespace e2e
