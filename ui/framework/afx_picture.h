// Pictures from the executable's resources:
//   AfxLoadPicture  a bitmap resource, or a PNG one decoded, as an HBITMAP
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
