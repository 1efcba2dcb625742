// The end-to-end robot: drives the installer the way a user would and checks
// what the user sees and what the machine holds.
//
// One run of the robot is one scenario: it reads a line-based script, starts
// the installer itself (so it holds the process handle and can watch the
// window while a long install blocks the installer's thread), and runs the
// commands in order. Input is real input (SendInput at the control's place),
// so a disabled or covered control ignores a click as it would for a user.
//
// Script syntax: one command per line, words separated by blanks, "..." for a
// word with blanks, ${NAME} for an environment variable, # starts a comment.
// Expectations poll for a short while (kSettle) before they fail, because the
// installer handles the robot's input on its own thread; a state that must
// NOT change is proven by a later action whose effect shows that the earlier
// input was handled (input is handled in order).
//
// A screen that lasts only a moment (an install under Wine takes a fraction
// of a second) is caught by a wait with "freeze": it polls without pause and,
// once the state is there, suspends the installer's thread, so that the
// screen holds still for the checks and the screenshot until "thaw". While
// frozen, only what needs no answer from the installer works: visibility,
// enabled state, static texts, pixels.
//
// For benchmarks, "mark" notes the time (launch notes "launch" as it starts
// the installer) and "report" prints the milliseconds since a mark;
// "poll-interval" makes waits look more often than every kPollMs.
//
// Exit code: 0 when every expectation held, 1 otherwise, 2 for a script error.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using Words = std::vector<std::wstring>;

constexpr DWORD kPollMs = 50;
constexpr DWORD kDefaultInterval = static_cast<DWORD>(-1);  // Poll: the script's poll interval
constexpr DWORD kSettleMs = 3000;        // how long an expectation waits for the state
constexpr DWORD kDefaultWaitMs = 30000;  // waits without an explicit timeout
constexpr UINT kMessageTimeoutMs = 2000; // a busy installer thread must not hang the robot
constexpr int kNoId = 0xFFFF;            // id of the template's picture statics (-1)

// Captions of the boxes that the installer's message handler shows.
const wchar_t* const kInstallerBoxCaptions[] = {L"FatalError", L"Error", L"Warning"};

// ---------------------------------------------------------------------------
// Text helpers.

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<size_t>(size - 1));
  return out;
}

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), size);
  out.resize(static_cast<size_t>(size - 1));
  return out;
}

// Long texts (a 300-character folder) are shortened in messages.
std::string Shown(const std::wstring& text) {
  if (text.size() <= 90) return "\"" + Narrow(text) + "\"";
  return "\"" + Narrow(text.substr(0, 40)) + "..." + Narrow(text.substr(text.size() - 40)) +
         "\" (" + std::to_string(text.size()) + " chars)";
}

std::wstring Env(const std::wstring& name) {
  const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(name.c_str(), value.data(), size));
  return value;
}

bool ParseInt(const std::wstring& word, long* value) {
  if (word.empty()) return false;
  wchar_t* end = nullptr;
  const bool hex = word.size() > 2 && word[0] == L'0' && (word[1] == L'x' || word[1] == L'X');
  *value = hex ? static_cast<long>(wcstoul(word.c_str(), &end, 16)) : wcstol(word.c_str(), &end, 10);
  return *end == L'\0';
}

// ---------------------------------------------------------------------------
// Script reading.

struct Command {
  int line = 0;
  Words words;
};

// Splits one line into words; expands ${NAME}. False on a syntax error.
bool SplitLine(const std::wstring& line, Words* words, std::wstring* error) {
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && iswspace(line[i])) ++i;
    if (i >= line.size() || line[i] == L'#') break;
    std::wstring word;
    const bool quoted = line[i] == L'"';
    if (quoted) ++i;
    while (i < line.size() && (quoted ? line[i] != L'"' : !iswspace(line[i]))) {
      if (line[i] == L'$' && i + 1 < line.size() && line[i + 1] == L'{') {
        const size_t close = line.find(L'}', i);
        if (close == std::wstring::npos) {
          *error = L"unclosed ${";
          return false;
        }
        const std::wstring name = line.substr(i + 2, close - i - 2);
        if (GetEnvironmentVariableW(name.c_str(), nullptr, 0) == 0) {
          *error = L"variable not set: " + name;
          return false;
        }
        word += Env(name);
        i = close + 1;
        continue;
      }
      word += line[i++];
    }
    if (quoted) {
      if (i >= line.size()) {
        *error = L"unclosed quote";
        return false;
      }
      ++i;
    }
    words->push_back(word);
  }
  return true;
}

bool ReadScript(const wchar_t* path, std::vector<Command>* commands) {
  FILE* file = _wfopen(path, L"rb");
  if (file == nullptr) {
    std::printf("robot: cannot open script %s\n", Narrow(path).c_str());
    return false;
  }
  std::string content;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) content.append(chunk, got);
  std::fclose(file);

  int number = 0;
  size_t start = 0;
  bool ok = true;
  while (start <= content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string raw = content.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    ++number;
    Command command;
    command.line = number;
    std::wstring error;
    if (!SplitLine(Widen(raw), &command.words, &error)) {
      std::printf("robot: line %d: %s\n", number, Narrow(error).c_str());
      ok = false;
    } else if (!command.words.empty()) {
      commands->push_back(std::move(command));
    }
    start = end + 1;
  }
  return ok;
}

// ---------------------------------------------------------------------------
// Windows of the installer.

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

// The text of a window of another process. Most windows keep their text in
// the window itself, so it is read without a message: that also works while
// the installer's thread is busy in a long installer call. Edit controls
// keep their own text and are asked, with a timeout.
std::wstring TextOf(HWND window) {
  const std::wstring type = ClassOf(window);
  if (_wcsicmp(type.c_str(), L"Edit") == 0 || _wcsnicmp(type.c_str(), L"RichEdit", 8) == 0) {
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length)) {
      std::wstring text(length + 1, L'\0');
      DWORD_PTR copied = 0;
      if (SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                              SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied)) {
        text.resize(copied);
        return text;
      }
    }
  }
  std::wstring text(4096, L'\0');
  text.resize(static_cast<size_t>(InternalGetWindowText(window, text.data(), 4096)));
  return text;
}

bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result))
    return false;
  *answer = static_cast<LRESULT>(result);
  return true;
}

struct Found {
  DWORD pid;
  std::function<bool(HWND)> match;
  HWND window = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<Found*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != found->pid || !IsWindowVisible(window) || !found->match(window)) return TRUE;
  found->window = window;
  return FALSE;
}

HWND TopLevelOf(DWORD pid, const std::function<bool(HWND)>& match) {
  Found found{pid, match};
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&found));
  return found.window;
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

