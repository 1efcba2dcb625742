// Commands on the screen's pixels: screenshots, and colours where the user
// sees them.
#include <cstdio>

#include "capture.h"
#include "probes.h"
#include "robot.h"

namespace e2e {

bool Robot::Screenshot(const Words& args) {
  if (!RequireWindow()) return false;
  const std::wstring folder = Env(L"E2E_SCREENS");
  if (folder.empty()) return true;  // screenshots only where asked for
  CreateDirectoryW(folder.c_str(), nullptr);
  // A window just opened may not have painted yet, nor its controls, each of
  // which paints on its own.
  if (!m_frozen) {
    HWND window = Current();
    MarkForPaint(window);
    auto painted = [&] {
      if (!Painted(window)) return false;
      for (HWND child : ChildrenOf(window))
        if (IsWindowVisible(child) && !Painted(child)) return false;
      return true;
    };
    if (!Poll(kSettleMs, painted, false)) return FailAndGoOn("the window does not finish painting");
  }
  // The main window with the dialogs and boxes in front of it, so that the
  // picture shows what is on top.
  RECT rect = {};
  for (HWND window : m_windows) {
    RECT part;
    if (IsWindow(window) && IsWindowVisible(window) && GetWindowRect(window, &part)) UnionRect(&rect, &rect, &part);
  }
  Capture capture;
  if (!CaptureScreen(rect, &capture)) return FailAndGoOn("cannot capture the screen");
  // The runner tells the runs in other prefixes apart by a suffix.
  if (!WriteBmp(folder + L"\\" + args[0] + Env(L"E2E_SHOT_SUFFIX") + L".bmp", capture))
    return FailAndGoOn("cannot write the screenshot");
  return true;
}

bool Robot::ExpectPixel(const Words& args) {
  if (!RequireWindow()) return false;
  long x = 0, y = 0, colour = 0;
  if (!ParseInt(args[0], &x) || !ParseInt(args[1], &y) || !ParseInt(args[2], &colour))
    return StopWithScriptError("expect-pixel <x> <y> <colour>");
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
    FailAndGoOn(text);
  }
  return true;
}

// Some pixel of the control has the colour: text drawn in it (antialiased
// edges aside, the strokes are the text colour itself).
bool Robot::ExpectColourIn(const Words& args) {
  HWND control = RequireControl(args[0]);
  if (control == nullptr) return false;
  long colour = 0;
  if (!ParseInt(args[1], &colour)) return StopWithScriptError("not a colour: " + Narrow(args[1]));
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
  if (!Settle(found)) FailAndGoOn("no pixel of control " + Narrow(args[0]) + " has that colour");
  return true;
}

void Robot::ScreenshotOfFailure() {
  const std::wstring folder = Env(L"E2E_SCREENS");
  HWND main = m_windows.empty() ? nullptr : m_windows.front();
  RECT rect;
  Capture capture;
  if (!folder.empty() && main != nullptr && GetWindowRect(main, &rect) && CaptureScreen(rect, &capture))
    WriteBmp(folder + L"\\failed-" + m_scriptName + L".bmp", capture);
}

}  // namespace e2e
