// Pictures from the executable's resources:
//   AfxLoadPicture    a bitmap resource, or a PNG one decoded, as an HBITMAP
//   CPictureDecoding  COM kept for a window that decodes several pictures
#pragma once

#include <windows.h>

// The resource type of the pictures stored as PNG.
inline constexpr wchar_t kPngResourceType[] = L"PNG";

// The picture called name: its RT_BITMAP resource when there is one (as
// LoadBitmapW gives it), else its "PNG" resource decoded by the system's
// imaging component into a 24-bit bottom-up DIB section. Null when there is
// neither or it cannot be decoded. The caller owns the bitmap (DeleteObject).
// Works on any thread, whether COM is initialised there or not.
HBITMAP AfxLoadPicture(const wchar_t* name);

// Each decode brings COM up on its thread and takes it down again when the
// thread had none, a few milliseconds a picture. A window that decodes
// several (and more as its buttons are first drawn) holds one of these:
// from Begin until destruction, on the thread that called Begin, COM stays
// up, and the decodes in between only nest in it. Begin binds the libraries
// it needs; call it only at a dpi that needs decoding.
class CPictureDecoding {
 public:
  CPictureDecoding() = default;
  ~CPictureDecoding();
  CPictureDecoding(const CPictureDecoding&) = delete;
  CPictureDecoding& operator=(const CPictureDecoding&) = delete;
  // Once is enough; again does nothing.
  void Begin();

 private:
  bool m_counted = false;
};