bool IsOrContains(HWND outer, HWND inner) { return inner != nullptr && (inner == outer || IsChild(outer, inner)); }

POINT CentreOf(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// ---------------------------------------------------------------------------
// Real input.

// Moves the pointer there, waits until it is there (the display may take a
// moment to follow), then presses and releases the left button.
bool MoveAndClick(POINT at) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  INPUT move = {};
  move.type = INPUT_MOUSE;
  move.mi.dx = static_cast<LONG>(((at.x - left) * 65535LL + (width - 1) / 2) / (width - 1));
  move.mi.dy = static_cast<LONG>(((at.y - top) * 65535LL + (height - 1) / 2) / (height - 1));
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  SendInput(1, &move, sizeof(INPUT));
  POINT now = {};
  const DWORD start = GetTickCount();
  while (GetCursorPos(&now) && (now.x != at.x || now.y != at.y)) {
    if (GetTickCount() - start > 2000) return false;
    Sleep(5);
  }
  INPUT buttons[2] = {};
  buttons[0].type = buttons[1].type = INPUT_MOUSE;
  buttons[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  buttons[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, buttons, sizeof(INPUT));
  return true;
}

void PressKey(WORD key) {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = key;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = c;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    inputs.push_back(input);
    input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// ---------------------------------------------------------------------------
// Screen capture: the screen's pixels, as the user sees them (stacking and
// all), not what the window would paint on request.

struct Capture {
  int width = 0, height = 0;
  std::vector<BYTE> bgr;  // 24-bit rows, bottom-up, 4-byte aligned
  int stride() const { return (width * 3 + 3) & ~3; }
  COLORREF At(int x, int y) const {  // x, y from the top left
    const BYTE* p = &bgr[static_cast<size_t>(height - 1 - y) * stride() + static_cast<size_t>(x) * 3];
    return RGB(p[2], p[1], p[0]);
  }
};

bool CaptureScreen(const RECT& rect, Capture* capture) {
  capture->width = rect.right - rect.left;
  capture->height = rect.bottom - rect.top;
  if (capture->width <= 0 || capture->height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, capture->width, capture->height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  const BOOL copied = BitBlt(memory, 0, 0, capture->width, capture->height, screen, rect.left, rect.top,
                             SRCCOPY | CAPTUREBLT);
  SelectObject(memory, previous);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = capture->width;
  info.bmiHeader.biHeight = capture->height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  capture->bgr.assign(static_cast<size_t>(capture->stride()) * capture->height, 0);
  const int rows = GetDIBits(memory, bitmap, 0, capture->height, capture->bgr.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return copied && rows == capture->height;
}

bool WriteBmp(const std::wstring& path, const Capture& capture) {
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = capture.width;
  header.biHeight = capture.height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(capture.bgr.size());
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (out == nullptr) return false;
  const bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
                  std::fwrite(capture.bgr.data(), 1, capture.bgr.size(), out) == capture.bgr.size();
  return std::fclose(out) == 0 && ok;
}

// ---------------------------------------------------------------------------
// Registry (HKLM, 32-bit view: where a 32-bit installer and its package live)
// and files.

constexpr REGSAM kView32 = KEY_WOW64_32KEY;

bool ReadRegString(const std::wstring& key, const std::wstring& value, std::wstring* data) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | kView32, &handle) != ERROR_SUCCESS)
    return false;
  DWORD type = 0, size = 0;
  LONG status = RegQueryValueExW(handle, value.c_str(), nullptr, &type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    status = RegQueryValueExW(handle, value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    text.resize(wcsnlen(text.c_str(), size / sizeof(wchar_t)));
    *data = text;
  }
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

bool KeyExists(const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | kView32, &handle) != ERROR_SUCCESS)
    return false;
  RegCloseKey(handle);
  return true;
}

bool WriteRegString(const std::wstring& key, const std::wstring& value, const std::wstring& data,
                    REGSAM view = kView32) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const LONG status = RegSetValueExW(handle, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::set<std::wstring> ListFolder(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0) names.insert(data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

// The temp folder as GetTempPathW would choose it from this environment.
std::wstring TempFolderFor(const std::vector<std::pair<std::wstring, std::wstring>>& overrides) {
  auto lookup = [&](const wchar_t* name) {
    for (const auto& [key, value] : overrides)
      if (_wcsicmp(key.c_str(), name) == 0) return value;
    return Env(name);
  };
  for (const wchar_t* name : {L"TMP", L"TEMP", L"USERPROFILE"}) {
    std::wstring value = lookup(name);
    if (!value.empty()) {
      while (value.size() > 3 && value.back() == L'\\') value.pop_back();
      return value;
    }
  }
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  return windows;
}

// ---------------------------------------------------------------------------
// The robot.

class Robot {
 public:
  explicit Robot(std::wstring scriptName) : m_scriptName(std::move(scriptName)) {}
  ~Robot() {
    if (m_process.hProcess != nullptr) {
      CloseHandle(m_process.hProcess);
      CloseHandle(m_process.hThread);
    }
  }

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

  // Outcome of a command: true goes on; false stops the script (a wait that
  // never came true leaves nothing sensible to do next).
  bool Fail(const std::string& message) {
    std::printf("FAIL line %d: %s: %s\n", m_line, m_commandText.c_str(), message.c_str());
    std::fflush(stdout);
    ++m_failures;
    return true;
  }
  bool Abort(const std::string& message) {
    Fail(message);
    return false;
  }

  bool Running() const {
    return m_process.hProcess != nullptr && WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
  }
  HWND Current() const { return m_windows.empty() ? nullptr : m_windows.back(); }
  bool NeedWindow() {
    if (Current() != nullptr && IsWindow(Current())) return true;
    Abort("no window to act on (wait-window first)");
    return false;
  }
  HWND Control(const std::wstring& idText, std::string* error);
  // The control of the current window that a command names; null, and the
  // script stops, when there is no such window or control.
  HWND ControlArg(const std::wstring& idText);
  // A visible box of the installer's message handler, if one is up.
  HWND InstallerBox() const;

  // Polls until ready() holds or the time is up; fails fast when the
  // installer exits, or (watchBoxes) shows an error box that the script is
  // not waiting for.
  bool Poll(DWORD timeoutMs, const std::function<bool()>& ready, bool watchBoxes = true, DWORD intervalMs = kDefaultInterval);
  // A wait ending in "freeze": poll without pause, then hold the installer.
  bool PollMaybeFreezing(const Words& args, size_t timeoutIndex, const std::function<bool()>& ready);
  bool Settle(const std::function<bool()>& ready) { return Poll(kSettleMs, ready); }
  DWORD TimeoutArg(const Words& args, size_t index, DWORD fallback);

  // Commands.
  bool Launch(const Words& args);
  bool WaitWindow(const Words& args);
  bool WaitGone(const Words& args);
  bool ExpectVisible(const Words& args) {
    return ExpectEach(args, "visible", [](HWND w) { return IsWindowVisible(w) != FALSE; });
  }
  bool ExpectEnabled(const Words& args) {
    return ExpectEach(args, "enabled", [](HWND w) { return IsWindowEnabled(w) != FALSE; });
  }
  bool ExpectDisabled(const Words& args) {
    return ExpectEach(args, "disabled", [](HWND w) { return IsWindowEnabled(w) == FALSE; });
  }
  bool ExpectEach(const Words& ids, const char* what, bool (*holds)(HWND));
  bool WaitDisabled(const Words& args) {
    return WaitFor(args, "disabled", [](HWND w) { return IsWindowEnabled(w) == FALSE; });
  }
  bool WaitFor(const Words& args, const char* what, bool (*holds)(HWND));
  bool ExpectOnlyVisible(const Words& args);
  bool ExpectText(const Words& args);
  bool WaitText(const Words& args);
  bool WaitTextNot(const Words& args);
  bool ExpectTextLength(const Words& args);
  bool RememberTextLength(const Words& args);
  bool ExpectCheck(const Words& args);
  bool ExpectProgress(const Words& args);
  bool ExpectExStyleHas(const Words& args);
  bool ExpectStyleHas(const Words& args);
  bool ExpectFocus(const Words& args);
  bool ExpectFirstLine(const Words& args);
  bool ExpectInFront(const Words& args);
  bool CentreWindow(const Words& args);
  bool Click(const Words& args);
  bool ClickLink(const Words& args);
  bool Type(const Words& args);
  bool Key(const Words& args);
  bool CloseBox(const Words& args);
  bool Thaw(const Words& args);
  bool PollInterval(const Words& args);
  bool Mark(const Words& args);
  bool Report(const Words& args);
  void NoteMark(const std::wstring& name);
  bool ExpectExit(const Words& args);
  bool WaitBox(const Words& args);
  bool ExpectBoxText(const Words& args);
  bool AnswerBox(const Words& args);
  bool WaitFolderBrowser(const Words& args);
  bool Screenshot(const Words& args);
  bool ExpectPixel(const Words& args);
  bool ExpectColourIn(const Words& args);
  bool SetReg(const Words& args);
  bool SetReg64(const Words& args);
  bool ExpectReg(const Words& args);
  bool ExpectNoReg(const Words& args);
  bool ExpectFile(const Words& args);
  bool ExpectNoFile(const Words& args);
  bool ExpectTempUnchanged(const Words& args);
  bool ExpectNoModuleIn(const Words& args);
  bool CopyFileCommand(const Words& args);
  bool RunProgram(const Words& args);
  bool Print(const Words& args);
  bool Trace(const Words& args);
  bool PrintText(const Words& args);
  bool PrintReg(const Words& args);

  bool ClickControl(HWND control, POINT at);
  bool EnsureForeground();

  std::wstring m_scriptName;
  PROCESS_INFORMATION m_process{};
  std::vector<HWND> m_windows;  // the windows waited for; the last is acted on
  // Temp folders (the installer's and the usual one) and what they held
  // before the launch.
  std::vector<std::pair<std::wstring, std::set<std::wstring>>> m_tempBefore;
  std::vector<std::pair<std::wstring, long>> m_remembered;
  std::vector<std::pair<std::wstring, LONGLONG>> m_marks;  // performance-counter ticks
  DWORD m_pollMs = kPollMs;
  bool m_frozen = false;
  HWND m_lastClicked = nullptr;
  POINT m_lastClick = {};
  DWORD m_lastClickTime = 0;
  int m_failures = 0;
  int m_line = 0;
  std::string m_commandText;
};

const Robot::Entry Robot::kCommands[] = {
    {L"launch", &Robot::Launch, 1, "launch <exe> [NAME=value ...]"},
    {L"wait-window", &Robot::WaitWindow, 1, "wait-window <title> [seconds]"},
    {L"wait-gone", &Robot::WaitGone, 0, "wait-gone [seconds]"},
    {L"expect-visible", &Robot::ExpectVisible, 1, "expect-visible <id>..."},
    {L"expect-enabled", &Robot::ExpectEnabled, 1, "expect-enabled <id>..."},
    {L"expect-disabled", &Robot::ExpectDisabled, 1, "expect-disabled <id>..."},
    {L"wait-disabled", &Robot::WaitDisabled, 1, "wait-disabled <id> [seconds] [freeze]"},
    {L"thaw", &Robot::Thaw, 0, "thaw"},
    {L"poll-interval", &Robot::PollInterval, 1, "poll-interval <milliseconds>"},
    {L"mark", &Robot::Mark, 1, "mark <name>"},
    {L"report", &Robot::Report, 2, "report <figure> <mark> (prints: figure <figure> <milliseconds since the mark>)"},
    {L"expect-only-visible", &Robot::ExpectOnlyVisible, 1, "expect-only-visible <id>... (-1: the id-less statics)"},
    {L"expect-text", &Robot::ExpectText, 2, "expect-text <id> <text>"},
    {L"wait-text", &Robot::WaitText, 2, "wait-text <id> <text> [seconds] [freeze]"},
    {L"wait-text-not", &Robot::WaitTextNot, 2, "wait-text-not <id> <text> [seconds] [freeze]"},
    {L"expect-text-length", &Robot::ExpectTextLength, 3, "expect-text-length <id> =|>= <number|name>"},
    {L"remember-text-length", &Robot::RememberTextLength, 2, "remember-text-length <id> <name>"},
    {L"expect-check", &Robot::ExpectCheck, 2, "expect-check <id> 0|1"},
    {L"expect-progress", &Robot::ExpectProgress, 3, "expect-progress <min> <max> <pos>"},
    {L"expect-exstyle-has", &Robot::ExpectExStyleHas, 1, "expect-exstyle-has <hex>"},
    {L"expect-style-has", &Robot::ExpectStyleHas, 2, "expect-style-has <id> <hex>"},
    {L"expect-focus", &Robot::ExpectFocus, 1, "expect-focus <id>"},
    {L"expect-first-line", &Robot::ExpectFirstLine, 2, "expect-first-line <id> <line>"},
    {L"expect-in-front", &Robot::ExpectInFront, 0, "expect-in-front"},
    {L"centre-window", &Robot::CentreWindow, 0, "centre-window"},
    {L"click", &Robot::Click, 1, "click <id>"},
    {L"click-link", &Robot::ClickLink, 1, "click-link <id>"},
    {L"type", &Robot::Type, 2, "type <id> <text>"},
    {L"key", &Robot::Key, 1, "key escape|enter|tab|space"},
    {L"close-box", &Robot::CloseBox, 0, "close-box"},
    {L"expect-process-exit", &Robot::ExpectExit, 0, "expect-process-exit [code|any] [seconds]"},
    {L"wait-box", &Robot::WaitBox, 1, "wait-box <caption> [seconds]"},
    {L"expect-box-text", &Robot::ExpectBoxText, 1, "expect-box-text <text contained>"},
    {L"answer-box", &Robot::AnswerBox, 1, "answer-box <button id>"},
    {L"wait-folder-browser", &Robot::WaitFolderBrowser, 0, "wait-folder-browser [seconds]"},
    {L"screenshot", &Robot::Screenshot, 1, "screenshot <name>"},
    {L"expect-pixel", &Robot::ExpectPixel, 3, "expect-pixel <x> <y> <0x00BBGGRR> (client area; < 0: from the far edge)"},
    {L"expect-colour-in", &Robot::ExpectColourIn, 2, "expect-colour-in <id> <0x00BBGGRR>"},
    {L"set-reg", &Robot::SetReg, 3, "set-reg <HKLM key> <value> <data>"},
    {L"set-reg64", &Robot::SetReg64, 3, "set-reg64 <HKLM key> <value> <data>"},
    {L"expect-reg", &Robot::ExpectReg, 3, "expect-reg <HKLM key> <value> <data>"},
    {L"expect-no-reg", &Robot::ExpectNoReg, 1, "expect-no-reg <HKLM key> [value]"},
    {L"expect-file", &Robot::ExpectFile, 1, "expect-file <path>"},
    {L"expect-no-file", &Robot::ExpectNoFile, 1, "expect-no-file <path>"},
    {L"expect-temp-unchanged", &Robot::ExpectTempUnchanged, 0, "expect-temp-unchanged"},
    {L"expect-no-module-in", &Robot::ExpectNoModuleIn, 1, "expect-no-module-in <folder>"},
    {L"copy", &Robot::CopyFileCommand, 2, "copy <from> <to>"},
    {L"run", &Robot::RunProgram, 2, "run <seconds> <command line>"},
    {L"trace", &Robot::Trace, 2, "trace <milliseconds> <id>... (prints every change; for finding out)"},
    {L"print", &Robot::Print, 0, "print <text>..."},
    {L"print-text", &Robot::PrintText, 2, "print-text <label> <id>"},
    {L"print-reg", &Robot::PrintReg, 2, "print-reg <HKLM key> <value>"},
};

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
    if (entry == nullptr) {
      std::printf("robot: line %d: unknown command %s\n", m_line, Narrow(command.words[0]).c_str());
      return 2;
    }
    const Words args(command.words.begin() + 1, command.words.end());
    if (args.size() < entry->minArgs) {
      std::printf("robot: line %d: usage: %s\n", m_line, entry->usage);
      return 2;
    }
    if (verbose) std::printf("  [%lu] %s\n", GetTickCount() % 1000000, m_commandText.c_str());
    std::fflush(stdout);
    if (!(this->*entry->handler)(args)) {
      going = false;
      break;
    }
  }
  if (m_frozen) {
    ResumeThread(m_process.hThread);
    m_frozen = false;
  }
  if (Running()) {
    // A scenario ends with the installer gone; one that is still up is a
    // failure, and is stopped so that the next scenario starts clean.
    if (going) {
      m_line = commands.empty() ? 0 : commands.back().line;
      m_commandText = "end of script";
      Fail("the installer is still running");
    }
    const std::wstring shot = Env(L"E2E_SCREENS");
    HWND main = m_windows.empty() ? nullptr : m_windows.front();
    RECT rect;
    Capture capture;
    if (!shot.empty() && main != nullptr && GetWindowRect(main, &rect) && CaptureScreen(rect, &capture))
      WriteBmp(shot + L"\\failed-" + m_scriptName + L".bmp", capture);
    TerminateProcess(m_process.hProcess, 1);
    WaitForSingleObject(m_process.hProcess, 5000);
  }
  return m_failures == 0 ? 0 : 1;
}

HWND Robot::Control(const std::wstring& idText, std::string* error) {
  long id = 0;
  if (!ParseInt(idText, &id)) {
    *error = "not a control id: " + Narrow(idText);
    return nullptr;
  }
  HWND control = GetDlgItem(Current(), static_cast<int>(id));
  if (control == nullptr) *error = "no control " + Narrow(idText);
  return control;
}

HWND Robot::ControlArg(const std::wstring& idText) {
  if (!NeedWindow()) return nullptr;
  std::string error;
  HWND control = Control(idText, &error);
  if (control == nullptr) Abort(error);
  return control;
}

HWND Robot::InstallerBox() const {
  return TopLevelOf(m_process.dwProcessId, [this](HWND w) {
    if (ClassOf(w) != L"#32770" || IsOrContains(Current(), w)) return false;
    for (HWND known : m_windows)
      if (known == w) return false;
    const std::wstring title = TextOf(w);
    for (const wchar_t* caption : kInstallerBoxCaptions)
      if (title == caption) return true;
    return false;
  });
}

// The text of a message box: its static that holds text (not its icon).
std::wstring BoxText(HWND box) {
  std::wstring text;
  for (HWND child : ChildrenOf(box)) {
    if (_wcsicmp(ClassOf(child).c_str(), L"Static") != 0) continue;
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
    const std::wstring part = TextOf(child);
    if (!part.empty()) text += (text.empty() ? L"" : L" | ") + part;
  }
  return text;
}

bool Robot::Poll(DWORD timeoutMs, const std::function<bool()>& ready, bool watchBoxes, DWORD intervalMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (ready()) return true;
    if (m_process.hProcess != nullptr && !Running()) {
      DWORD code = 0;
      GetExitCodeProcess(m_process.hProcess, &code);
      Fail("the installer exited (code " + std::to_string(code) + ") while waiting");
      return false;
    }
    if (watchBoxes && m_process.hProcess != nullptr) {
      if (HWND box = InstallerBox()) {
        Fail("unexpected message box \"" + Narrow(TextOf(box)) + "\": " + Shown(BoxText(box)));
        return false;
      }
    }
    if (GetTickCount() - start >= timeoutMs) return ready();
    Sleep(intervalMs == kDefaultInterval ? m_pollMs : intervalMs);
  }
}

