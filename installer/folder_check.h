// Whether a folder can be the install's target: the one check for a typed
// folder, the host's value and a folder given on the command line.
#pragma once

#include <cstddef>

#include "core/text.h"
#include "installer/package_file_seam.h"

// Longest folder the install takes: MAXDIR="<folder>" in a path buffer.
inline constexpr std::size_t kLongestFolder = 250;

enum class FolderProblem {
  None,
  Quote,        // a '"' would end MAXDIR's value and start further properties
  Control,      // a control character
  NotLocal,     // not a drive letter, ':' and '\' followed by the rest
  TooLong,      // more than kLongestFolder units
  IsFile,       // names an existing file (found by the caller)
};

// Whether the text can go into the install's command line as the target
// folder. An empty folder is usable: the package then chooses its own
// default.
FolderProblem CheckFolderText(const char16_t* folder);

// Its text (CheckFolderText), and no existing file where the service would
// make the folder or a folder above it.
FolderProblem CheckFolder(PackageFileSeam& files, const char16_t* folder);

// What the user is told of a problem, for a message box.
const char16_t* FolderProblemText(FolderProblem problem);
