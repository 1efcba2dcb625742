// Looking at the windows of another process: their class, text, children,
// place, and questions asked with a time limit.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

constexpr UINT kMessageTimeoutMs = 2000;  // a busy installer thread must not hang the robot

std::wstring ClassOf(HWND window);
// The window's text; most windows are read without a message, so that it
// also works while the installer's thread is busy (see probes.cpp).
std::wstring TextOf(HWND window);
// TextOf for one window read again and again: its class is read once, as a
// wait that looks every millisecond or two should ask little of the system
// it times.
class TextReader {
 public:
  explicit TextReader(HWND window);
  std::wstring operator()() const;

 private:
  HWND m_window;
  bool m_asked;  // an edit control: its text is asked for by message
};
// Sends a message with a time limit; false when the window does not answer.
bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer);
// The first visible top-level window of the process that match accepts.
HWND TopLevelOf(DWORD pid, const std::function<bool(HWND)>& match);
std::vector<HWND> ChildrenOf(HWND parent);
bool IsOrContains(HWND outer, HWND inner);
POINT CentreOf(HWND window);
// The text of a message box: its statics that hold text (not its icon),
// joined by " | ".
std::wstring BoxText(HWND box);
// What a window is, for messages: a control's name, else its class and text.
std::string Describe(HWND window);
// Focus, capture and active window of a thread (all empty when it has none).
GUITHREADINFO ThreadInfo(DWORD thread);

// Whether the thread behind a window has taken the input sent to it, asked
// without a message: a thread retrieves its messages sent first, then
// posted, then input, and paints only when none of these is left. So once a
// point marked for repainting after the input was queued has been painted,
// that input has been handled and the thread is back in a message loop. A
// handler that repaints at once (UpdateWindow) would paint the mark early;
// the installer's do not. (A sent message, WM_NULL, is answered before
// queued input and proves nothing about it.)
// Marks a point of the window's client area that no child covers, so that
// the mark costs the window nothing visible; false when it is not shown.
bool MarkForPaint(HWND window);
// True once the window has nothing left to paint.
bool Painted(HWND window);

}  // namespace e2e
