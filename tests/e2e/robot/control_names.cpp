#include "control_names.h"

#include <windows.h>

#include <cwchar>

#include "res/resource.h"
#include "text.h"

namespace e2e {

namespace {

struct Named {
  const wchar_t* name;
  long id;
};

#define CONTROL(id) {L"" #id, id}
// A control added to res/resource.h needs a line here before a script can
// name it; one renamed there stops the robot from building.
const Named kControls[] = {
    CONTROL(IDC_CONTINUE),   CONTROL(IDC_AGREE),       CONTROL(IDC_TERMS_LINK),  CONTROL(IDC_CONFIGURE),
    CONTROL(IDC_FOLDER),     CONTROL(IDC_AGREE_LABEL), CONTROL(IDC_PROGRESS),    CONTROL(IDC_ACTION_TEXT),
    CONTROL(IDC_STATUS_TEXT), CONTROL(IDC_FINISHED),   CONTROL(IDC_TERMS_TEXT),  CONTROL(IDC_LOG_LINK),
    CONTROL(IDC_SIDE_BANNER), CONTROL(IDC_SEPARATOR),  CONTROL(IDOK),            CONTROL(IDCANCEL),
    CONTROL(IDYES),           CONTROL(IDNO),           CONTROL(IDTRYAGAIN),      CONTROL(IDCONTINUE),
};
#undef CONTROL

const wchar_t kPrefix[] = L"IDC_";

}  // namespace

bool ParseControlId(const std::wstring& word, long* id) {
  for (const Named& named : kControls) {
    if (word == named.name || kPrefix + word == named.name) {
      *id = named.id;
      return true;
    }
  }
  return ParseInt(word, id);
}

std::string ControlName(long id) {
  if (id == kNoId || id == -1) return "-1";
  for (const Named& named : kControls) {
    if (named.id != id) continue;
    std::wstring name = named.name;
    if (name.compare(0, wcslen(kPrefix), kPrefix) == 0) name.erase(0, wcslen(kPrefix));
    return Narrow(name);
  }
  return std::to_string(id);
}

}  // namespace e2e
