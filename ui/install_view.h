// A dialog's side of an install: the session's progress on the dialog's
// bar (IDC_PROGRESS), the service's action in its action text
// (IDC_ACTION_TEXT), and the service's questions in boxes the dialog owns
// (an unowned box opens behind a topmost installer window while the
// install waits for it). The calls may come from the service's threads.
#pragma once

#include <windows.h>

#include "installer/install_observer.h"

class InstallView : public InstallObserver {
 public:
  // The dialog shown from now on (null: none yet).
  void ShowIn(HWND dialog) { m_dialog = dialog; }

  void ProgressRange(std::int32_t total) override;
  void ProgressPosition(std::int32_t position) override;
  void ProgressStep(std::int32_t step) override;
  void StepProgress() override;
  void Marquee(bool on) override;
  void ActionText(const char16_t* text) override;
  // An error beeps first, as a box of its icon does.
  int Ask(const ServiceQuestion& question) override;

 protected:
  // The question's box, captioned and owned by the dialog: the button pressed.
  virtual int ShowBox(const ServiceQuestion& question, const wchar_t* caption);

  HWND m_dialog = nullptr;
};
