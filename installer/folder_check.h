// Whether a folder text can go into the install's command line as the
// target folder: the one check for a typed folder, the host's value and a
// folder given on the command line. (Whether the name is taken by a file is
// the caller's to ask the machine.)
#pragma once

#include "core/text.h"

enum class FolderProblem {
  None,
  Quote,        // a '"' would end MAXDIR's value and start further properties
  Control,      // a control character
  NotLocal,     // not a drive letter, ':' and '\' followed by the rest
  TooLong,      // more than kLongestFolder units
  IsFile,       // names an existing file (found by the caller)
};

// An empty folder is usable: the package then chooses its own default.
FolderProblem CheckFolderText(const char16_t* folder);

// What the user is told of a problem, for a message box.
const char16_t* FolderProblemText(FolderProblem problem);
