#include "ui/wizard_flow.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

// The window as a user sees it: which controls show, which take input,
// the status line, and what the bar was told.
struct Screen {
  std::map<int, bool> visible;
  std::map<int, bool> enabled;
  StatusText status = StatusText::None;  // last pushed to the control
  StatusText pending = StatusText::None;
  std::vector<ScreenOp> progress;
};

const int kControls[] = {IDC_CONTINUE,    IDC_AGREE,     IDC_TERMS_LINK,  IDC_CONFIGURE,
                         IDC_FOLDER,      IDC_AGREE_LABEL, IDC_PROGRESS, IDC_ACTION_TEXT,
                         IDC_STATUS_TEXT, IDC_FINISHED};

// As the template creates it: everything visible and enabled but the
// action text, which starts hidden.
Screen TemplateScreen() {
  Screen screen;
  for (int id : kControls) {
    screen.visible[id] = id != IDC_ACTION_TEXT;
    screen.enabled[id] = true;
  }
  return screen;
}

// Plays the step's screen like the dialog does.
void Play(Screen& screen, WizardStep step, InstallState state) {
  for (const ScreenAction& action : WizardScreen(step, state)) {
    switch (action.op) {
      case ScreenOp::Hide: screen.visible[action.control] = false; break;
      case ScreenOp::Show: screen.visible[action.control] = true; break;
      case ScreenOp::Enable: screen.enabled[action.control] = true; break;
      case ScreenOp::Disable: screen.enabled[action.control] = false; break;
      case ScreenOp::SetStatus: screen.pending = action.text; break;
      case ScreenOp::UpdateData: screen.status = screen.pending; break;
      default: screen.progress.push_back(action.op); break;
    }
  }
}

std::set<int> Visible(const Screen& screen) {
  std::set<int> ids;
  for (const auto& [id, shown] : screen.visible)
    if (shown) ids.insert(id);
  return ids;
}

std::set<int> Disabled(const Screen& screen) {
  std::set<int> ids;
  for (const auto& [id, shown] : screen.visible)
    if (shown && !screen.enabled.at(id)) ids.insert(id);
  return ids;
}

const std::set<int> kWelcomeOffer = {IDC_STATUS_TEXT, IDC_AGREE,     IDC_AGREE_LABEL,
                                     IDC_TERMS_LINK,  IDC_FOLDER,    IDC_CONFIGURE,
                                     IDC_CONTINUE};
const std::set<int> kInstallingScreen = {IDC_STATUS_TEXT, IDC_PROGRESS, IDC_ACTION_TEXT,
                                         IDC_FINISHED};

struct ScreenCase {
  const char* name;
  InstallState atWelcome;
  std::set<int> visible;
  std::set<int> disabled;
  StatusText status;
};

