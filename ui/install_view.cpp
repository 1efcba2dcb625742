#include "ui/install_view.h"

#include <commctrl.h>

#include "core/wide.h"
#include "res/resource.h"

namespace {

constexpr UINT kMarqueeInterval = 100;  // milliseconds between marquee moves

// A position or step goes in wParam as a signed int.
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

void InstallView::ProgressRange(std::int32_t total) {
  SendDlgItemMessageW(m_dialog, IDC_PROGRESS, PBM_SETRANGE32, 0, total);
}

void InstallView::ProgressPosition(std::int32_t position) {
  SendDlgItemMessageW(m_dialog, IDC_PROGRESS, PBM_SETPOS, AsWParam(position), 0);
}

void InstallView::ProgressStep(std::int32_t step) {
  SendDlgItemMessageW(m_dialog, IDC_PROGRESS, PBM_SETSTEP, AsWParam(step), 0);
}

void InstallView::StepProgress() { SendDlgItemMessageW(m_dialog, IDC_PROGRESS, PBM_STEPIT, 0, 0); }

void InstallView::Marquee(bool on) {
  SendDlgItemMessageW(m_dialog, IDC_PROGRESS, PBM_SETMARQUEE, on, kMarqueeInterval);
}

void InstallView::ActionText(const char16_t* text) {
  SetDlgItemTextW(m_dialog, IDC_ACTION_TEXT, AsWide(text));
}

int InstallView::Ask(const ServiceQuestion& question) {
  if (question.kind == QuestionKind::Error) MessageBeep(question.style & MB_ICONMASK);
  return ShowBox(question, CaptionOf(question.kind));
}

int InstallView::ShowBox(const ServiceQuestion& question, const wchar_t* caption) {
  return MessageBoxExW(m_dialog, AsWide(question.text), caption, question.style, question.language);
}
