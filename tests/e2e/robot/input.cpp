#include "input.h"

#include <vector>

namespace e2e {

namespace {

// A mouse event at a place of the virtual screen, in SendInput's absolute
// units.
INPUT MouseAt(POINT at, DWORD flags) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>(((at.x - left) * 65535LL + (width - 1) / 2) / (width - 1));
  input.mi.dy = static_cast<LONG>(((at.y - top) * 65535LL + (height - 1) / 2) / (height - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | flags;
  return input;
}

// How long the system may take to reflect an input: a bound for a failure,
// not a pause. Under qemu on a loaded machine, 2 s was seen to fall short.
constexpr DWORD kInputBoundMs = 15000;

bool Send(INPUT input, int key, bool down) {
  SendInput(1, &input, sizeof(INPUT));
  const DWORD start = GetTickCount();
  while (((GetAsyncKeyState(key) & 0x8000) != 0) != down) {
    if (GetTickCount() - start > kInputBoundMs) return false;
    Sleep(1);
  }
  return true;
}

bool Key(WORD key, bool down) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  return Send(input, key, down);
}

}  // namespace

// The display may take a moment to follow the pointer.
bool MoveTo(POINT at) {
  INPUT move = MouseAt(at, 0);
  SendInput(1, &move, sizeof(INPUT));
  POINT now = {};
  const DWORD start = GetTickCount();
  while (GetCursorPos(&now) && (now.x != at.x || now.y != at.y)) {
    if (GetTickCount() - start > kInputBoundMs) return false;
    Sleep(5);
  }
  return true;
}

bool PressButton(POINT at) { return Send(MouseAt(at, MOUSEEVENTF_LEFTDOWN), VK_LBUTTON, true); }

bool ReleaseButton(POINT at) { return Send(MouseAt(at, MOUSEEVENTF_LEFTUP), VK_LBUTTON, false); }

bool KeyDown(WORD key) { return Key(key, true); }

bool KeyUp(WORD key) { return Key(key, false); }

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
