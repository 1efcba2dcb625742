#include "ui/wizard_flow.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

// The window as a user sees it: which controls show, which take input,
// the status line, and what ran.
struct Screen {
  std::map<int, bool> visible;
  std::map<int, bool> enabled;
  StatusText status = StatusText::None;  // last pushed to the control
  StatusText pending = StatusText::None;
  std::vector<FlowOp> operations;  // marquee, progress and installer calls
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

// Which of the operations that end the step early fails.
enum class Fails { Nothing, Preparation, Removal };

// Plays the step's actions like the dialog does.
void Play(Screen& screen, WizardStep step, InstallState state, Fails fails = Fails::Nothing) {
  for (const FlowAction& action : WizardActions(step, state)) {
    switch (action.op) {
      case FlowOp::Hide: screen.visible[action.control] = false; break;
      case FlowOp::Show: screen.visible[action.control] = true; break;
      case FlowOp::Enable: screen.enabled[action.control] = true; break;
      case FlowOp::Disable: screen.enabled[action.control] = false; break;
      case FlowOp::SetStatus: screen.pending = action.text; break;
      case FlowOp::UpdateData: screen.status = screen.pending; break;
      case FlowOp::PreparePackage:
        screen.operations.push_back(action.op);
        if (fails == Fails::Preparation) return;
        break;
      case FlowOp::RemovePreviousVersion:
        screen.operations.push_back(action.op);
        if (fails == Fails::Removal) return;
        break;
      default: screen.operations.push_back(action.op); break;
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
  EXPECT_TRUE(screen.operations.empty());
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
  InstallState atWelcome, atInstalling, atFinished;
  Fails fails;
  std::vector<FlowOp> operations;  // in order, over both steps
  StatusText duringInstall;        // status shown when the last installer call started
  std::set<int> finishedVisible;
  StatusText finishedStatus;
};

class WholeRunTest : public ::testing::TestWithParam<RunCase> {};

// One CONTINUE click: Installing, then Finished, each with fresh detection.
TEST_P(WholeRunTest, FromContinueToFinished) {
  const RunCase& c = GetParam();
  Screen screen = TemplateScreen();
  Play(screen, WizardStep::Welcome, c.atWelcome);
  Play(screen, WizardStep::Installing, c.atInstalling, c.fails);
  EXPECT_EQ(Visible(screen), kInstallingScreen);
  EXPECT_EQ(Disabled(screen), std::set<int>{IDC_FINISHED}) << "no button can be clicked";
  EXPECT_EQ(screen.status, c.duringInstall);
  Play(screen, WizardStep::Finished, c.atFinished);
  EXPECT_EQ(screen.operations, c.operations);
  EXPECT_EQ(Visible(screen), c.finishedVisible);
  EXPECT_EQ(Disabled(screen), std::set<int>{});
  EXPECT_EQ(screen.status, c.finishedStatus);
}

const std::set<int> kSuccess = {IDC_STATUS_TEXT, IDC_PROGRESS, IDC_ACTION_TEXT, IDC_FINISHED};
const std::set<int> kFailure = {IDC_STATUS_TEXT, IDC_FINISHED};
using enum FlowOp;
using enum InstallState;

INSTANTIATE_TEST_SUITE_P(
    Runs, WholeRunTest,
    ::testing::Values(
        RunCase{"FreshInstall", NotInstalled, NotInstalled, UpToDate, Fails::Nothing,
                {PreparePackage, InstallPackage, ProgressRange100, ProgressPos100},
                StatusText::DisplayName, kSuccess, StatusText::Successful},
        RunCase{"FreshInstallFails", NotInstalled, NotInstalled, NotInstalled, Fails::Nothing,
                {PreparePackage, InstallPackage}, StatusText::DisplayName, kFailure,
                StatusText::Failed},
        RunCase{"PreparationFails", NotInstalled, NotInstalled, NotInstalled, Fails::Preparation,
                {PreparePackage}, StatusText::DisplayName, kFailure, StatusText::Failed},
        RunCase{"Upgrade", OlderInstalled, OlderInstalled, UpToDate, Fails::Nothing,
                {PreparePackage, MarqueeOn, RemovePreviousVersion, MarqueeOff, InstallPackage,
                 ProgressRange100, ProgressPos100},
                StatusText::DisplayName, kSuccess, StatusText::Successful},
        // The older version stays when the new one cannot be installed.
        RunCase{"UpgradePreparationFails", OlderInstalled, OlderInstalled, OlderInstalled,
                Fails::Preparation, {PreparePackage}, StatusText::DisplayName, kFailure,
                StatusText::Failed},
        // A failed removal installs nothing and keeps its status text.
        RunCase{"RemovalFails", OlderInstalled, OlderInstalled, OlderInstalled, Fails::Removal,
                {PreparePackage, MarqueeOn, RemovePreviousVersion}, StatusText::Uninstalling,
                kFailure, StatusText::Failed},
        // Installed by someone else since the Welcome screen: nothing to do.
        RunCase{"UpToDateMeanwhile", NotInstalled, UpToDate, UpToDate, Fails::Nothing,
                {ProgressRange100, ProgressPos100}, StatusText::DisplayName, kSuccess,
                StatusText::Successful}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WizardActions, UnknownValuesDoNothing) {
  EXPECT_TRUE(WizardActions(static_cast<WizardStep>(3), NotInstalled).empty());
  EXPECT_TRUE(WizardActions(WizardStep::Welcome, static_cast<InstallState>(7)).empty());
  EXPECT_TRUE(WizardActions(WizardStep::Finished, static_cast<InstallState>(-1)).empty());
}

TEST(StatusLiteral, TextsOfTheStatusLine) {
  EXPECT_EQ(std::u16string(StatusLiteral(StatusText::UpToDate)), u" is up-to-date");
  EXPECT_EQ(std::u16string(StatusLiteral(StatusText::Uninstalling)), u"Uninstalling previous Version.");
  EXPECT_EQ(std::u16string(StatusLiteral(StatusText::Failed)), u"Installation Failed");
  EXPECT_EQ(std::u16string(StatusLiteral(StatusText::Successful)), u"Installation Successful");
}

}  // namespace