bool Robot::PollMaybeFreezing(const Words& args, size_t timeoutIndex, const std::function<bool()>& ready) {
  const bool freeze = !args.empty() && args.back() == L"freeze";
  const DWORD timeout = TimeoutArg(args, timeoutIndex, kDefaultWaitMs);
  if (!freeze) return Poll(timeout, ready);
  if (!Poll(timeout, ready, false, 0)) return false;
  if (SuspendThread(m_process.hThread) == static_cast<DWORD>(-1)) {
    Fail("cannot hold the installer (error " + std::to_string(GetLastError()) + ")");
    return true;
  }
  m_frozen = true;
  return true;
}

bool Robot::Thaw(const Words&) {
  if (!m_frozen) return Abort("the installer is not frozen");
  ResumeThread(m_process.hThread);
  m_frozen = false;
  return true;
}

bool Robot::PollInterval(const Words& args) {
  long ms = 0;
  if (!ParseInt(args[0], &ms) || ms < 1 || ms > 1000) return Abort("poll-interval <1..1000>");
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
  return Abort("no mark " + Narrow(args[1]));
}

DWORD Robot::TimeoutArg(const Words& args, size_t index, DWORD fallback) {
  long seconds = 0;
  if (args.size() > index && ParseInt(args[index], &seconds) && seconds > 0) return static_cast<DWORD>(seconds) * 1000;
  return fallback;
}

