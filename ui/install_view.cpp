#include "ui/install_view.h"

#include <commctrl.h>

#include "core/wide.h"
#include "res/resource.h"

namespace {

constexpr UINT kMarqueeInterval = 100;  // milliseconds between marquee moves
constexpr std::int32_t kFullBar = 100;

// What a kWmInstallView message carries in its wParam.
enum ViewMessage : WPARAM { kMail, kQuestion, kStage, kCancelDropped, kEnd };

// A position goes in wParam as a signed int.
WPARAM AsWParam(std::int32_t value) { return static_cast<WPARAM>(static_cast<INT_PTR>(value)); }

const wchar_t* CaptionOf(QuestionKind kind) {
  switch (kind) {
    case QuestionKind::FatalExit: return L"FatalError";
    case QuestionKind::Error: return L"Error";
    case QuestionKind::FilesInUse: return L"Files in Use";
    case QuestionKind::Warning: break;
  }
  return L"Warning";
}

}  // namespace

// A null window would make these thread messages of the caller.
void InstallView::Post(WPARAM what, LPARAM data) {
  const HWND dialog = Dialog();
  if (dialog != nullptr) PostMessageW(dialog, kWmInstallView, what, data);
}

void InstallView::Tell(bool mustTell) {
  if (mustTell) Post(kMail, 0);
}

void InstallView::StageChanged(InstallStage stage) { Post(kStage, static_cast<LPARAM>(stage)); }
void InstallView::ProgressRange(std::int32_t total) { Tell(m_mailbox.Range(total)); }
void InstallView::ProgressPosition(std::int32_t position) { Tell(m_mailbox.Position(position)); }
void InstallView::ProgressStep(std::int32_t step) { Tell(m_mailbox.Step(step)); }
void InstallView::StepProgress() { Tell(m_mailbox.StepIt()); }
void InstallView::Marquee(bool on) { Tell(m_mailbox.Marquee(on)); }
void InstallView::ActionText(const char16_t* text) { Tell(m_mailbox.Text(text)); }
void InstallView::CancelDropped() { Post(kCancelDropped, 0); }

int InstallView::Ask(const ServiceQuestion& question) {
  // Sent: the service waits for the answer, and the window's thread, which
  // owns the box, shows it.
  const HWND dialog = Dialog();
  if (dialog == nullptr) return 0;
  return static_cast<int>(SendMessageW(dialog, kWmInstallView, kQuestion, reinterpret_cast<LPARAM>(&question)));
}

void InstallView::Finished(const InstallOutcome& outcome) {
  m_outcome = outcome;
  Post(kEnd, 0);
}

void InstallView::ShowMail() {
  const HWND dialog = Dialog();
  const InstallMailbox::Snapshot mail = m_mailbox.Take();
  if (mail.bar) {
    SendDlgItemMessageW(dialog, IDC_PROGRESS, PBM_SETRANGE32, 0, mail.maximum);
    SendDlgItemMessageW(dialog, IDC_PROGRESS, PBM_SETPOS, AsWParam(mail.position), 0);
  }
  if (mail.marqueeChanged) {
    SendDlgItemMessageW(dialog, IDC_PROGRESS, PBM_SETMARQUEE, mail.marquee, kMarqueeInterval);
  }
  if (mail.textChanged) SetDlgItemTextW(dialog, IDC_ACTION_TEXT, AsWide(mail.text));
}

void InstallView::ShowFull() {
  const HWND dialog = Dialog();
  SendDlgItemMessageW(dialog, IDC_PROGRESS, PBM_SETRANGE32, 0, kFullBar);
  SendDlgItemMessageW(dialog, IDC_PROGRESS, PBM_SETPOS, kFullBar, 0);
  SetDlgItemTextW(dialog, IDC_ACTION_TEXT, L"");
}

void InstallView::ShowLine(const wchar_t* line) {
  SetDlgItemTextW(Dialog(), IDC_ACTION_TEXT, line);
  ShowWindow(GetDlgItem(Dialog(), IDC_ACTION_TEXT), SW_SHOWNORMAL);
}

LRESULT InstallView::OnViewMessage(WPARAM what, LPARAM data) {
  // What the bar and text showed before a stage or the end shows first.
  if (what != kQuestion) ShowMail();
  switch (what) {
    case kQuestion: {
      const auto& question = *reinterpret_cast<const ServiceQuestion*>(data);
      if (question.kind == QuestionKind::Error) MessageBeep(question.style & MB_ICONMASK);
      return ShowBox(question, CaptionOf(question.kind));
    }
    case kStage:
      if (m_owner != nullptr) m_owner->OnStage(static_cast<InstallStage>(data));
      return 0;
    case kCancelDropped:
      if (m_owner != nullptr) m_owner->OnCancelDropped();
      return 0;
    case kEnd:
      if (m_owner != nullptr) m_owner->OnFinished(m_outcome);
      return 0;
    default:
      return 0;
  }
}

int InstallView::ShowBox(const ServiceQuestion& question, const wchar_t* caption) {
  return MessageBoxExW(Dialog(), AsWide(question.text), caption, question.style, question.language);
}