class WelcomeScreenTest : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(WelcomeScreenTest, ShowsWhatDetectionFound) {
  const ScreenCase& c = GetParam();
  Screen screen = TemplateScreen();
  Play(screen, WizardStep::Welcome, c.atWelcome);
  EXPECT_EQ(Visible(screen), c.visible);
  EXPECT_EQ(Disabled(screen), c.disabled);
  EXPECT_EQ(screen.status, c.status);
  EXPECT_TRUE(screen.progress.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Screens, WelcomeScreenTest,
    ::testing::Values(
        ScreenCase{"NotInstalled", InstallState::NotInstalled, kWelcomeOffer, {IDC_CONTINUE},
                   StatusText::DisplayName},
        ScreenCase{"OlderInstalled", InstallState::OlderInstalled, kWelcomeOffer, {IDC_CONTINUE},
                   StatusText::DisplayName},
        ScreenCase{"UpToDate", InstallState::UpToDate, {IDC_STATUS_TEXT, IDC_FINISHED}, {},
                   StatusText::UpToDate}),
    [](const auto& info) { return std::string(info.param.name); });

struct RunCase {
  const char* name;
  InstallState atWelcome, atFinished;
  std::vector<ScreenOp> progress;  // what the bar was told, over both steps
  std::set<int> finishedVisible;
  StatusText finishedStatus;
};

class WholeRunTest : public ::testing::TestWithParam<RunCase> {};

// One CONTINUE click: Installing while the session runs, then Finished for
// the state it found at the end.
TEST_P(WholeRunTest, FromContinueToFinished) {
  const RunCase& c = GetParam();
  Screen screen = TemplateScreen();
  Play(screen, WizardStep::Welcome, c.atWelcome);
  Play(screen, WizardStep::Installing, c.atWelcome);
  EXPECT_EQ(Visible(screen), kInstallingScreen);
  EXPECT_EQ(Disabled(screen), std::set<int>{IDC_FINISHED}) << "no button can be clicked";
  Play(screen, WizardStep::Finished, c.atFinished);
  EXPECT_EQ(screen.progress, c.progress);
  EXPECT_EQ(Visible(screen), c.finishedVisible);
  EXPECT_EQ(Disabled(screen), std::set<int>{});
  EXPECT_EQ(screen.status, c.finishedStatus);
}

const std::set<int> kSuccess = {IDC_STATUS_TEXT, IDC_PROGRESS, IDC_ACTION_TEXT, IDC_FINISHED};
const std::set<int> kFailure = {IDC_STATUS_TEXT, IDC_FINISHED};
using enum ScreenOp;
using enum InstallState;

INSTANTIATE_TEST_SUITE_P(
    Runs, WholeRunTest,
    ::testing::Values(
        RunCase{"Installed", NotInstalled, UpToDate, {ProgressFull}, kSuccess,
                StatusText::Successful},
        RunCase{"Upgraded", OlderInstalled, UpToDate, {ProgressFull}, kSuccess,
                StatusText::Successful},
        RunCase{"Failed", NotInstalled, NotInstalled, {}, kFailure, StatusText::Failed},
        RunCase{"OlderKept", OlderInstalled, OlderInstalled, {}, kFailure, StatusText::Failed}),
    [](const auto& info) { return std::string(info.param.name); });

// The user went back from Installing, to close the programs that hold the
// plug-in: the whole offer shows again, and CONTINUE takes the click.
TEST(WizardScreen, BackFromInstallingTheOfferIsWholeAgain) {
  for (InstallState state : {NotInstalled, OlderInstalled}) {
    Screen screen = TemplateScreen();
    Play(screen, WizardStep::Welcome, state);
    Play(screen, WizardStep::Installing, state);
    Play(screen, WizardStep::WelcomeAgain, state);
    EXPECT_EQ(Visible(screen), kWelcomeOffer);
    EXPECT_EQ(Disabled(screen), std::set<int>{});
    EXPECT_EQ(screen.status, StatusText::DisplayName);
  }
}

TEST(FinishedStatus, ReadsTheVerdict) {
  InstallOutcome outcome;
  outcome.verdict = Verdict::RestartNeeded;
  EXPECT_EQ(FinishedStatus(StatusText::Successful, outcome), StatusText::Successful);
  outcome.verdict = Verdict::Installed;
  EXPECT_EQ(FinishedStatus(StatusText::Successful, outcome), StatusText::Successful);
  outcome.verdict = Verdict::Cancelled;
  EXPECT_EQ(FinishedStatus(StatusText::Failed, outcome), StatusText::Cancelled);
  outcome.verdict = Verdict::Failed;
  EXPECT_EQ(FinishedStatus(StatusText::Failed, outcome), StatusText::Failed);
  // A removal's own texts.
  outcome.operation = Operation::Uninstall;
  EXPECT_EQ(FinishedStatus(StatusText::Failed, outcome), StatusText::RemovalFailed);
  outcome.verdict = Verdict::Cancelled;
  EXPECT_EQ(FinishedStatus(StatusText::Failed, outcome), StatusText::RemovalCancelled);
  outcome.verdict = Verdict::Removed;
  EXPECT_EQ(FinishedStatus(StatusText::Successful, outcome), StatusText::RemovalSuccessful);
}

TEST(WizardScreen, TheFirstFocusIsWhatWelcomeNeedsFromTheUser) {
  EXPECT_EQ(FirstFocus(NotInstalled, false), IDC_AGREE);
  EXPECT_EQ(FirstFocus(OlderInstalled, false), IDC_AGREE);
  EXPECT_EQ(FirstFocus(UpToDate, false), IDC_FINISHED);
  EXPECT_EQ(FirstFocus(NotInstalled, true), IDC_CONTINUE);
  EXPECT_EQ(FirstFocus(UpToDate, true), IDC_FINISHED);
}

TEST(WizardScreen, UnknownValuesDoNothing) {
  EXPECT_TRUE(WizardScreen(static_cast<WizardStep>(4), NotInstalled).empty());
  EXPECT_TRUE(WizardScreen(WizardStep::Welcome, static_cast<InstallState>(7)).empty());
  EXPECT_TRUE(WizardScreen(WizardStep::Finished, static_cast<InstallState>(-1)).empty());
}

TEST(StatusLiteral, TextsOfTheStatusLine) {
  EXPECT_EQ(std::u16string(StatusLiteral(StatusText::UpToDate)), u" is up-to-date");
  EXPECT_EQ(std::u16string(StatusLiteral(StatusText::Uninstalling)), u"Uninstalling previous Version.");
  EXPECT_EQ(std::u16string(StatusLiteral(StatusText::Failed)), u"Installation Failed");
  EXPECT_EQ(std::u16string(StatusLiteral(StatusText::Successful)), u"Installation Successful");
}

}  // namespace
