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

}  // namespace e2e
