// The robot's command table, the run of a script, and what every command
// shares: outcomes, the windows and controls acted on, polling.
#include "robot.h"

#include <cstdio>

#include "control_names.h"
#include "probes.h"

namespace e2e {

const Robot::Entry Robot::kCommands[] = {
    {L"launch", &Robot::Launch, 1, "launch <exe> [NAME=value ...] [-- <argument> ...]"},
    {L"wait-window", &Robot::WaitWindow, 1, "wait-window <title> [seconds]"},
    {L"wait-gone", &Robot::WaitGone, 0, "wait-gone [seconds]"},
    {L"expect-visible", &Robot::ExpectVisible, 1, "expect-visible <control>..."},
    {L"expect-enabled", &Robot::ExpectEnabled, 1, "expect-enabled <control>..."},
    {L"expect-disabled", &Robot::ExpectDisabled, 1, "expect-disabled <control>..."},
    {L"wait-disabled", &Robot::WaitDisabled, 1, "wait-disabled <control> [seconds] [freeze]"},
    {L"wait-visible", &Robot::WaitVisible, 1, "wait-visible <control> [seconds]"},
    {L"thaw", &Robot::Thaw, 0, "thaw"},
    {L"poll-interval", &Robot::PollInterval, 1, "poll-interval <milliseconds>"},
    {L"mark", &Robot::Mark, 1, "mark <name>"},
    {L"report", &Robot::Report, 2, "report <figure> <mark> (prints: figure <figure> <milliseconds since the mark>)"},
    {L"report-memory", &Robot::ReportMemory, 1,
     "report-memory <figure> (prints: figure <figure>_ws|<figure>_private <the installer's peak working set|private bytes in MiB>)"},
    {L"expect-only-visible", &Robot::ExpectOnlyVisible, 1, "expect-only-visible <control>... (-1: controls without an id)"},
    {L"expect-text", &Robot::ExpectText, 2, "expect-text <control> <text>"},
    {L"wait-text", &Robot::WaitText, 2, "wait-text <control> <text> [seconds] [freeze]"},
    {L"wait-text-not", &Robot::WaitTextNot, 2, "wait-text-not <control> <text> [seconds] [freeze]"},
    {L"expect-text-length", &Robot::ExpectTextLength, 3, "expect-text-length <control> =|>= <number|name>"},
    {L"remember-text-length", &Robot::RememberTextLength, 2, "remember-text-length <control> <name>"},
    {L"expect-check", &Robot::ExpectCheck, 2, "expect-check <control> 0|1"},
    {L"expect-progress", &Robot::ExpectProgress, 3, "expect-progress <min> <max> <pos>"},
    {L"expect-exstyle-has", &Robot::ExpectExStyleHas, 1, "expect-exstyle-has <hex>"},
    {L"expect-style-has", &Robot::ExpectStyleHas, 2, "expect-style-has <control> <hex>"},
    {L"expect-focus", &Robot::ExpectFocus, 1, "expect-focus <control>"},
    {L"expect-first-line", &Robot::ExpectFirstLine, 2, "expect-first-line <control> <line> (of a one-line edit, its first visible character)"},
    {L"expect-selection", &Robot::ExpectSelection, 3, "expect-selection <control> <start> <end> (of an edit)"},
    {L"expect-in-front", &Robot::ExpectInFront, 0, "expect-in-front"},
    {L"centre-window", &Robot::CentreWindow, 0, "centre-window"},
    {L"respond-until", &Robot::RespondUntil, 3,
     "respond-until <control> <text> <seconds> (pings and repaints the window meanwhile; reports figures)"},
    {L"move-window", &Robot::MoveWindowBy, 2, "move-window <dx> <dy> (it must move and paint again)"},
    {L"click", &Robot::Click, 1, "click <control> [disabled] (disabled: it must be, and ignore the click)"},
    {L"click-link", &Robot::ClickLink, 1, "click-link <control>"},
    {L"type", &Robot::Type, 2, "type <control> <text>"},
    {L"key", &Robot::Key, 1, "key escape|enter|tab|space"},
    {L"close-box", &Robot::CloseBox, 0, "close-box"},
    {L"expect-process-exit", &Robot::ExpectExit, 0, "expect-process-exit [code|any] [seconds]"},
    {L"wait-exit-unseen", &Robot::WaitExitUnseen, 1, "wait-exit-unseen <code|any> [seconds] (no window of the installer's may show meanwhile)"},
    {L"wait-box", &Robot::WaitBox, 1, "wait-box <caption> [seconds]"},
    {L"expect-box-text", &Robot::ExpectBoxText, 1, "expect-box-text <text contained>"},
    {L"answer-box", &Robot::AnswerBox, 1, "answer-box <button>"},
    {L"wait-folder-browser", &Robot::WaitFolderBrowser, 0, "wait-folder-browser [seconds]"},
    {L"screenshot", &Robot::Screenshot, 1, "screenshot <name>"},
    {L"expect-pixel", &Robot::ExpectPixel, 3, "expect-pixel <x> <y> <0x00BBGGRR> (client area; < 0: from the far edge)"},
    {L"expect-colour-in", &Robot::ExpectColourIn, 2, "expect-colour-in <control> <0x00BBGGRR>"},
    {L"expect-client-size", &Robot::ExpectClientSize, 2, "expect-client-size <width> <height> (pixels at 96 dpi, scaled to the screen's)"},
    {L"expect-rect", &Robot::ExpectRect, 5, "expect-rect <control> <x> <y> <width> <height> [picture] (in the client area; pixels at 96 dpi, scaled; picture: its size is a picture's, drawn to scale)"},
    {L"expect-above", &Robot::ExpectAbove, 2, "expect-above <upper control> <lower control> (the one ends where the other starts)"},
    {L"expect-text-fits", &Robot::ExpectTextFits, 3, "expect-text-fits <control> <font face> <points> (its text, wrapped, within its client area at the screen's dpi)"},
    {L"expect-accessible-name", &Robot::ExpectAccessibleName, 2, "expect-accessible-name <control> <name> (as a screen reader asks)"},
    {L"set-reg", &Robot::SetReg, 3, "set-reg <HKLM key> <value> <data>"},
    {L"set-reg64", &Robot::SetReg64, 3, "set-reg64 <HKLM key> <value> <data>"},
    {L"expect-reg", &Robot::ExpectReg, 3, "expect-reg <HKLM key> <value> <data>"},
    {L"wait-reg", &Robot::WaitReg, 3, "wait-reg <HKLM key> <value> <data> [seconds]"},
    {L"expect-no-reg", &Robot::ExpectNoReg, 1, "expect-no-reg <HKLM key> [value]"},
    {L"expect-file", &Robot::ExpectFile, 1, "expect-file <path>"},
    {L"expect-no-file", &Robot::ExpectNoFile, 1, "expect-no-file <path>"},
    {L"expect-temp-unchanged", &Robot::ExpectTempUnchanged, 0, "expect-temp-unchanged"},
    {L"expect-no-module-in", &Robot::ExpectNoModuleIn, 1, "expect-no-module-in <folder>"},
    {L"copy", &Robot::CopyFileCommand, 2, "copy <from> <to>"},
    {L"run", &Robot::RunProgram, 2, "run <seconds> <command line>"},
    {L"start", &Robot::StartProgram, 1, "start <command line> (goes on beside the installer)"},
    {L"expect-started-alive", &Robot::ExpectStartedAlive, 0, "expect-started-alive"},
    {L"wait-started-exit", &Robot::WaitStartedExit, 0, "wait-started-exit [seconds]"},
    {L"hold-mutex", &Robot::HoldMutex, 1, "hold-mutex <name> (owned until release-mutex)"},
    {L"release-mutex", &Robot::ReleaseMutexCommand, 0, "release-mutex"},
    {L"expect-file-contains", &Robot::ExpectFileContains, 2, "expect-file-contains <path> <text>..."},
    {L"expect-new-temp-file", &Robot::ExpectNewTempFile, 1, "expect-new-temp-file <name prefix> [text]... (then deletes it)"},
    {L"expect-same-file", &Robot::ExpectSameFile, 2, "expect-same-file <file> <file> (byte for byte)"},
    {L"wait-package", &Robot::WaitPackage, 1, "wait-package any|<file> [seconds] (the installer's package in temp exists, or is as large as the file)"},
    {L"trace", &Robot::Trace, 2, "trace <milliseconds> <control>... (prints every change; for finding out)"},
    {L"print", &Robot::Print, 0, "print <text>..."},
    {L"print-text", &Robot::PrintText, 2, "print-text <label> <control>"},
    {L"print-reg", &Robot::PrintReg, 2, "print-reg <HKLM key> <value>"},
};

Robot::~Robot() {
  if (m_heldMutex != nullptr) CloseHandle(m_heldMutex);
  if (m_helper.hProcess != nullptr) {
    TerminateProcess(m_helper.hProcess, 1);
    CloseHandle(m_helper.hProcess);
  }
  if (m_process.hProcess != nullptr) {
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
  }
}

int Robot::Run(const std::vector<Command>& commands) {
  const bool verbose = !Env(L"E2E_VERBOSE").empty();
  bool going = true;
  for (const Command& command : commands) {
    m_line = command.line;
    m_commandText.clear();
    for (const std::wstring& word : command.words) {
      if (!m_commandText.empty()) m_commandText += ' ';
      m_commandText += Narrow(word);
    }
    if (m_commandText.size() > 100) m_commandText = m_commandText.substr(0, 97) + "...";
    const Entry* entry = nullptr;
    for (const Entry& candidate : kCommands)
      if (command.words[0] == candidate.name) entry = &candidate;
    const Words args(command.words.begin() + 1, command.words.end());
    if (entry == nullptr) {
      going = StopWithScriptError("unknown command");
    } else if (args.size() < entry->minArgs) {
      going = StopWithScriptError(std::string("usage: ") + entry->usage);
    } else {
      if (verbose) std::printf("  [%lu] %s\n", GetTickCount() % 1000000, m_commandText.c_str());
      std::fflush(stdout);
      going = (this->*entry->handler)(args);
    }
    if (!going) break;
  }
  Clean(going, commands.empty() ? 0 : commands.back().line);
  if (m_scriptError) return 2;
  return m_failures == 0 ? 0 : 1;
}

void Robot::Clean(bool reportRunning, int lastLine) {
  if (m_frozen) ThawInstaller();
  if (!Running()) return;
  // A scenario ends with the installer gone; one that is still up is a
  // failure, and is stopped so that the next scenario starts clean.
  if (reportRunning) {
    m_line = lastLine;
    m_commandText = "end of script";
    FailAndGoOn("the installer is still running");
  }
  ScreenshotOfFailure();
  TerminateProcess(m_process.hProcess, 1);
  WaitForSingleObject(m_process.hProcess, 5000);
}

bool Robot::FailAndGoOn(const std::string& message) {
  std::printf("FAIL line %d: %s: %s\n", m_line, m_commandText.c_str(), message.c_str());
  std::fflush(stdout);
  ++m_failures;
  return true;
}

bool Robot::FailAndStop(const std::string& message) {
  FailAndGoOn(message);
  return false;
}

bool Robot::StopWithScriptError(const std::string& message) {
  std::printf("robot: line %d: %s: %s\n", m_line, m_commandText.c_str(), message.c_str());
  std::fflush(stdout);
  m_scriptError = true;
  return false;
}

bool Robot::RequireLaunched() {
  if (m_process.hProcess != nullptr) return true;
  return StopWithScriptError("nothing launched");
}

bool Robot::RequireWindow() {
  if (Current() != nullptr && IsWindow(Current())) return true;
  return FailAndStop("no window to act on (wait-window first)");
}

bool Robot::ControlIdArg(const std::wstring& word, long* id) {
  if (ParseControlId(word, id)) return true;
  return StopWithScriptError("no control is named " + Narrow(word));
}

namespace {

struct Search {
  long id;
  HWND found;
};

BOOL CALLBACK TakeIfVisible(HWND child, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  if (GetDlgCtrlID(child) != search->id || !IsWindowVisible(child)) return TRUE;
  search->found = child;
  return FALSE;
}

HWND VisibleDescendant(HWND window, long id) {
  Search search{id, nullptr};
  EnumChildWindows(window, TakeIfVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

HWND Robot::RequireControl(const std::wstring& word) {
  long id = 0;
  if (!RequireWindow() || !ControlIdArg(word, &id)) return nullptr;
  HWND control = GetDlgItem(Current(), static_cast<int>(id));
  // A wizard that shows each page as a child dialog (the bench's peer) has
  // the page's controls one level down: the visible one of that id.
  if (control == nullptr) control = VisibleDescendant(Current(), id);
  if (control == nullptr) FailAndStop("no control " + Narrow(word));
  return control;
}

bool Robot::Poll(DWORD timeoutMs, const std::function<bool()>& ready, bool watchBoxes, DWORD intervalMs) {
  const DWORD start = GetTickCount();
  // The process and its boxes are looked for at the usual pace even when a
  // timing asks for faster looks at the state: every top-level window read
  // each millisecond or two would load the system the figure runs on.
  DWORD watched = start - kPollMs;
  for (;;) {
    if (ready()) return true;
    const DWORD now = GetTickCount();
    const bool watch = now - watched >= kPollMs || now - start >= timeoutMs;
    if (watch) watched = now;
    if (watch && m_process.hProcess != nullptr && !Running()) {
      DWORD code = 0;
      GetExitCodeProcess(m_process.hProcess, &code);
      return FailAndStop("the installer exited (code " + std::to_string(code) + ") while waiting");
    }
    if (watch && watchBoxes && m_process.hProcess != nullptr) {
      if (HWND box = InstallerBox())
        return FailAndStop("unexpected message box \"" + Narrow(TextOf(box)) + "\": " + Shown(BoxText(box)));
    }
    if (GetTickCount() - start >= timeoutMs) return ready();
    Sleep(intervalMs == kDefaultInterval ? m_pollMs : intervalMs);
  }
}

DWORD Robot::TimeoutArg(const Words& args, size_t index, DWORD fallback) {
  long seconds = 0;
  if (args.size() > index && ParseInt(args[index], &seconds) && seconds > 0) return static_cast<DWORD>(seconds) * 1000;
  return fallback;
}

}  // namespace e2e

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::printf("usage: robot <script>\n");
    return 2;
  }
  std::vector<e2e::Command> commands;
  if (!e2e::ReadScript(argv[1], &commands)) return 2;
  // Real pixels at any dpi: rectangles, clicks and screenshots alike.
  SetProcessDPIAware();
  // The accessible objects of another process come through COM.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::wstring name = argv[1];
  name = name.substr(name.find_last_of(L"\\/") + 1);
  name = name.substr(0, name.find(L'.'));
  e2e::Robot robot(name);
  return robot.Run(commands);
}
