#include "probes.h"

#include "control_names.h"
#include "text.h"

namespace e2e {

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

// The text of a window of another process. Most windows keep their text in
// the window itself, so it is read without a message: that also works while
// the installer's thread is busy in a long installer call. Edit controls
// keep their own text and are asked, with a timeout.
TextReader::TextReader(HWND window) : m_window(window) {
  const std::wstring type = ClassOf(window);
  m_asked = _wcsicmp(type.c_str(), L"Edit") == 0 || _wcsnicmp(type.c_str(), L"RichEdit", 8) == 0;
}

std::wstring TextReader::operator()() const {
  HWND window = m_window;
  if (m_asked) {
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

std::wstring TextOf(HWND window) { return TextReader(window)(); }

bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result))
    return false;
  *answer = static_cast<LRESULT>(result);
  return true;
}

namespace {

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

}  // namespace

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

std::string Describe(HWND window) {
  if (window == nullptr) return "nothing";
  if (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) return "control " + ControlName(GetDlgCtrlID(window) & 0xFFFF);
  return "window " + Narrow(ClassOf(window)) + " " + Shown(TextOf(window));
}

GUITHREADINFO ThreadInfo(DWORD thread) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(thread, &info)) {
    info = {};
    info.cbSize = sizeof info;
  }
  return info;
}

bool MarkForPaint(HWND window) {
  RECT client;
  if (!IsWindowVisible(window) || !GetClientRect(window, &client) || client.right < 4 || client.bottom < 4)
    return false;
  const POINT corners[] = {{client.right - 2, 1}, {1, 1}, {1, client.bottom - 2}, {client.right - 2, client.bottom - 2}};
  POINT at = corners[0];
  for (POINT corner : corners) {
    if (ChildWindowFromPointEx(window, corner, CWP_ALL) == window) {
      at = corner;
      break;
    }
  }
  // No erasing: the window paints the point over as it already is.
  const RECT mark = {at.x, at.y, at.x + 1, at.y + 1};
  return InvalidateRect(window, &mark, FALSE) != FALSE;
}

bool Painted(HWND window) { return GetUpdateRect(window, nullptr, FALSE) == FALSE; }

}  // namespace e2e
