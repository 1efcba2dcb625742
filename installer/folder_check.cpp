#include "installer/folder_check.h"

namespace {

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// The service creates the folder and every missing folder above it; a file
// in the way fails the install only once it is under way.
bool AnyPartIsFile(PackageFileSeam& files, const char16_t* folder) {
  const std::size_t length = TextLength(folder);
  // From the first name below the drive's root, "C:\".
  for (std::size_t end = 4; end <= length; ++end) {
    if ((end < length && !IsSeparator(folder[end])) || IsSeparator(folder[end - 1])) continue;
    char16_t part[kPathCapacity];
    for (std::size_t i = 0; i < end; ++i) part[i] = folder[i];
    part[end] = 0;
    if (files.IsFile(part)) return true;
  }
  return false;
}

}  // namespace

FolderProblem CheckFolderText(const char16_t* folder) {
  if (folder == nullptr) return FolderProblem::NotLocal;
  const std::size_t length = BoundedLength(folder, kLongestFolder + 1);
  for (std::size_t i = 0; i < length; ++i) {
    if (folder[i] == u'"') return FolderProblem::Quote;
    if (folder[i] < 0x20 || folder[i] == 0x7F) return FolderProblem::Control;
  }
  if (length > kLongestFolder) return FolderProblem::TooLong;
  if (length == 0) return FolderProblem::None;
  // "C:\..." and nothing else: not "C:relative", "\\server\share" or "\\?\".
  if (length < 3 || !IsDriveLetter(folder[0]) || folder[1] != u':' || !IsSeparator(folder[2])) {
    return FolderProblem::NotLocal;
  }
  return FolderProblem::None;
}

FolderProblem CheckFolder(PackageFileSeam& files, const char16_t* folder) {
  const FolderProblem problem = CheckFolderText(folder);
  if (problem == FolderProblem::None && AnyPartIsFile(files, folder)) return FolderProblem::IsFile;
  return problem;
}

const char16_t* FolderProblemText(FolderProblem problem) {
  switch (problem) {
    case FolderProblem::Quote:
      return u"The folder name must not contain quotation marks (\").";
    case FolderProblem::Control:
      return u"The folder name must not contain control characters.";
    case FolderProblem::NotLocal:
      return u"The folder must be a full path on a local drive, such as C:\\Program Files\\Host.";
    case FolderProblem::TooLong:
      return u"The folder name is too long: it may have at most 250 characters.";
    case FolderProblem::IsFile:
      return u"A file of that name exists: choose a folder.";
    case FolderProblem::None:
      break;
  }
  return u"";
}
