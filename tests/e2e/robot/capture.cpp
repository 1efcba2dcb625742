#include "capture.h"

#include <cstdio>

namespace e2e {

bool CaptureScreen(const RECT& rect, Capture* capture) {
  capture->width = rect.right - rect.left;
  capture->height = rect.bottom - rect.top;
  if (capture->width <= 0 || capture->height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, capture->width, capture->height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  const BOOL copied = BitBlt(memory, 0, 0, capture->width, capture->height, screen, rect.left, rect.top,
                             SRCCOPY | CAPTUREBLT);
  SelectObject(memory, previous);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = capture->width;
  info.bmiHeader.biHeight = capture->height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  capture->bgr.assign(static_cast<size_t>(capture->stride()) * capture->height, 0);
  const int rows = GetDIBits(memory, bitmap, 0, capture->height, capture->bgr.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return copied && rows == capture->height;
}

bool WriteBmp(const std::wstring& path, const Capture& capture) {
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = capture.width;
  header.biHeight = capture.height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(capture.bgr.size());
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (out == nullptr) return false;
  const bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
                  std::fwrite(capture.bgr.data(), 1, capture.bgr.size(), out) == capture.bgr.size();
  return std::fclose(out) == 0 && ok;
}

}  // namespace e2e
