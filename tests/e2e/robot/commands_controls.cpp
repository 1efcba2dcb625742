// Commands on the controls of the current window: what they show, and
// clicks and typing into them.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <set>

#include "control_names.h"
#include "input.h"
#include "probes.h"
#include "robot.h"

namespace e2e {

bool Robot::ExpectVisible(const Words& args) {
  return ExpectEach(args, "visible", [](HWND w) { return IsWindowVisible(w) != FALSE; });
}

bool Robot::ExpectEnabled(const Words& args) {
  return ExpectEach(args, "enabled", [](HWND w) { return IsWindowEnabled(w) != FALSE; });
}

bool Robot::ExpectDisabled(const Words& args) {
  return ExpectEach(args, "disabled", [](HWND w) { return IsWindowEnabled(w) == FALSE; });
}

bool Robot::WaitDisabled(const Words& args) {
  return WaitFor(args, "disabled", [](HWND w) { return IsWindowEnabled(w) == FALSE; });
}

bool Robot::ExpectEach(const Words& ids, const char* what, bool (*holds)(HWND)) {
  if (!RequireWindow()) return false;
  for (const std::wstring& word : ids) {
    long id = 0;
    if (!ControlIdArg(word, &id)) return false;
    HWND control = GetDlgItem(Current(), static_cast<int>(id));
    if (control == nullptr) {
      FailAndGoOn("no control " + Narrow(word));
      continue;
    }
    if (!Settle([&] { return holds(control); })) FailAndGoOn("control " + Narrow(word) + " is not " + what);
  }
  return true;
}

bool Robot::WaitFor(const Words& args, const char* what, bool (*holds)(HWND)) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  if (!PollMaybeFreezing(args, 1, [&] { return holds(control); }))
    return FailAndStop("control " + Narrow(args[0]) + " did not become " + what);
  return true;
}

bool Robot::ExpectOnlyVisible(const Words& args) {
  if (!RequireWindow()) return false;
  std::set<long> wanted;
  for (const std::wstring& word : args) {
    long id = 0;
    if (!ControlIdArg(word, &id)) return false;
    wanted.insert(id == -1 ? kNoId : id);
  }
  std::string problems;
  auto check = [&] {
    problems.clear();
    std::set<long> seen;
    for (HWND child : ChildrenOf(Current())) {
      const long id = GetDlgCtrlID(child) & 0xFFFF;
      if (!IsWindowVisible(child)) continue;
      seen.insert(id);
      if (!wanted.count(id)) problems += " " + ControlName(id) + " is visible;";
    }
    for (long id : wanted)
      if (!seen.count(id)) problems += " " + ControlName(id) + " is not visible;";
    return problems.empty();
  };
  if (!Settle(check)) FailAndGoOn("visible controls differ:" + problems);
  return true;
}

bool Robot::ExpectText(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  std::wstring text;
  if (!Settle([&] { return (text = TextOf(control)) == args[1]; }))
    FailAndGoOn("text of " + Narrow(args[0]) + " is " + Shown(text) + ", want " + Shown(args[1]));
  return true;
}

bool Robot::WaitText(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  std::wstring text;
  if (!PollMaybeFreezing(args, 2, [&] { return (text = TextOf(control)) == args[1]; }))
    return FailAndStop("text of " + Narrow(args[0]) + " stayed " + Shown(text) + ", want " + Shown(args[1]));
  return true;
}

bool Robot::WaitTextNot(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  if (!PollMaybeFreezing(args, 2, [&] { return TextOf(control) != args[1]; }))
    return FailAndStop("text of " + Narrow(args[0]) + " stayed " + Shown(args[1]));
  return true;
}

bool Robot::RememberTextLength(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  LRESULT length = 0;
  if (!Ask(control, WM_GETTEXTLENGTH, 0, 0, &length)) return FailAndGoOn("control does not answer");
  m_remembered.emplace_back(args[1], static_cast<long>(length));
  return true;
}

bool Robot::ExpectTextLength(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  long want = -1;
  if (!ParseInt(args[2], &want)) {
    for (const auto& [name, length] : m_remembered)
      if (name == args[2]) want = length;
    if (want < 0) return StopWithScriptError("nothing remembered as " + Narrow(args[2]));
  }
  const bool atLeast = args[1] == L">=";
  LRESULT length = 0;
  if (!Settle([&] {
        return Ask(control, WM_GETTEXTLENGTH, 0, 0, &length) && (atLeast ? length >= want : length == want);
      }))
    FailAndGoOn("text length of " + Narrow(args[0]) + " is " + std::to_string(length) + ", want " + Narrow(args[1]) +
                " " + std::to_string(want));
  return true;
}

