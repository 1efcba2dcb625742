// Commands on the installer's process and its top-level windows: start and
// end, which window is acted on, where it is, keys.
#include <cstdio>
#include <cwchar>

#include "input.h"
#include "machine.h"
#include "probes.h"
#include "robot.h"

namespace e2e {

bool Robot::Launch(const Words& args) {
  if (Running()) return FailAndStop("the installer is running already");
  if (m_process.hProcess != nullptr) {
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
    m_process = {};
  }
  m_windows.clear();
  std::vector<std::pair<std::wstring, std::wstring>> overrides;
  std::wstring arguments;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == L"--") {
      // Each word as the installer gets it; one with blanks goes in quotes.
      for (++i; i < args.size(); ++i) {
        const bool quote = args[i].find(L' ') != std::wstring::npos && args[i].find(L'"') == std::wstring::npos;
        arguments += quote ? L" \"" + args[i] + L"\"" : L" " + args[i];
      }
      break;
    }
    const size_t eq = args[i].find(L'=');
    if (eq == std::wstring::npos || eq == 0) return StopWithScriptError("not NAME=value: " + Narrow(args[i]));
    overrides.emplace_back(args[i].substr(0, eq), args[i].substr(eq + 1));
  }
  // The installer's environment: ours with the overrides (an empty value
  // removes the variable).
  std::vector<std::wstring> entries;
  LPWCH block = GetEnvironmentStringsW();
  for (const wchar_t* p = block; *p != L'\0'; p += wcslen(p) + 1) {
    const std::wstring entry = p;
    const size_t eq = entry.find(L'=', 1);
    bool replaced = false;
    for (const auto& [name, value] : overrides)
      if (eq != std::wstring::npos && _wcsicmp(entry.substr(0, eq).c_str(), name.c_str()) == 0) replaced = true;
    if (!replaced) entries.push_back(entry);
  }
  FreeEnvironmentStringsW(block);
  for (const auto& [name, value] : overrides)
    if (!value.empty()) entries.push_back(name + L"=" + value);
  std::wstring environment;
  for (const std::wstring& entry : entries) environment += entry + L'\0';
  environment += L'\0';

  m_tempBefore.clear();
  for (const std::wstring& folder : {TempFolderFor(overrides), TempFolderFor({})})
    if (m_tempBefore.empty() || m_tempBefore.front().first != folder)
      m_tempBefore.emplace_back(folder, ListFolder(folder));

  std::wstring commandLine = L"\"" + args[0] + L"\"" + arguments;
  std::wstring folder = args[0].substr(0, args[0].find_last_of(L'\\') + 1);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  NoteMark(L"launch");
  if (!CreateProcessW(args[0].c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                      environment.data(), folder.empty() ? nullptr : folder.c_str(), &startup, &m_process)) {
    m_process = {};
    return FailAndStop("cannot start " + Narrow(args[0]) + " (error " + std::to_string(GetLastError()) + ")");
  }
  return true;
}

bool Robot::WaitWindow(const Words& args) {
  if (!RequireLaunched()) return false;
  HWND found = nullptr;
  const std::wstring& title = args[0];
  const bool ready = Poll(TimeoutArg(args, 1, kDefaultWaitMs), [&] {
    found = TopLevelOf(m_process.dwProcessId, [&](HWND w) {
      for (HWND known : m_windows)
        if (known == w) return false;
      return TextOf(w) == title;
    });
    return found != nullptr;
  });
  if (!ready) return FailAndStop("no window titled " + Shown(title));
  m_windows.push_back(found);
  return true;
}

bool Robot::WaitGone(const Words& args) {
  // The input that closes a window is taken once it is hidden, and by now
  // it may be destroyed as well.
  if (m_windows.empty()) return FailAndStop("no window to wait for (wait-window first)");
  HWND window = Current();
  if (!Poll(TimeoutArg(args, 0, kDefaultWaitMs), [&] { return !IsWindow(window) || !IsWindowVisible(window); },
            false))
    return FailAndStop("the window " + Shown(TextOf(window)) + " is still there");
  m_windows.pop_back();
  return true;
}

bool Robot::ExpectExit(const Words& args) {
  if (!RequireLaunched()) return false;
  if (WaitForSingleObject(m_process.hProcess, TimeoutArg(args, 1, kDefaultWaitMs)) != WAIT_OBJECT_0)
    return FailAndStop("the installer did not exit");
  m_windows.clear();
  DWORD code = 0;
  GetExitCodeProcess(m_process.hProcess, &code);
  long want = 0;
  if (!args.empty() && args[0] != L"any" && ParseInt(args[0], &want) && code != static_cast<DWORD>(want))
    FailAndGoOn("exit code " + std::to_string(code) + ", want " + Narrow(args[0]));
  return true;
}

// For runs that must show nothing: waits for the exit, looking for a
// visible window of the installer's all the while.
bool Robot::WaitExitUnseen(const Words& args) {
  if (!RequireLaunched()) return false;
  const DWORD timeout = TimeoutArg(args, 1, kDefaultWaitMs);
  const DWORD start = GetTickCount();
  std::wstring seen;
  while (WaitForSingleObject(m_process.hProcess, 10) == WAIT_TIMEOUT) {
    if (GetTickCount() - start > timeout) return FailAndStop("the installer did not exit");
    if (seen.empty()) {
      HWND shown = TopLevelOf(m_process.dwProcessId, [](HWND w) { return IsWindowVisible(w) != FALSE; });
      if (shown != nullptr) seen = L"\"" + TextOf(shown) + L"\"";
    }
  }
  if (!seen.empty()) FailAndGoOn("a window showed: " + Narrow(seen));
  return ExpectExit(Words{args[0]});
}

