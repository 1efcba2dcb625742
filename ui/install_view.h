// A dialog's side of an install: the session's progress on the dialog's
// bar (IDC_PROGRESS), the service's action in its action text
// (IDC_ACTION_TEXT), and the service's questions in boxes the dialog owns
// (an unowned box opens behind a topmost installer window while the
// install waits for it). The view is the only writer of those two
// controls; what it cannot decide alone (a stage, the end) it hands to
// its owner.
//
// The calls come from the install's worker and the service's threads. The
// progress and the text go through a mailbox and one posted message, so
// the window paints the latest of a burst; a question is sent, answered on
// the window's thread, and its answer goes back; the stage and the end are
// posted. The window's procedure hands kWmInstallView to OnViewMessage.
#pragma once

#include <windows.h>

#include <atomic>

#include "installer/install_observer.h"
#include "installer/install_session.h"
#include "ui/install_mailbox.h"

inline constexpr UINT kWmInstallView = WM_APP + 0x20;

// The window behind the view, on its own thread, in the order the session
// reported.
class InstallViewOwner {
 public:
  virtual ~InstallViewOwner() = default;
  virtual void OnStage(InstallStage stage) = 0;
  virtual void OnCancelDropped() = 0;
  virtual void OnFinished(const InstallOutcome& outcome) = 0;
};

class InstallView : public InstallObserver {
 public:
  explicit InstallView(InstallViewOwner* owner = nullptr) : m_owner(owner) {}

  // The dialog shown from now on (null: none, and nothing is told).
  void ShowIn(HWND dialog) { m_dialog.store(dialog); }

  void StageChanged(InstallStage stage) override;
  void ProgressRange(std::int32_t total) override;
  void ProgressPosition(std::int32_t position) override;
  void ProgressStep(std::int32_t step) override;
  void StepProgress() override;
  void Marquee(bool on) override;
  void ActionText(const char16_t* text) override;
  // An error beeps first, as a box of its icon does.
  int Ask(const ServiceQuestion& question) override;
  void CancelDropped() override;
  void Finished(const InstallOutcome& outcome) override;

  // On the window's thread: what a kWmInstallView message says.
  LRESULT OnViewMessage(WPARAM what, LPARAM data);

  // On the window's thread, for the screens: the bar full and no action
  // text (a success), or a line of the window's own shown in the action
  // text's place (a failure's reason).
  void ShowFull();
  void ShowLine(const wchar_t* line);

 protected:
  // The question's box, captioned and owned by the dialog: the button pressed.
  virtual int ShowBox(const ServiceQuestion& question, const wchar_t* caption);
  HWND Dialog() const { return m_dialog.load(); }

 private:
  void Post(WPARAM what, LPARAM data);
  void Tell(bool mustTell);
  void ShowMail();

  InstallViewOwner* m_owner;
  std::atomic<HWND> m_dialog{nullptr};
  InstallMailbox m_mailbox;
  // Written by the worker before it posts the end; read after.
  InstallOutcome m_outcome;
};
