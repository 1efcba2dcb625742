// Real input, as a user gives it: SendInput at a place on the screen, so a
// disabled or covered control ignores a click as it would for a user.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Moves the pointer there, waits until it is there, then clicks the left
// button; false when the pointer does not get there.
bool MoveAndClick(POINT at);
void PressKey(WORD key);
// Types the text as Unicode keystrokes into whatever has the focus.
void TypeText(const std::wstring& text);

}  // namespace e2e