bool Robot::Launch(const Words& args) {
  if (Running()) return Abort("the installer is running already");
  if (m_process.hProcess != nullptr) {
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
    m_process = {};
  }
  m_windows.clear();
  std::vector<std::pair<std::wstring, std::wstring>> overrides;
  for (size_t i = 1; i < args.size(); ++i) {
    const size_t eq = args[i].find(L'=');
    if (eq == std::wstring::npos || eq == 0) return Abort("not NAME=value: " + Narrow(args[i]));
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

  std::wstring commandLine = L"\"" + args[0] + L"\"";
  std::wstring folder = args[0].substr(0, args[0].find_last_of(L'\\') + 1);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  NoteMark(L"launch");
  if (!CreateProcessW(args[0].c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                      environment.data(), folder.empty() ? nullptr : folder.c_str(), &startup, &m_process)) {
    m_process = {};
    return Abort("cannot start " + Narrow(args[0]) + " (error " + std::to_string(GetLastError()) + ")");
  }
  return true;
}

bool Robot::WaitWindow(const Words& args) {
  if (m_process.hProcess == nullptr) return Abort("nothing launched");
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
  if (!ready) return Abort("no window titled " + Shown(title));
  m_windows.push_back(found);
  return true;
}

bool Robot::WaitGone(const Words& args) {
  if (!NeedWindow()) return false;
  HWND window = Current();
  if (!Poll(TimeoutArg(args, 0, kDefaultWaitMs), [&] { return !IsWindow(window) || !IsWindowVisible(window); },
            false))
    return Abort("the window " + Shown(TextOf(window)) + " is still there");
  m_windows.pop_back();
  return true;
}

bool Robot::ExpectEach(const Words& ids, const char* what, bool (*holds)(HWND)) {
  if (!NeedWindow()) return false;
  for (const std::wstring& id : ids) {
    std::string error;
    HWND control = Control(id, &error);
    if (control == nullptr) {
      Fail(error);
      continue;
    }
    if (!Settle([&] { return holds(control); })) Fail("control " + Narrow(id) + " is not " + what);
  }
  return true;
}

bool Robot::WaitFor(const Words& args, const char* what, bool (*holds)(HWND)) {
  HWND control = ControlArg(args[0]);
  if (control == nullptr) return false;
  if (!PollMaybeFreezing(args, 1, [&] { return holds(control); }))
    return Abort("control " + Narrow(args[0]) + " did not become " + what);
  return true;
}

bool Robot::ExpectOnlyVisible(const Words& args) {
  if (!NeedWindow()) return false;
  std::set<long> wanted;
  for (const std::wstring& id : args) {
    long value = 0;
    if (!ParseInt(id, &value)) return Abort("not a control id: " + Narrow(id));
    wanted.insert(value == -1 ? kNoId : value);
  }
  std::string problems;
  auto check = [&] {
    problems.clear();
    std::set<long> seen;
    for (HWND child : ChildrenOf(Current())) {
      const long id = GetDlgCtrlID(child) & 0xFFFF;
      if (!IsWindowVisible(child)) continue;
      seen.insert(id);
      if (!wanted.count(id)) problems += " " + std::to_string(id == kNoId ? -1 : id) + " is visible;";
    }
    for (long id : wanted)
      if (!seen.count(id)) problems += " " + std::to_string(id == kNoId ? -1 : id) + " is not visible;";
    return problems.empty();
  };
  if (!Settle(check)) Fail("visible controls differ:" + problems);
  return true;
}

bool Robot::ExpectText(const Words& args) {
  HWND control = ControlArg(args[0]);
  if (control == nullptr) return false;
  std::wstring text;
  if (!Settle([&] { return (text = TextOf(control)) == args[1]; }))
    Fail("text of " + Narrow(args[0]) + " is " + Shown(text) + ", want " + Shown(args[1]));
  return true;
}

bool Robot::WaitText(const Words& args) {
  HWND control = ControlArg(args[0]);
  if (control == nullptr) return false;
  std::wstring text;
  if (!PollMaybeFreezing(args, 2, [&] { return (text = TextOf(control)) == args[1]; }))
    return Abort("text of " + Narrow(args[0]) + " stayed " + Shown(text) + ", want " + Shown(args[1]));
  return true;
}

bool Robot::WaitTextNot(const Words& args) {
  HWND control = ControlArg(args[0]);
  if (control == nullptr) return false;
  if (!PollMaybeFreezing(args, 2, [&] { return TextOf(control) != args[1]; }))
    return Abort("text of " + Narrow(args[0]) + " stayed " + Shown(args[1]));
  return true;
}

bool Robot::RememberTextLength(const Words& args) {
  HWND control = ControlArg(args[0]);
  if (control == nullptr) return false;
  LRESULT length = 0;
  if (!Ask(control, WM_GETTEXTLENGTH, 0, 0, &length)) return Fail("control does not answer");
  m_remembered.emplace_back(args[1], static_cast<long>(length));
  return true;
}

bool Robot::ExpectTextLength(const Words& args) {
  HWND control = ControlArg(args[0]);
  if (control == nullptr) return false;
  long want = -1;
  if (!ParseInt(args[2], &want)) {
    for (const auto& [name, length] : m_remembered)
      if (name == args[2]) want = length;
    if (want < 0) return Abort("nothing remembered as " + Narrow(args[2]));
  }
  const bool atLeast = args[1] == L">=";
  LRESULT length = 0;
  if (!Settle([&] { return Ask(control, WM_GETTEXTLENGTH, 0, 0, &length) && (atLeast ? length >= want : length == want); }))
    Fail("text length of " + Narrow(args[0]) + " is " + std::to_string(length) + ", want " + Narrow(args[1]) + " " +
         std::to_string(want));
  return true;
}

bool Robot::ExpectCheck(const Words& args) {
  HWND control = ControlArg(args[0]);
  if (control == nullptr) return false;
  long want = 0;
  ParseInt(args[1], &want);
  LRESULT state = -1;
  if (!Settle([&] { return Ask(control, BM_GETCHECK, 0, 0, &state) && state == want; }))
    Fail("check state of " + Narrow(args[0]) + " is " + std::to_string(state) + ", want " + Narrow(args[1]));
  return true;
}

bool Robot::ExpectProgress(const Words& args) {
  HWND bar = ControlArg(L"1011");
  if (bar == nullptr) return false;
  long want[3] = {};
  for (int i = 0; i < 3; ++i)
    if (!ParseInt(args[i], &want[i])) return Abort("not a number: " + Narrow(args[i]));
  LRESULT low = -1, high = -1, pos = -1;
  auto read = [&] {
    return Ask(bar, PBM_GETRANGE, TRUE, 0, &low) && Ask(bar, PBM_GETRANGE, FALSE, 0, &high) &&
           Ask(bar, PBM_GETPOS, 0, 0, &pos) && low == want[0] && high == want[1] && pos == want[2];
  };
  if (!Settle(read))
    Fail("progress is " + std::to_string(low) + ".." + std::to_string(high) + " at " + std::to_string(pos));
  return true;
}

bool Robot::ExpectExStyleHas(const Words& args) {
  if (!NeedWindow()) return false;
  long bits = 0;
  if (!ParseInt(args[0], &bits)) return Abort("not a number: " + Narrow(args[0]));
  const LONG style = GetWindowLongW(Current(), GWL_EXSTYLE);
  if ((style & bits) != bits) {
    char text[64];
    std::snprintf(text, sizeof text, "extended style is 0x%08lX", static_cast<unsigned long>(style));
    Fail(text);
  }
  return true;
}

bool Robot::ExpectStyleHas(const Words& args) {
  HWND control = ControlArg(args[0]);
  if (control == nullptr) return false;
  long bits = 0;
  if (!ParseInt(args[1], &bits)) return Abort("not a number: " + Narrow(args[1]));
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  if ((style & bits) != bits) {
    char text[64];
    std::snprintf(text, sizeof text, "style is 0x%08lX", static_cast<unsigned long>(style));
    Fail(text);
  }
  return true;
}

bool Robot::ExpectFocus(const Words& args) {
  HWND control = ControlArg(args[0]);
  if (control == nullptr) return false;
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(Current(), nullptr);
  if (!Settle([&] { return GetGUIThreadInfo(thread, &info) && info.hwndFocus == control; }))
    Fail("focus is on control " + std::to_string(info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0));
  return true;
}

bool Robot::ExpectFirstLine(const Words& args) {
  HWND control = ControlArg(args[0]);
  if (control == nullptr) return false;
  long want = 0;
  ParseInt(args[1], &want);
  LRESULT line = -1;
  if (!Settle([&] { return Ask(control, EM_GETFIRSTVISIBLELINE, 0, 0, &line) && line == want; }))
    Fail("first visible line is " + std::to_string(line));
  return true;
}

// The current window (a box, a dialog) is really in front of the main
// window: above it in the stacking order, and where the two overlap, what is
// on the screen there belongs to it (a box behind the topmost main window
// would be covered there).
bool Robot::ExpectInFront(const Words&) {
  if (!NeedWindow()) return false;
  HWND front = Current(), main = m_windows.front();
  if (front == main) return Abort("nothing in front of the main window to look at");
  auto above = [&] {
    for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
      if (w == front) return true;
      if (w == main) return false;
    }
    return false;
  };
  if (!Settle(above)) Fail("it is behind the main window in the stacking order");
  RECT a, b, overlap;
  GetWindowRect(front, &a);
  GetWindowRect(main, &b);
  if (!IntersectRect(&overlap, &a, &b)) return Fail("it does not overlap the main window (centre-window first)");
  const POINT middle = {(overlap.left + overlap.right) / 2, (overlap.top + overlap.bottom) / 2};
  HWND at = nullptr;
  if (!Settle([&] { return IsOrContains(front, at = WindowFromPoint(middle)); }))
    Fail("where it overlaps the main window, the screen shows " + Shown(TextOf(GetAncestor(at, GA_ROOT))));
  return true;
}

