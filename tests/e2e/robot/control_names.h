// Controls as scripts name them: by the names the code gives their ids in
// res/resource.h (CONTINUE or IDC_CONTINUE for IDC_CONTINUE, IDOK, IDCANCEL),
// or by number for what has no name (-1: the template's picture statics).
#pragma once

#include <string>

namespace e2e {

constexpr long kNoId = 0xFFFF;  // id of a control without one (-1), as the window has it

// The id a script names; false when the word is neither a name nor a number.
bool ParseControlId(const std::wstring& word, long* id);
// The name a script would use for the id, for messages; the number when the
// id has no name.
std::string ControlName(long id);

}  // namespace e2e