bool Robot::ExpectExStyleHas(const Words& args) {
  if (!RequireWindow()) return false;
  long bits = 0;
  if (!ParseInt(args[0], &bits)) return StopWithScriptError("not a number: " + Narrow(args[0]));
  const LONG style = GetWindowLongW(Current(), GWL_EXSTYLE);
  if ((style & bits) != bits) {
    char text[64];
    std::snprintf(text, sizeof text, "extended style is 0x%08lX", static_cast<unsigned long>(style));
    FailAndGoOn(text);
  }
  return true;
}

// The current window (a box, a dialog) is really in front of the main
// window: above it in the stacking order, and where the two overlap, what is
// on the screen there belongs to it (a box behind the topmost main window
// would be covered there).
bool Robot::ExpectInFront(const Words&) {
  if (!RequireWindow()) return false;
  HWND front = Current(), main = m_windows.front();
  if (front == main) return StopWithScriptError("nothing in front of the main window to look at");
  auto above = [&] {
    for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
      if (w == front) return true;
      if (w == main) return false;
    }
    return false;
  };
  if (!Settle(above)) FailAndGoOn("it is behind the main window in the stacking order");
  RECT a, b, overlap;
  GetWindowRect(front, &a);
  GetWindowRect(main, &b);
  if (!IntersectRect(&overlap, &a, &b)) return FailAndGoOn("it does not overlap the main window (centre-window first)");
  const POINT middle = {(overlap.left + overlap.right) / 2, (overlap.top + overlap.bottom) / 2};
  HWND at = nullptr;
  if (!Settle([&] { return IsOrContains(front, at = WindowFromPoint(middle)); }))
    FailAndGoOn("where it overlaps the main window, the screen shows " + Shown(TextOf(GetAncestor(at, GA_ROOT))));
  return true;
}

// Moves the window to the middle of the screen, as a user may drag it, so
// that boxes centred on the screen come up over it.
bool Robot::CentreWindow(const Words&) {
  // Moving another thread's window waits for that thread.
  if (!RequireWindow() || !RequireNotFrozen()) return false;
  RECT rect;
  GetWindowRect(Current(), &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(Current(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT now;
  if (!Settle([&] { return GetWindowRect(Current(), &now) && now.left == x && now.top == y; }))
    FailAndGoOn("the window stays at " + std::to_string(now.left) + ", " + std::to_string(now.top));
  return true;
}

// As a user drags it: the move is only asked for, so a window whose thread
// answers nothing stays where it is, and the move fails.
bool Robot::MoveWindowBy(const Words& args) {
  long dx = 0, dy = 0;
  if (!ParseInt(args[0], &dx) || !ParseInt(args[1], &dy)) return StopWithScriptError("move-window <dx> <dy>");
  if (!RequireWindow() || !RequireNotFrozen()) return false;
  HWND window = Current();
  RECT rect;
  GetWindowRect(window, &rect);
  const int x = rect.left + static_cast<int>(dx), y = rect.top + static_cast<int>(dy);
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
  RECT now;
  if (!Settle([&] { return GetWindowRect(window, &now) && now.left == x && now.top == y; }))
    return FailAndGoOn("the window stays at " + std::to_string(now.left) + ", " + std::to_string(now.top));
  MarkForPaint(window);
  if (!Settle([&] { return Painted(window); })) FailAndGoOn("the moved window does not paint");
  return true;
}

bool Robot::EnsureForeground() {
  HWND window = Current();
  auto inFront = [&] {
    HWND foreground = GetForegroundWindow();
    return foreground == window || GetAncestor(foreground, GA_ROOTOWNER) == GetAncestor(window, GA_ROOTOWNER);
  };
  if (inFront()) return true;
  SetForegroundWindow(window);
  return Settle(inFront);
}

bool Robot::Key(const Words& args) {
  if (!RequireWindow()) return false;
  struct Named {
    const wchar_t* name;
    WORD key;
  };
  static const Named keys[] = {{L"escape", VK_ESCAPE}, {L"enter", VK_RETURN}, {L"tab", VK_TAB}, {L"space", VK_SPACE}};
  for (const Named& named : keys) {
    if (args[0] != named.name) continue;
    if (!RequireNotFrozen()) return false;
    if (!EnsureForeground()) return FailAndStop("the window does not come to the foreground");
    // Keys go to the window in front; each half is taken before the next
    // (a dialog acts on the press of Escape or Enter).
    HWND target = GetForegroundWindow();
    if (!WaitTaken(target, "what was queued before")) return false;
    const bool pressQueued = KeyDown(named.key);
    const bool pressTaken = pressQueued && WaitTaken(target, "the press of " + Narrow(args[0]));
    // Even after a failure: the key is never left down.
    if (!KeyUp(named.key) || !pressQueued) return FailAndStop("the system does not take the key");
    if (!pressTaken) return false;
    return WaitTaken(target, "the release of " + Narrow(args[0]));
  }
  return StopWithScriptError("unknown key " + Narrow(args[0]));
}

bool Robot::CloseBox(const Words&) {
  if (!RequireWindow() || !RequireNotFrozen()) return false;
  PostMessageW(Current(), WM_SYSCOMMAND, SC_CLOSE, 0);
  return WaitTaken(Current(), "the close");
}

}  // namespace e2e
