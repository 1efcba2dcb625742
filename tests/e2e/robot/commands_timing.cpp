// Commands on time and output: freezing the installer's thread, how often
// waits look, marks and figures for benchmarks, and what is printed for the
// walk-through and for finding out.
#include <cstdio>

#include "control_names.h"
#include "probes.h"
#include "robot.h"

namespace e2e {

bool Robot::PollMaybeFreezing(const Words& args, size_t timeoutIndex, const std::function<bool()>& ready) {
  const bool freeze = !args.empty() && args.back() == L"freeze";
  const DWORD timeout = TimeoutArg(args, timeoutIndex, kDefaultWaitMs);
  if (!freeze) return Poll(timeout, ready);
  if (!Poll(timeout, ready, false, 0)) return false;
  if (SuspendThread(m_process.hThread) == static_cast<DWORD>(-1)) {
    FailAndGoOn("cannot hold the installer (error " + std::to_string(GetLastError()) + ")");
    return true;
  }
  m_frozen = true;
  return true;
}

bool Robot::Thaw(const Words&) {
  if (!m_frozen) return FailAndStop("the installer is not frozen");
  ResumeThread(m_process.hThread);
  m_frozen = false;
  return true;
}

bool Robot::PollInterval(const Words& args) {
  long ms = 0;
  if (!ParseInt(args[0], &ms) || ms < 1 || ms > 1000) return StopWithScriptError("poll-interval <1..1000>");
  m_pollMs = static_cast<DWORD>(ms);
  return true;
}

void Robot::NoteMark(const std::wstring& name) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  for (auto& [known, ticks] : m_marks) {
    if (known == name) {
      ticks = now.QuadPart;
      return;
    }
  }
  m_marks.emplace_back(name, now.QuadPart);
}

bool Robot::Mark(const Words& args) {
  NoteMark(args[0]);
  return true;
}

bool Robot::Report(const Words& args) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  for (const auto& [name, ticks] : m_marks) {
    if (name != args[1]) continue;
    const double ms = static_cast<double>(now.QuadPart - ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
    std::printf("figure %s %.3f\n", Narrow(args[0]).c_str(), ms);
    std::fflush(stdout);
    return true;
  }
  return StopWithScriptError("no mark " + Narrow(args[1]));
}

// Prints each change of the controls' visibility, enabled state and text,
// as fast as it can look, for a while or until the installer ends.
bool Robot::Trace(const Words& args) {
  if (!RequireWindow()) return false;
  long ms = 0;
  if (!ParseInt(args[0], &ms)) return StopWithScriptError("trace <milliseconds> <control>...");
  std::vector<std::pair<HWND, std::string>> controls;
  for (size_t i = 1; i < args.size(); ++i) {
    HWND control = RequireControl(args[i]);
    if (control == nullptr) return false;
    controls.emplace_back(control, "");
  }
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < static_cast<DWORD>(ms) && Running()) {
    for (auto& [control, last] : controls) {
      const std::string now = std::string(IsWindowVisible(control) ? "visible" : "hidden") +
                              (IsWindowEnabled(control) ? " enabled " : " disabled ") + Shown(TextOf(control));
      if (now == last) continue;
      last = now;
      std::printf("  %5lu ms  %s: %s\n", GetTickCount() - start, ControlName(GetDlgCtrlID(control)).c_str(),
                  now.c_str());
    }
    Sleep(0);
  }
  std::fflush(stdout);
  return true;
}

bool Robot::Print(const Words& args) {
  std::string line;
  for (const std::wstring& word : args) line += (line.empty() ? "" : " ") + Narrow(word);
  std::printf("%s\n", line.c_str());
  return true;
}

bool Robot::PrintText(const Words& args) {
  HWND control = RequireControl(args[1]);
  if (control == nullptr) return false;
  std::printf("%-22s %s\n", (Narrow(args[0]) + ":").c_str(), Shown(TextOf(control)).c_str());
  return true;
}

}  // namespace e2e
