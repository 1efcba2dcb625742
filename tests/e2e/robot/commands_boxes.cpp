// Commands on the boxes that come up over the main window: the message
// boxes of the installer's message handler, and the folder browser.
#include "probes.h"
#include "robot.h"

namespace e2e {

namespace {

// Captions of the boxes that the installer's message handler shows.
const wchar_t* const kInstallerBoxCaptions[] = {L"FatalError", L"Error", L"Warning"};

}  // namespace

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

bool Robot::WaitBox(const Words& args) {
  if (!RequireLaunched()) return false;
  HWND box = nullptr;
  const bool ready = Poll(
      TimeoutArg(args, 1, kDefaultWaitMs),
      [&] {
        box = TopLevelOf(m_process.dwProcessId,
                         [&](HWND w) { return ClassOf(w) == L"#32770" && TextOf(w) == args[0]; });
        return box != nullptr;
      },
      false);
  if (!ready) return FailAndStop("no message box " + Shown(args[0]));
  m_windows.push_back(box);
  return true;
}

bool Robot::ExpectBoxText(const Words& args) {
  if (!RequireWindow()) return false;
  std::wstring text;
  if (!Settle([&] { return (text = BoxText(Current())).find(args[0]) != std::wstring::npos; }))
    FailAndGoOn("box says " + Shown(text));
  return true;
}

bool Robot::AnswerBox(const Words& args) {
  HWND button = RequireControl(args[0]);
  if (button == nullptr) return false;
  HWND box = Current();
  // The window manager may still place a new box after the press: the
  // release then lands beside the button and the click is lost. A box that
  // moved under the click is answered again, where it is now.
  for (int attempt = 1;; ++attempt) {
    if (attempt > 1 && (!IsWindow(box) || !IsWindowVisible(box))) break;
    POINT aimed{};
    if (!ClickControl(button, true, [&] { return aimed = CentreOf(button); })) return false;
    bool moved = false;
    const bool gone = Poll(
        kDefaultWaitMs,
        [&] {
          if (!IsWindow(box) || !IsWindowVisible(box)) return true;
          RECT now{};
          moved = GetWindowRect(button, &now) && !PtInRect(&now, aimed);
          return moved;
        },
        false);
    if (gone && !moved) break;
    if (!gone || attempt == 3) return FailAndStop("the box is still there after the answer");
  }
  m_windows.pop_back();
  return true;
}

// The platform's folder browser: a dialog of the installer whose text
// includes the title that the installer gives it.
bool Robot::WaitFolderBrowser(const Words& args) {
  if (!RequireLaunched()) return false;
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
  if (!ready) return FailAndStop("no folder browser");
  m_windows.push_back(browser);
  return true;
}

}  // namespace e2e
