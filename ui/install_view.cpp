#include "ui/install_view.h"

#include <commctrl.h>

#include "core/wide.h"
#include "res/resource.h"

namespace {

constexpr UINT kMarqueeInterval = 100;  // milliseconds between marquee moves

// What a kWmInstallView message carries in its wParam.
enum ViewMessage : WPARAM { kMail, kQuestion, kStage, kEnd };

// A position goes in wParam as a signed int.
WPARAM AsWParam(std::int32_t value) { return static_cast<WPARAM>(static_cast<INT_PTR>(value)); }

const wchar_t* CaptionOf(QuestionKind kind) {
  switch (kind) {
    case QuestionKind::FatalExit: return L"FatalError";
    case QuestionKind::Error: return L"Error";
    case QuestionKind::Warning: break;
  }
  return L"Warning";
}

}  // namespace

// A null window would make these thread messages of the caller.
void InstallView::Tell(bool mustTell) {
  if (mustTell && m_dialog != nullptr) PostMessageW(m_dialog, kWmInstallView, kMail, 0);
}

void InstallView::StageChanged(InstallStage stage) {
  if (m_dialog != nullptr) PostMessageW(m_dialog, kWmInstallView, kStage, static_cast<LPARAM>(stage));
}

void InstallView::ProgressRange(std::int32_t total) { Tell(m_mailbox.Range(total)); }
void InstallView::ProgressPosition(std::int32_t position) { Tell(m_mailbox.Position(position)); }
void InstallView::ProgressStep(std::int32_t step) { Tell(m_mailbox.Step(step)); }
void InstallView::StepProgress() { Tell(m_mailbox.StepIt()); }
void InstallView::Marquee(bool on) { Tell(m_mailbox.Marquee(on)); }
void InstallView::ActionText(const char16_t* text) { Tell(m_mailbox.Text(text)); }

int InstallView::Ask(const ServiceQuestion& question) {
  // Sent: the service waits for the answer, and the window's thread, which
  // owns the box, shows it.
  if (m_dialog == nullptr) return 0;
  return static_cast<int>(
      SendMessageW(m_dialog, kWmInstallView, kQuestion, reinterpret_cast<LPARAM>(&question)));
}

void InstallView::Finished(const InstallOutcome& outcome) {
  m_outcome = outcome;
  if (m_dialog != nullptr) PostMessageW(m_dialog, kWmInstallView, kEnd, 0);
}

void InstallView::ShowMail() {
  const InstallMailbox::Snapshot mail = m_mailbox.Take();
  if (mail.bar) {
    SendDlgItemMessageW(m_dialog, IDC_PROGRESS, PBM_SETRANGE32, 0, mail.maximum);
    SendDlgItemMessageW(m_dialog, IDC_PROGRESS, PBM_SETPOS, AsWParam(mail.position), 0);
  }
  if (mail.marqueeChanged) {
    SendDlgItemMessageW(m_dialog, IDC_PROGRESS, PBM_SETMARQUEE, mail.marquee, kMarqueeInterval);
  }
  if (mail.textChanged) SetDlgItemTextW(m_dialog, IDC_ACTION_TEXT, AsWide(mail.text));
}

LRESULT InstallView::OnViewMessage(WPARAM what, LPARAM data) {
  switch (what) {
    case kMail:
      ShowMail();
      return 0;
    case kQuestion: {
      const auto& question = *reinterpret_cast<const ServiceQuestion*>(data);
      if (question.kind == QuestionKind::Error) MessageBeep(question.style & MB_ICONMASK);
      return ShowBox(question, CaptionOf(question.kind));
    }
    case kStage:
      // What the bar and text showed before the stage changed shows first.
      ShowMail();
      OnStage(static_cast<InstallStage>(data));
      return 0;
    case kEnd:
      ShowMail();
      OnFinished(m_outcome);
      return 0;
    default:
      return 0;
  }
}

int InstallView::ShowBox(const ServiceQuestion& question, const wchar_t* caption) {
  return MessageBoxExW(m_dialog, AsWide(question.text), caption, question.style, question.language);
}
