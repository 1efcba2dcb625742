// Commands on time and output: freezing the installer's thread, how often
// waits look, marks and figures for benchmarks, and what is printed for the
// walk-through and for finding out.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "control_names.h"
#include "probes.h"
#include "robot.h"

namespace e2e {

bool Robot::PollMaybeFreezing(const Words& args, size_t timeoutIndex, const std::function<bool()>& ready) {
  const bool freeze = !args.empty() && args.back() == L"freeze";
  const DWORD timeout = TimeoutArg(args, timeoutIndex, kDefaultWaitMs);
  if (!freeze) return Poll(timeout, ready);
  if (!Poll(timeout, ready, false, 0)) return false;
  if (!FreezeInstaller()) {
    FailAndGoOn("cannot hold the installer (error " + std::to_string(GetLastError()) + ")");
    return true;
  }
  m_frozen = true;
  return true;
}

bool Robot::FreezeInstaller() {
  HANDLE threads = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (threads == INVALID_HANDLE_VALUE) return false;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(threads, &entry); more; more = Thread32Next(threads, &entry)) {
    if (entry.th32OwnerProcessID != m_process.dwProcessId) continue;
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
    if (thread == nullptr) continue;
    if (SuspendThread(thread) == static_cast<DWORD>(-1)) {
      CloseHandle(thread);
      continue;
    }
    m_frozenThreads.push_back(thread);
  }
  CloseHandle(threads);
  // At least the window's thread, or nothing is held.
  if (!m_frozenThreads.empty()) return true;
  return SuspendThread(m_process.hThread) != static_cast<DWORD>(-1) &&
         DuplicateHandle(GetCurrentProcess(), m_process.hThread, GetCurrentProcess(),
                         &m_frozenThreads.emplace_back(), 0, FALSE, DUPLICATE_SAME_ACCESS);
}

void Robot::ThawInstaller() {
  for (HANDLE thread : m_frozenThreads) {
    ResumeThread(thread);
    CloseHandle(thread);
  }
  m_frozenThreads.clear();
  m_frozen = false;
}

bool Robot::Thaw(const Words&) {
  if (!m_frozen) return FailAndStop("the installer is not frozen");
  ThawInstaller();
  return true;
}

namespace {

double MillisecondsSince(LARGE_INTEGER start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

// Until the control shows the text: every 10 ms, how long the window takes
// to answer a message (WM_NULL, sent), and to paint a part of itself that
// was made invalid. Prints "figure respond_answer_worst|respond_answer_p99|
// respond_repaint_worst <ms>", and the number of pings.
bool Robot::RespondUntil(const Words& args) {
  if (!RequireWindow() || !RequireNotFrozen()) return false;
  HWND window = Current();
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  const DWORD timeout = TimeoutArg(args, 2, kDefaultWaitMs);
  constexpr UINT kAnswerBoundMs = 10000;
  std::vector<double> answers;
  double worstRepaint = 0;
  const DWORD started = GetTickCount();
  while (TextOf(control) != args[1]) {
    if (GetTickCount() - started > timeout) return FailAndStop("text of " + Narrow(args[0]) + " never became " + Shown(args[1]));
    LARGE_INTEGER sent;
    QueryPerformanceCounter(&sent);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerBoundMs, &result)) {
      if (!IsWindow(window)) break;
      return FailAndStop("the window does not answer for " + std::to_string(kAnswerBoundMs / 1000) + " s");
    }
    answers.push_back(MillisecondsSince(sent));
    LARGE_INTEGER marked;
    QueryPerformanceCounter(&marked);
    if (MarkForPaint(window)) {
      while (!Painted(window) && MillisecondsSince(marked) < kAnswerBoundMs) Sleep(0);
      const double repaint = MillisecondsSince(marked);
      if (repaint > worstRepaint) worstRepaint = repaint;
    }
    Sleep(10);
  }
  if (answers.empty()) return FailAndStop("no ping was answered");
  std::sort(answers.begin(), answers.end());
  const double p99 = answers[std::min(answers.size() - 1, answers.size() * 99 / 100)];
  std::printf("figure respond_answer_worst %.1f\nfigure respond_answer_p99 %.1f\nfigure respond_repaint_worst %.1f\n"
              "pings %zu\n", answers.back(), p99, worstRepaint, answers.size());
  std::fflush(stdout);
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

// The installer's high-water marks so far, read while it runs (Wine reads
// them from the process's own counters, which go once it has exited).
bool Robot::ReportMemory(const Words& args) {
  if (!RequireLaunched()) return false;
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!Running() || !GetProcessMemoryInfo(m_process.hProcess, &counters, sizeof counters))
    return FailAndStop("cannot read the installer's memory (error " + std::to_string(GetLastError()) + ")");
  constexpr double kMiB = 1024.0 * 1024.0;
  const std::string figure = Narrow(args[0]);
  std::printf("figure %s_ws %.1f\nfigure %s_private %.1f\n", figure.c_str(),
              static_cast<double>(counters.PeakWorkingSetSize) / kMiB, figure.c_str(),
              static_cast<double>(counters.PeakPagefileUsage) / kMiB);
  std::fflush(stdout);
  return true;
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
