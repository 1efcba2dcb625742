// Where controls are, at the screen's dpi, and what screen readers call them.
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "control_names.h"
#include "probes.h"
#include "robot.h"

namespace e2e {

namespace {

// The screen's dpi; the robot is dpi-aware, so this is the real one.
int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// A length given at 96 dpi, at the screen's dpi.
long Scaled(long length) { return MulDiv(length, ScreenDpi(), 96); }

// Fonts come in whole pixels, and their line height grows a little less than
// the dpi (13, 19 and 25 pixels at 96, 144 and 192 dpi, on Windows as under
// Wine): a layout is within 3 pixels at 96 dpi, and within 3 pixels and 4 %
// of the length at other dpis. A picture is drawn to its scale: 1 pixel.
bool Near(long actual, long expected, bool picture) {
  long slack = picture ? 1 : 3;
  if (!picture && ScreenDpi() != 96) slack += std::labs(expected) / 25;
  return std::labs(actual - expected) <= slack;
}

std::string Describe(long x, long y, long width, long height) {
  return std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(width) + "x" + std::to_string(height);
}

}  // namespace

bool Robot::ExpectClientSize(const Words& args) {
  if (!RequireWindow()) return false;
  long width = 0, height = 0;
  if (!ParseInt(args[0], &width) || !ParseInt(args[1], &height))
    return StopWithScriptError("expect-client-size <width> <height>");
  RECT client = {};
  GetClientRect(Current(), &client);
  if (!Near(client.right, Scaled(width), false) || !Near(client.bottom, Scaled(height), false)) {
    return FailAndGoOn("client area is " + std::to_string(client.right) + "x" + std::to_string(client.bottom) +
                       ", not about " + std::to_string(Scaled(width)) + "x" + std::to_string(Scaled(height)) +
                       " at " + std::to_string(ScreenDpi()) + " dpi");
  }
  return true;
}

bool Robot::ExpectRect(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  long want[4] = {};
  for (int i = 0; i < 4; ++i) {
    if (i + 1 >= static_cast<int>(args.size()) || !ParseInt(args[i + 1], &want[i]))
      return StopWithScriptError("expect-rect <control> <x> <y> <width> <height>");
    want[i] = Scaled(want[i]);
  }
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, Current(), reinterpret_cast<POINT*>(&rect), 2);
  const long have[4] = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
  const bool picture = args.size() > 5 && args[5] == L"picture";
  for (int i = 0; i < 4; ++i) {
    if (!Near(have[i], want[i], picture && i >= 2)) {
      return FailAndGoOn("control " + Narrow(args[0]) + " is at " + Describe(have[0], have[1], have[2], have[3]) +
                         ", not about " + Describe(want[0], want[1], want[2], want[3]) + " at " +
                         std::to_string(ScreenDpi()) + " dpi");
    }
  }
  return true;
}

bool Robot::ExpectAbove(const Words& args) {
  HWND upper = RequireControl(args[0]);
  HWND lower = upper != nullptr ? RequireControl(args[1]) : nullptr;
  if (lower == nullptr) return false;
  RECT top = {}, bottom = {};
  GetWindowRect(upper, &top);
  GetWindowRect(lower, &bottom);
  if (std::labs(top.bottom - bottom.top) > 1) {
    return FailAndGoOn("control " + Narrow(args[0]) + " ends at " + std::to_string(top.bottom) + ", control " +
                       Narrow(args[1]) + " starts at " + std::to_string(bottom.top));
  }
  return true;
}

bool Robot::ExpectAccessibleName(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr || !RequireNotFrozen()) return false;
  // What a screen reader asks: the control's accessible object, and its name.
  IAccessible* object = nullptr;
  const HRESULT found = AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&object));
  if (FAILED(found)) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(found));
    return FailAndGoOn("control " + Narrow(args[0]) + " has no accessible object (" + code + ")");
  }
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  const HRESULT asked = object->get_accName(self, &name);
  const std::wstring have = SUCCEEDED(asked) && name != nullptr ? std::wstring(name, SysStringLen(name)) : L"";
  SysFreeString(name);
  object->Release();
  if (have != args[1]) return FailAndGoOn("accessible name is \"" + Narrow(have) + "\"");
  return true;
}

// The control's text fits its client area, wrapped as a static wraps it, in
// the dialog's font as the dialog manager makes it from the template (face
// and points), at the screen's dpi: a word that wraps out of a one-line
// label's height, or one wider than the label, fails.
bool Robot::ExpectTextFits(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  long points = 0;
  if (!ParseInt(args[2], &points)) return StopWithScriptError("expect-text-fits <control> <face> <points>");
  const std::wstring text = TextOf(control);
  RECT client = {};
  GetClientRect(control, &client);
  HFONT font = CreateFontW(-MulDiv(points, ScreenDpi(), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_DONTCARE, args[1].c_str());
  HDC dc = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, font);
  RECT need = {0, 0, client.right, 0};
  DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  if (need.right > client.right || need.bottom > client.bottom)
    return FailAndGoOn("\"" + Narrow(text) + "\" needs " + std::to_string(need.right) + "x" +
                       std::to_string(need.bottom) + " pixels; " + Narrow(args[0]) + " has " +
                       std::to_string(client.right) + "x" + std::to_string(client.bottom) + " at " +
                       std::to_string(ScreenDpi()) + " dpi");
  return true;
}

}  // namespace e2e