bool Robot::ExpectCheck(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  long want = 0;
  ParseInt(args[1], &want);
  LRESULT state = -1;
  if (!Settle([&] { return Ask(control, BM_GETCHECK, 0, 0, &state) && state == want; }))
    FailAndGoOn("check state of " + Narrow(args[0]) + " is " + std::to_string(state) + ", want " + Narrow(args[1]));
  return true;
}

bool Robot::ExpectProgress(const Words& args) {
  HWND bar = RequireControl(L"PROGRESS");
  if (bar == nullptr) return false;
  long want[3] = {};
  for (int i = 0; i < 3; ++i)
    if (!ParseInt(args[i], &want[i])) return StopWithScriptError("not a number: " + Narrow(args[i]));
  LRESULT low = -1, high = -1, pos = -1;
  auto read = [&] {
    return Ask(bar, PBM_GETRANGE, TRUE, 0, &low) && Ask(bar, PBM_GETRANGE, FALSE, 0, &high) &&
           Ask(bar, PBM_GETPOS, 0, 0, &pos) && low == want[0] && high == want[1] && pos == want[2];
  };
  if (!Settle(read))
    FailAndGoOn("progress is " + std::to_string(low) + ".." + std::to_string(high) + " at " + std::to_string(pos));
  return true;
}

bool Robot::ExpectStyleHas(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  long bits = 0;
  if (!ParseInt(args[1], &bits)) return StopWithScriptError("not a number: " + Narrow(args[1]));
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  if ((style & bits) != bits) {
    char text[64];
    std::snprintf(text, sizeof text, "style is 0x%08lX", static_cast<unsigned long>(style));
    FailAndGoOn(text);
  }
  return true;
}

bool Robot::ExpectFocus(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(Current(), nullptr);
  if (!Settle([&] { return GetGUIThreadInfo(thread, &info) && info.hwndFocus == control; }))
    FailAndGoOn("focus is on control " + (info.hwndFocus ? ControlName(GetDlgCtrlID(info.hwndFocus)) : "(none)"));
  return true;
}

bool Robot::ExpectFirstLine(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  long want = 0;
  ParseInt(args[1], &want);
  LRESULT line = -1;
  if (!Settle([&] { return Ask(control, EM_GETFIRSTVISIBLELINE, 0, 0, &line) && line == want; }))
    FailAndGoOn("first visible line is " + std::to_string(line));
  return true;
}

bool Robot::ClickControl(HWND control, POINT at) {
  if (!IsWindowVisible(control)) return FailAndStop("control is not visible");
  // Two clicks meant as two must not make a double click (a picture button
  // reports that as something else): the second goes a little aside.
  const int apart = GetSystemMetrics(SM_CXDOUBLECLK) + 2;
  if (control == m_lastClicked && GetTickCount() - m_lastClickTime <= GetDoubleClickTime() &&
      std::abs(at.x - m_lastClick.x) < apart) {
    RECT rect;
    GetWindowRect(control, &rect);
    at.x += at.x + apart < rect.right ? apart : -apart;
  }
  if (!MoveAndClick(at)) return FailAndStop("the pointer does not get there");
  m_lastClicked = control;
  m_lastClick = at;
  m_lastClickTime = GetTickCount();
  return true;
}

bool Robot::Click(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  return ClickControl(control, CentreOf(control));
}

// A link reacts only on its text, which starts at the control's left edge.
bool Robot::ClickLink(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  RECT rect;
  GetWindowRect(control, &rect);
  return ClickControl(control, {rect.left + 8, (rect.top + rect.bottom) / 2});
}

// Replaces the text of an edit box by typing, as a user would after
// selecting all of it; returns when the box shows the typed text.
bool Robot::Type(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  if (!ClickControl(control, CentreOf(control))) return false;
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(control, nullptr);
  if (!Settle([&] { return GetGUIThreadInfo(thread, &info) && info.hwndFocus == control; }))
    return FailAndStop("control " + Narrow(args[0]) + " did not take the focus");
  LRESULT ignored;
  Ask(control, EM_SETSEL, 0, -1, &ignored);
  TypeText(args[1]);
  std::wstring text;
  if (!Settle([&] { return (text = TextOf(control)) == args[1]; }))
    return FailAndStop("after typing, the box shows " + Shown(text));
  return true;
}

}  // namespace e2e
