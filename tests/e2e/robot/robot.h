// The end-to-end robot: drives the installer the way a user would and checks
// what the user sees and what the machine holds.
//
// One run of the robot is one scenario: it reads a line-based script (see
// script.h), starts the installer itself (so it holds the process handle and
// can watch the window while a long install blocks the installer's thread),
// and runs the commands in order. Input is real input (see input.h). Controls
// are named as in res/resource.h (see control_names.h).
//
// Expectations poll for a while (kSettleMs) before they fail, because the
// installer handles the robot's input on its own thread; a state that must
// NOT change is proven by a later action whose effect shows that the
// earlier input was handled (input is handled in order).
//
// A command that gives input waits for the state it needs, never for time:
// before, until the control is visible and enabled, its window in front, the
// point on it, and the installer's thread done with everything queued;
// after, until the installer has taken the input (see WaitTaken).
//
// A screen that lasts only a moment (an install under Wine takes a fraction
// of a second) is caught by a wait with "freeze": it polls without pause and,
// once the state is there, suspends the installer's thread, so that the
// screen holds still for the checks and the screenshot until "thaw". While
// frozen, only what needs no answer from the installer works: visibility,
// enabled state, static texts, pixels; input fails at once.
//
// For benchmarks, "mark" notes the time (launch notes "launch" as it starts
// the installer, a click notes "click" as it lets the button go) and "report"
// prints the milliseconds since a mark;
// "poll-interval" makes waits look more often than every kPollMs.
//
// Exit code: 0 when every expectation held, 1 otherwise, 2 for a script error.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "script.h"
#include "text.h"

namespace e2e {

constexpr DWORD kPollMs = 50;
constexpr DWORD kInputPollMs = 10;  // how often the wait for input to be taken looks
constexpr DWORD kDefaultInterval = static_cast<DWORD>(-1);  // Poll: the script's poll interval
constexpr DWORD kSettleMs = 10000;       // how long an expectation, or input, waits for the state
constexpr DWORD kDefaultWaitMs = 30000;  // waits without an explicit timeout

class Robot {
 public:
  explicit Robot(std::wstring scriptName) : m_scriptName(std::move(scriptName)) {}
  ~Robot();
  Robot(const Robot&) = delete;
  Robot& operator=(const Robot&) = delete;

  int Run(const std::vector<Command>& commands);

 private:
  using Handler = bool (Robot::*)(const Words&);
  struct Entry {
    const wchar_t* name;
    Handler handler;
    size_t minArgs;
    const char* usage;
  };
  static const Entry kCommands[];

  // How a command reports what went wrong. Each returns what the command
  // then returns: true goes on with the script, false stops it.
  // An expectation that did not hold; the next commands still tell something.
  bool FailAndGoOn(const std::string& message);
  // An expectation that did not hold and leaves nothing sensible to do next
  // (a wait that never came true): the script stops, the run exits 1.
  bool FailAndStop(const std::string& message);
  // The script line itself is wrong (a bad number, an unknown name, a
  // command out of order): the script stops, the run exits 2.
  bool StopWithScriptError(const std::string& message);

  bool Running() const {
    return m_process.hProcess != nullptr && WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
  }
  HWND Current() const { return m_windows.empty() ? nullptr : m_windows.back(); }
  // False, and the script stops, when nothing was launched yet.
  bool RequireLaunched();
  // False, and the script stops, when there is no window to act on.
  bool RequireWindow();
  // The id a word names; false, and the script stops, when it names none.
  bool ControlIdArg(const std::wstring& word, long* id);
  // The control of the current window that a word names; null, and the
  // script stops, when there is no such window or control.
  HWND RequireControl(const std::wstring& word);
  // A visible box of the installer's message handler, if one is up.
  HWND InstallerBox() const;

  // Polls until ready() holds or the time is up; fails fast when the
  // installer exits, or (watchBoxes) shows an error box that the script is
  // not waiting for.
  bool Poll(DWORD timeoutMs, const std::function<bool()>& ready, bool watchBoxes = true,
            DWORD intervalMs = kDefaultInterval);
  // A wait ending in "freeze": poll without pause, then hold the installer.
  bool PollMaybeFreezing(const Words& args, size_t timeoutIndex, const std::function<bool()>& ready);
  bool Settle(const std::function<bool()>& ready) { return Poll(kSettleMs, ready); }
  DWORD TimeoutArg(const Words& args, size_t index, DWORD fallback);
  // Ends what the script left running: a frozen thread, the installer.
  void Clean(bool reportRunning, int lastLine);

  // The process and its windows (commands_window.cpp).
  bool Launch(const Words& args);
  bool WaitWindow(const Words& args);
  bool WaitGone(const Words& args);
  bool ExpectExit(const Words& args);
  bool WaitExitUnseen(const Words& args);
  bool ExpectExStyleHas(const Words& args);
  bool ExpectInFront(const Words& args);
  bool CentreWindow(const Words& args);
  bool MoveWindowBy(const Words& args);
  bool Key(const Words& args);
  bool CloseBox(const Words& args);
  bool EnsureForeground();