// Moves the window to the middle of the screen, as a user may drag it, so
// that boxes centred on the screen come up over it.
bool Robot::CentreWindow(const Words&) {
  if (!NeedWindow()) return false;
  RECT rect;
  GetWindowRect(Current(), &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(Current(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT now;
  if (!Settle([&] { return GetWindowRect(Current(), &now) && now.left == x && now.top == y; }))
    Fail("the window stays at " + std::to_string(now.left) + ", " + std::to_string(now.top));
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

bool Robot::ClickControl(HWND control, POINT at) {
  if (!IsWindowVisible(control)) return Abort("control is not visible");
  // Two clicks meant as two must not make a double click (a picture button
  // reports that as something else): the second goes a little aside.
  const int apart = GetSystemMetrics(SM_CXDOUBLECLK) + 2;
  if (control == m_lastClicked && GetTickCount() - m_lastClickTime <= GetDoubleClickTime() &&
      std::abs(at.x - m_lastClick.x) < apart) {
    RECT rect;
    GetWindowRect(control, &rect);
    at.x += at.x + apart < rect.right ? apart : -apart;
  }
  if (!MoveAndClick(at)) return Abort("the pointer does not get there");
  m_lastClicked = control;
  m_lastClick = at;
  m_lastClickTime = GetTickCount();
  return true;
}

bool Robot::Click(const Words& args) {
  HWND control = ControlArg(args[0]);
  if (control == nullptr) return false;
  return ClickControl(control, CentreOf(control));
}

// A link reacts only on its text, which starts at the control's left edge.
bool Robot::ClickLink(const Words& args) {
  HWND control = ControlArg(args[0]);
  if (control == nullptr) return false;
  RECT rect;
  GetWindowRect(control, &rect);
  return ClickControl(control, {rect.left + 8, (rect.top + rect.bottom) / 2});
}

// Replaces the text of an edit box by typing, as a user would after
// selecting all of it; returns when the box shows the typed text.
bool Robot::Type(const Words& args) {
  HWND control = ControlArg(args[0]);
  if (control == nullptr) return false;
  if (!ClickControl(control, CentreOf(control))) return false;
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(control, nullptr);
  if (!Settle([&] { return GetGUIThreadInfo(thread, &info) && info.hwndFocus == control; }))
    return Abort("control " + Narrow(args[0]) + " did not take the focus");
  LRESULT ignored;
  Ask(control, EM_SETSEL, 0, -1, &ignored);
  TypeText(args[1]);
  std::wstring text;
  if (!Settle([&] { return (text = TextOf(control)) == args[1]; }))
    return Abort("after typing, the box shows " + Shown(text));
  return true;
}

bool Robot::Key(const Words& args) {
  if (!NeedWindow()) return false;
  struct Named {
    const wchar_t* name;
    WORD key;
  };
  static const Named keys[] = {{L"escape", VK_ESCAPE}, {L"enter", VK_RETURN}, {L"tab", VK_TAB}, {L"space", VK_SPACE}};
  for (const Named& named : keys) {
    if (args[0] != named.name) continue;
    if (!EnsureForeground()) return Abort("the window does not come to the foreground");
    PressKey(named.key);
    return true;
  }
  return Abort("unknown key " + Narrow(args[0]));
}

bool Robot::CloseBox(const Words&) {
  if (!NeedWindow()) return false;
  PostMessageW(Current(), WM_SYSCOMMAND, SC_CLOSE, 0);
  return true;
}

bool Robot::ExpectExit(const Words& args) {
  if (m_process.hProcess == nullptr) return Abort("nothing launched");
  if (WaitForSingleObject(m_process.hProcess, TimeoutArg(args, 1, kDefaultWaitMs)) != WAIT_OBJECT_0)
    return Abort("the installer did not exit");
  m_windows.clear();
  DWORD code = 0;
  GetExitCodeProcess(m_process.hProcess, &code);
  long want = 0;
  if (!args.empty() && args[0] != L"any" && ParseInt(args[0], &want) && code != static_cast<DWORD>(want))
    Fail("exit code " + std::to_string(code) + ", want " + Narrow(args[0]));
  return true;
}

bool Robot::WaitBox(const Words& args) {
  if (m_process.hProcess == nullptr) return Abort("nothing launched");
  HWND box = nullptr;
  const bool ready = Poll(
      TimeoutArg(args, 1, kDefaultWaitMs),
      [&] {
        box = TopLevelOf(m_process.dwProcessId,
                         [&](HWND w) { return ClassOf(w) == L"#32770" && TextOf(w) == args[0]; });
        return box != nullptr;
      },
      false);
  if (!ready) return Abort("no message box " + Shown(args[0]));
  m_windows.push_back(box);
  return true;
}

bool Robot::ExpectBoxText(const Words& args) {
  if (!NeedWindow()) return false;
  std::wstring text;
  if (!Settle([&] { return (text = BoxText(Current())).find(args[0]) != std::wstring::npos; }))
    Fail("box says " + Shown(text));
  return true;
}

bool Robot::AnswerBox(const Words& args) {
  HWND button = ControlArg(args[0]);
  if (button == nullptr) return false;
  HWND box = Current();
  if (!ClickControl(button, CentreOf(button))) return false;
  if (!Poll(kDefaultWaitMs, [&] { return !IsWindow(box) || !IsWindowVisible(box); }, false))
    return Abort("the box is still there after the answer");
  m_windows.pop_back();
  return true;
}

// The platform's folder browser: a dialog of the installer whose text
// includes the title that the installer gives it.
bool Robot::WaitFolderBrowser(const Words& args) {
  if (m_process.hProcess == nullptr) return Abort("nothing launched");
  HWND browser = nullptr;
  const bool ready = Poll(TimeoutArg(args, 0, kDefaultWaitMs), [&] {
    browser = TopLevelOf(m_process.dwProcessId, [&](HWND w) {
      if (ClassOf(w) != L"#32770" || (!m_windows.empty() && w == m_windows.front())) return false;
      if (TextOf(w) == L"Choose a folder") return true;
      for (HWND child : ChildrenOf(w))
        if (TextOf(child) == L"Choose a folder") return true;
      return false;
    });
    return browser != nullptr;
  });
  if (!ready) return Abort("no folder browser");
  m_windows.push_back(browser);
  return true;
}

bool Robot::Screenshot(const Words& args) {
  if (!NeedWindow()) return false;
  const std::wstring folder = Env(L"E2E_SCREENS");
  if (folder.empty()) return true;  // screenshots only where asked for
  CreateDirectoryW(folder.c_str(), nullptr);
  // The main window with the dialogs and boxes in front of it, so that the
  // picture shows what is on top.
  RECT rect = {};
  for (HWND window : m_windows) {
    RECT part;
    if (IsWindow(window) && IsWindowVisible(window) && GetWindowRect(window, &part)) UnionRect(&rect, &rect, &part);
  }
  Capture capture;
  if (!CaptureScreen(rect, &capture)) return Fail("cannot capture the screen");
  // The runner tells the runs in other prefixes apart by a suffix.
  if (!WriteBmp(folder + L"\\" + args[0] + Env(L"E2E_SHOT_SUFFIX") + L".bmp", capture))
    return Fail("cannot write the screenshot");
  return true;
}

bool Robot::ExpectPixel(const Words& args) {
  if (!NeedWindow()) return false;
  long x = 0, y = 0, colour = 0;
  if (!ParseInt(args[0], &x) || !ParseInt(args[1], &y) || !ParseInt(args[2], &colour))
    return Abort("expect-pixel <x> <y> <colour>");
  // Negative coordinates count from the right or bottom edge.
  RECT client;
  GetClientRect(Current(), &client);
  if (x < 0) x += client.right;
  if (y < 0) y += client.bottom;
  POINT at = {x, y};
  ClientToScreen(Current(), &at);
  Capture capture;
  const auto want = static_cast<COLORREF>(colour);
  COLORREF got = CLR_INVALID;
  if (!Settle([&] {
        got = CaptureScreen({at.x, at.y, at.x + 1, at.y + 1}, &capture) ? capture.At(0, 0) : CLR_INVALID;
        return got == want;
      })) {
    char text[96];
    std::snprintf(text, sizeof text, "pixel (%ld, %ld) is 0x%08lX", x, y, static_cast<unsigned long>(got));
    Fail(text);
  }
  return true;
}

// Some pixel of the control has the colour: text drawn in it (antialiased
// edges aside, the strokes are the text colour itself).
bool Robot::ExpectColourIn(const Words& args) {
  HWND control = ControlArg(args[0]);
  if (control == nullptr) return false;
  long colour = 0;
  if (!ParseInt(args[1], &colour)) return Abort("not a colour: " + Narrow(args[1]));
  const auto want = static_cast<COLORREF>(colour);
  RECT rect;
  GetWindowRect(control, &rect);
  Capture capture;
  auto found = [&] {
    if (!CaptureScreen(rect, &capture)) return false;
    for (int y = 0; y < capture.height; ++y)
      for (int x = 0; x < capture.width; ++x)
        if (capture.At(x, y) == want) return true;
    return false;
  };
  if (!Settle(found)) Fail("no pixel of control " + Narrow(args[0]) + " has that colour");
  return true;
}

bool Robot::SetReg(const Words& args) {
  if (!WriteRegString(args[0], args[1], args[2])) return Abort("cannot write the value");
  return true;
}

// The 64-bit view, which a 32-bit installer must not read on 64-bit Windows.
bool Robot::SetReg64(const Words& args) {
  if (!WriteRegString(args[0], args[1], args[2], KEY_WOW64_64KEY)) return Abort("cannot write the value");
  return true;
}

bool Robot::ExpectReg(const Words& args) {
  std::wstring data;
  if (!ReadRegString(args[0], args[1], &data)) return Fail("no value " + Narrow(args[1]));
  if (data != args[2]) Fail("value is " + Shown(data) + ", want " + Shown(args[2]));
  return true;
}

bool Robot::ExpectNoReg(const Words& args) {
  std::wstring data;
  if (args.size() < 2 ? KeyExists(args[0]) : ReadRegString(args[0], args[1], &data))
    Fail(args.size() < 2 ? "the key exists" : "the value exists: " + Shown(data));
  return true;
}

bool Robot::ExpectFile(const Words& args) {
  if (!FileExists(args[0])) Fail("no such file");
  return true;
}

bool Robot::ExpectNoFile(const Words& args) {
  if (FileExists(args[0])) Fail("the file exists");
  return true;
}

bool Robot::ExpectTempUnchanged(const Words&) {
  if (m_process.hProcess == nullptr) return Abort("nothing launched");
  for (const auto& [folder, before] : m_tempBefore) {
    std::string added;
    for (const std::wstring& name : ListFolder(folder))
      if (!before.count(name)) added += " " + Narrow(name);
    if (!added.empty()) Fail("left in " + Narrow(folder) + ":" + added);
  }
  return true;
}

// No library of the running installer comes from the folder (its own
// executable aside). Wine may map its built-in library for a planted one and
// still name it by the planted file's path, so this sees a lookup that the
// marker file of the planted DLL would miss.
bool Robot::ExpectNoModuleIn(const Words& args) {
  if (!Running()) return Abort("the installer is not running");
  HMODULE modules[512];
  DWORD bytes = 0;
  if (!K32EnumProcessModules(m_process.hProcess, modules, sizeof modules, &bytes))
    return Fail("cannot list the installer's modules (error " + std::to_string(GetLastError()) + ")");
  std::wstring folder = args[0];
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  for (DWORD i = 1; i < bytes / sizeof(HMODULE); ++i) {  // the first is the executable
    wchar_t path[MAX_PATH] = L"";
    K32GetModuleFileNameExW(m_process.hProcess, modules[i], path, MAX_PATH);
    if (_wcsnicmp(path, folder.c_str(), folder.size()) == 0) Fail("loaded from there: " + Narrow(path));
  }
  return true;
}

bool Robot::CopyFileCommand(const Words& args) {
  if (!CopyFileW(args[0].c_str(), args[1].c_str(), FALSE))
    return Abort("cannot copy (error " + std::to_string(GetLastError()) + ")");
  return true;
}

// Runs a helper program (msiexec to set the machine up) and wants exit 0.
bool Robot::RunProgram(const Words& args) {
  long seconds = 0;
  if (!ParseInt(args[0], &seconds) || seconds <= 0) return Abort("run <seconds> <command line>");
  std::wstring commandLine;
  for (size_t i = 1; i < args.size(); ++i) {
    if (!commandLine.empty()) commandLine += L' ';
    commandLine += args[i].find(L' ') != std::wstring::npos ? L"\"" + args[i] + L"\"" : args[i];
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return Abort("cannot start it (error " + std::to_string(GetLastError()) + ")");
  const DWORD waited = WaitForSingleObject(process.hProcess, static_cast<DWORD>(seconds) * 1000);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  if (waited != WAIT_OBJECT_0) return Abort("timed out");
  if (code != 0) return Abort("exit code " + std::to_string(code));
  return true;
}

bool Robot::Print(const Words& args) {
  std::string line;
  for (const std::wstring& word : args) line += (line.empty() ? "" : " ") + Narrow(word);
  std::printf("%s\n", line.c_str());
  return true;
}

// Prints each change of the controls' visibility, enabled state and text,
// as fast as it can look, for a while or until the installer ends.
bool Robot::Trace(const Words& args) {
  if (!NeedWindow()) return false;
  long ms = 0;
  if (!ParseInt(args[0], &ms)) return Abort("trace <milliseconds> <id>...");
  std::vector<std::pair<HWND, std::string>> controls;
  for (size_t i = 1; i < args.size(); ++i) {
    std::string error;
    HWND control = Control(args[i], &error);
    if (control == nullptr) return Abort(error);
    controls.emplace_back(control, "");
  }
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < static_cast<DWORD>(ms) && Running()) {
    for (auto& [control, last] : controls) {
      const std::string now = std::string(IsWindowVisible(control) ? "visible" : "hidden") +
                              (IsWindowEnabled(control) ? " enabled " : " disabled ") + Shown(TextOf(control));
      if (now == last) continue;
      last = now;
      std::printf("  %5lu ms  %d: %s\n", GetTickCount() - start, GetDlgCtrlID(control), now.c_str());
    }
    Sleep(0);
  }
  std::fflush(stdout);
  return true;
}

bool Robot::PrintText(const Words& args) {
  HWND control = ControlArg(args[1]);
  if (control == nullptr) return false;
  std::printf("%-22s %s\n", (Narrow(args[0]) + ":").c_str(), Shown(TextOf(control)).c_str());
  return true;
}

bool Robot::PrintReg(const Words& args) {
  std::wstring data;
  const bool found = ReadRegString(args[0], args[1], &data);
  std::printf("    %s = %s\n", Narrow(args[1]).c_str(), found ? Shown(data).c_str() : "(not set)");
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::printf("usage: robot <script>\n");
    return 2;
  }
  std::vector<Command> commands;
  if (!ReadScript(argv[1], &commands)) return 2;
  std::wstring name = argv[1];
  name = name.substr(name.find_last_of(L"\\/") + 1);
  name = name.substr(0, name.find(L'.'));
  Robot robot(name);
  return robot.Run(commands);
}
