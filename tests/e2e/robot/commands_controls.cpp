// Commands on the controls of the current window: what they show, and
// clicks and typing into them.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
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

bool Robot::WaitVisible(const Words& args) {
  return WaitFor(args, "visible", [](HWND w) { return IsWindowVisible(w) != FALSE; });
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
  const TextReader read(control);
  if (!PollMaybeFreezing(args, 2, [&] { return (text = read()) == args[1]; }))
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

bool Robot::ExpectSelection(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  long start = 0, end = 0;
  if (!ParseInt(args[1], &start) || !ParseInt(args[2], &end))
    return StopWithScriptError("expect-selection <control> <start> <end>");
  LRESULT selection = -1;
  if (!Settle([&] { return Ask(control, EM_GETSEL, 0, 0, &selection) && selection == MAKELONG(start, end); }))
    FailAndGoOn("selection is " + std::to_string(LOWORD(selection)) + " to " + std::to_string(HIWORD(selection)));
  return true;
}

bool Robot::RequireNotFrozen() {
  if (!m_frozen) return true;
  return FailAndStop("the installer is frozen: thaw it before giving it input");
}

bool Robot::ReadyToClick(HWND control, bool live, const std::function<POINT()>& where, POINT* at) {
  if (!RequireNotFrozen()) return false;
  HWND root = GetAncestor(control, GA_ROOT);
  std::string why;
  bool broughtToFront = false;
  auto ready = [&] {
    if (!IsWindowVisible(control)) {
      why = "it is hidden";
      return false;
    }
    if ((IsWindowEnabled(control) != FALSE) != live) {
      why = live ? "it is disabled" : "it is enabled";
      return false;
    }
    // A click on a window behind first activates it, and when that does
    // not happen at once the click is lost (Wine drops it): bring it to the
    // front first, as EnsureForeground does for keys.
    if (GetForegroundWindow() != root) {
      if (!broughtToFront) SetForegroundWindow(root);
      broughtToFront = true;
      why = "its window is not in front (" + Describe(GetForegroundWindow()) + " is)";
      return false;
    }
    *at = where();
    // The point, as the installer will hit-test it; a disabled control
    // leaves the click to its parent.
    HWND hit = WindowFromPoint(*at);
    if (hit != control && (live || hit != GetParent(control))) {
      why = "the point is on " + Describe(hit);
      return false;
    }
    return true;
  };
  const int failures = m_failures;
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD spent = GetTickCount() - start;
    if (!Poll(spent < kSettleMs ? kSettleMs - spent : 0, ready)) {
      if (m_failures != failures) return false;
      return FailAndStop("waited " + std::to_string(kSettleMs / 1000) + " s for " + Describe(control) + " to be " +
                         (live ? "enabled" : "disabled") + ", visible, in front and under the point: " + why);
    }
    // Whatever was queued before (the input of the last command, and what
    // it led to) may still change the state just seen.
    if (!WaitTaken(root, "what was queued before")) return false;
    if (ready()) return true;
  }
}

bool Robot::WaitTaken(HWND window, const std::string& what, const std::function<bool()>& done) {
  MarkForPaint(window);
  auto taken = [&] {
    return !Running() || !IsWindow(window) || !IsWindowVisible(window) || Painted(window) || (done && done());
  };
  const int failures = m_failures;
  if (Poll(kDefaultWaitMs, taken, false, std::min(m_pollMs, kInputPollMs))) return true;
  if (m_failures != failures) return false;
  return FailAndStop("the installer did not take " + what + ": its thread is not back in a message loop");
}

bool Robot::ClickControl(HWND control, bool live, const std::function<POINT()>& where) {
  // Two clicks meant as two must not make a double click (a picture button
  // reports that as something else): the second goes a little aside.
  auto aside = [&] {
    POINT at = where();
    const int apart = GetSystemMetrics(SM_CXDOUBLECLK) + 2;
    if (control == m_lastClicked && GetTickCount() - m_lastClickTime <= GetDoubleClickTime() &&
        std::abs(at.x - m_lastClick.x) < apart) {
      RECT rect;
      GetWindowRect(control, &rect);
      at.x += at.x + apart < rect.right ? apart : -apart;
    }
    return at;
  };
  POINT at = {};
  if (!ReadyToClick(control, live, aside, &at)) return false;
  const std::string name = Describe(control);
  if (!MoveTo(at)) return FailAndStop("the pointer does not get to " + name);
  HWND root = GetAncestor(control, GA_ROOT);
  const DWORD thread = GetWindowThreadProcessId(control, nullptr);
  const bool pressQueued = PressButton(at);
  m_lastClicked = control;
  m_lastClick = at;
  m_lastClickTime = GetTickCount();
  const bool pressTaken = pressQueued && WaitTaken(root, "the press on " + name);
  const GUITHREADINFO pressed = ThreadInfo(thread);
  // A button clicks on the release: figures "since the click" start here.
  NoteMark(L"click");
  // Even after a failure: the button is never left down.
  const bool releaseQueued = ReleaseButton(at);
  if (!pressQueued || !releaseQueued) return FailAndStop("the system does not take the click");
  if (!pressTaken) return false;
  // A control that takes a press takes the focus or the mouse with it.
  const bool captured = pressed.hwndCapture == control;
  if (live && !captured && pressed.hwndFocus != control)
    return FailAndStop("the press did not reach " + name + " (the mouse is with " + Describe(pressed.hwndCapture) +
                       ", the focus on " + Describe(pressed.hwndFocus) + ")");
  if (!live && captured) FailAndGoOn(name + " took the press although disabled");
  // A button lets the mouse go as it takes the release, just before it
  // reports the click; what the click starts may keep the thread busy
  // (CONTINUE installs), so that is taken as the release being taken.
  return WaitTaken(root, "the release on " + name,
                   [&] { return captured && ThreadInfo(thread).hwndCapture != control; });
}

bool Robot::Click(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  if (args.size() > 1 && args[1] != L"disabled") return StopWithScriptError("click <control> [disabled]");
  return ClickControl(control, args.size() == 1, [control] { return CentreOf(control); });
}

// A link reacts only on its text, which starts at the control's left edge.
bool Robot::ClickLink(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  return ClickControl(control, true, [control] {
    RECT rect;
    GetWindowRect(control, &rect);
    return POINT{rect.left + 8, (rect.top + rect.bottom) / 2};
  });
}

// Replaces the text of an edit box by typing, as a user would after
// selecting all of it; returns when the box shows the typed text.
bool Robot::Type(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  if (!ClickControl(control, true, [control] { return CentreOf(control); })) return false;
  const DWORD thread = GetWindowThreadProcessId(control, nullptr);
  if (!Settle([&] { return ThreadInfo(thread).hwndFocus == control; }))
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
