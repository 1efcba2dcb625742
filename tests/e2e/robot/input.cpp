#include "input.h"

#include <vector>

namespace e2e {

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

}  // namespace e2e
