// Which of the pictures drawn at 100 %, 150 % and 200 % a window at a given
// dpi shows. Portable: the choice is plain arithmetic.
#pragma once

enum class PictureScale { Percent100, Percent150, Percent200 };

// The scale whose dpi (96, 144, 192) is nearest; halfway goes to the smaller,
// so that a picture never outgrows the place its dialog units give it by
// more than a quarter. 0 (the dpi could not be read) counts as 96.
constexpr PictureScale NearestPictureScale(unsigned dpi) {
  if (dpi <= 120) return PictureScale::Percent100;
  if (dpi <= 168) return PictureScale::Percent150;
  return PictureScale::Percent200;
}

// What follows a picture's 100 % resource name for its scale.
constexpr const wchar_t* PictureNameSuffix(PictureScale scale) {
  switch (scale) {
    case PictureScale::Percent150: return L"150";
    case PictureScale::Percent200: return L"200";
    case PictureScale::Percent100: break;
  }
  return L"";
}
