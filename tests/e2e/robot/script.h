// Reading a robot script: one command per line, words separated by blanks,
// "..." for a word with blanks, ${NAME} for an environment variable, # starts
// a comment.
#pragma once

#include <string>
#include <vector>

#include "text.h"

namespace e2e {

struct Command {
  int line = 0;
  Words words;
};

// Splits one line into words; expands ${NAME}. False on a syntax error.
bool SplitLine(const std::wstring& line, Words* words, std::wstring* error);
// The commands of a script file; false (and each error printed) when a line
// cannot be read.
bool ReadScript(const wchar_t* path, std::vector<Command>* commands);

}  // namespace e2e