  // The controls of the current window (commands_controls.cpp).
  bool ExpectVisible(const Words& args);
  bool ExpectEnabled(const Words& args);
  bool ExpectDisabled(const Words& args);
  bool ExpectEach(const Words& ids, const char* what, bool (*holds)(HWND));
  bool WaitDisabled(const Words& args);
  bool WaitVisible(const Words& args);
  bool WaitFor(const Words& args, const char* what, bool (*holds)(HWND));
  bool ExpectOnlyVisible(const Words& args);
  bool ExpectText(const Words& args);
  bool WaitText(const Words& args);
  bool WaitTextNot(const Words& args);
  bool ExpectTextLength(const Words& args);
  bool RememberTextLength(const Words& args);
  bool ExpectCheck(const Words& args);
  bool ExpectProgress(const Words& args);
  bool ExpectStyleHas(const Words& args);
  bool ExpectFocus(const Words& args);
  bool ExpectFirstLine(const Words& args);
  bool ExpectSelection(const Words& args);
  bool Click(const Words& args);
  bool ClickLink(const Words& args);
  bool Type(const Words& args);

  // Input, and the waits around it (commands_controls.cpp).
  // False, and the script stops, while the installer is frozen: nothing
  // would take the input.
  bool RequireNotFrozen();
  // Waits until the control can take a click at where() as a user's: its
  // window in front, the control visible and enabled (live) or disabled (a
  // click that must do nothing), the point on it, and the thread done with
  // what was queued before.
  bool ReadyToClick(HWND control, bool live, const std::function<POINT()>& where, POINT* at);
  // Waits until the installer has taken the input sent so far: the thread of
  // the window has painted a mark made now (see MarkForPaint), the window is
  // hidden or gone, or done() holds.
  bool WaitTaken(HWND window, const std::string& what, const std::function<bool()>& done = nullptr);
  // Press, and release once the press is taken; returns once the release is.
  bool ClickControl(HWND control, bool live, const std::function<POINT()>& where);

  // Message boxes and the folder browser (commands_boxes.cpp).
  bool WaitBox(const Words& args);
  bool ExpectBoxText(const Words& args);
  bool AnswerBox(const Words& args);
  bool WaitFolderBrowser(const Words& args);

  // Pixels (commands_screen.cpp).
  bool Screenshot(const Words& args);
  bool ExpectPixel(const Words& args);
  bool ExpectColourIn(const Words& args);
  // The main window, as it is on the screen, to failed-<script>.bmp.
  void ScreenshotOfFailure();

  // Layout and accessibility (commands_layout.cpp).
  bool ExpectClientSize(const Words& args);
  bool ExpectRect(const Words& args);
  bool ExpectAbove(const Words& args);
  bool ExpectTextFits(const Words& args);
  bool ExpectAccessibleName(const Words& args);

  // The machine (commands_machine.cpp).
  bool SetReg(const Words& args);
  bool SetReg64(const Words& args);
  bool ExpectReg(const Words& args);
  bool WaitReg(const Words& args);
  bool ExpectNoReg(const Words& args);
  bool ExpectFile(const Words& args);
  bool ExpectNoFile(const Words& args);
  bool ExpectTempUnchanged(const Words& args);
  bool ExpectNoModuleIn(const Words& args);
  bool CopyFileCommand(const Words& args);
  bool RunProgram(const Words& args);
  bool StartProgram(const Words& args);
  bool ExpectStartedAlive(const Words& args);
  bool WaitStartedExit(const Words& args);
  bool HoldMutex(const Words& args);
  bool ReleaseMutexCommand(const Words& args);
  bool ExpectFileContains(const Words& args);
  bool ExpectNewTempFile(const Words& args);
  bool ExpectSameFile(const Words& args);
  bool WaitPackage(const Words& args);
  bool PrintReg(const Words& args);

  // Timing, and what is printed (commands_timing.cpp).
  bool Thaw(const Words& args);
  // Holds every thread of the installer (the window's, the install's and
  // the service's), or lets them all go on.
  bool FreezeInstaller();
  void ThawInstaller();
  bool PollInterval(const Words& args);
  bool Mark(const Words& args);
  bool Report(const Words& args);
  bool ReportMemory(const Words& args);
  bool RespondUntil(const Words& args);
  void NoteMark(const std::wstring& name);
  bool Trace(const Words& args);
  bool Print(const Words& args);
  bool PrintText(const Words& args);

  std::wstring m_scriptName;
  PROCESS_INFORMATION m_process{};
  HANDLE m_heldMutex = nullptr;  // hold-mutex's, owned until release-mutex
  PROCESS_INFORMATION m_helper = {};  // start's, until it ends
  std::vector<HWND> m_windows;  // the windows waited for; the last is acted on
  // Temp folders (the installer's and the usual one) and what they held
  // before the launch.
  std::vector<std::pair<std::wstring, std::set<std::wstring>>> m_tempBefore;
  std::vector<std::pair<std::wstring, long>> m_remembered;
  std::vector<std::pair<std::wstring, LONGLONG>> m_marks;  // performance-counter ticks
  DWORD m_pollMs = kPollMs;
  bool m_frozen = false;
  std::vector<HANDLE> m_frozenThreads;
  HWND m_lastClicked = nullptr;
  POINT m_lastClick = {};
  DWORD m_lastClickTime = 0;
  int m_failures = 0;
  bool m_scriptError = false;
  int m_line = 0;
  std::string m_commandText;
};

}  // namespace e2e
