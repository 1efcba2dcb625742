// Real input, as a user gives it: SendInput at a place on the screen, so a
// disabled or covered control ignores a click as it would for a user.
// These only send; the robot waits for the installer to take the input
// (see Robot::WaitTaken).
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Moves the pointer there and waits until it is there; false when it does
// not get there.
bool MoveTo(POINT at);
// The left button, pressed or released there. Each event carries the place,
// so a late move of the pointer cannot send it elsewhere.
// These and the keys return once the system's state of the button or key
// shows the input: the system sets it as it puts the input into the
// queue of the window's thread (at once under Wine; on Windows the raw input
// thread does it a moment after SendInput). False when it never does.
bool PressButton(POINT at);
bool ReleaseButton(POINT at);
bool KeyDown(WORD key);
bool KeyUp(WORD key);
// Types the text as Unicode keystrokes into whatever has the focus.
void TypeText(const std::wstring& text);

}  // namespace e2e
