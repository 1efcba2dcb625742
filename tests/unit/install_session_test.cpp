// The order of an install and the judgement of its outcome (the session),
// and the run from the command line to the exit code (the start-up), each
// against the fake machine.
#include "installer/install_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_installer.h"
#include "fake_registry.h"
#include "recording_log.h"
#include "recording_observer.h"
#include "installer/exit_code.h"
#include "installer/run_installer.h"
#include "product/product_config.h"

namespace {

const std::u16string kUninstallPath =
    std::u16string(u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") +
    ProductConfig::ProductCode;

const std::u16string kProductPath = std::u16string(u"SOFTWARE\\") + ProductConfig::MakerKey +
                                   u"\\" + ProductConfig::ProductKey + u"\\";

enum class Registered { Nothing, Older, Current };

// The fake machine, with the observer's stages and end in the same call
// log as the service's and the files' calls, so that the order across them
// shows.
class Machine {
 public:
  class Observer final : public RecordingObserver {
   public:
    explicit Observer(CallLog& log) : m_log(log) {}
    void StageChanged(InstallStage stage) override {
      m_log.push_back(stage == InstallStage::RemovingOlder ? "stage removing" : "stage installing");
    }
    void Finished(const InstallOutcome& outcome) override {
      m_log.push_back("finished " + std::to_string(outcome.exitCode));
    }

   private:
    CallLog& m_log;
  };

  // As the package registers itself: its version under the product's key,
  // and the service's registration.
  void Register(Registered what) {
    if (what == Registered::Nothing) {
      registry.RemoveValue(kProductPath, u"Version");
      registry.RemoveValue(kUninstallPath, u"DisplayVersion");
      return;
    }
    const char16_t* version = what == Registered::Older ? u"4.0.3.9" : ProductConfig::PackageVersion;
    registry.SetString(kProductPath, u"Version", version);
    registry.SetString(kUninstallPath, u"DisplayVersion", version);
  }
  // The steps that matter for the order, by their first word.
  CallLog Steps() const {
    CallLog steps;
    for (const std::string& line : log) {
      for (const char* kept : {"CreateNewFile", "ConfigureProduct", "InstallProduct", "RemoveFile",
                               "stage", "finished"}) {
        if (line.rfind(kept, 0) == 0) {
          steps.push_back(line.rfind("stage", 0) == 0 || line.rfind("finished", 0) == 0
                              ? line
                              : line.substr(0, line.find(' ')));
        }
      }
    }
    return steps;
  }

  CallLog log;
  FakeRegistry registry;
  FakeInstallerService service{log};
  FakePackageFiles files{log};
  Observer observer{log};
  RecordingLog runLog;
  InstallerServices services{registry, service, files, observer, runLog};
};

struct SessionCase {
  const char* name;
  Registered before;
  bool noTempFolder;              // the package cannot be written out
  Registered afterRemoval;        // what the removal leaves registered
  unsigned int removeCode;
  Registered afterInstall;        // what the install leaves registered
  unsigned int installCode;
  CallLog steps;
  int exitCode;
  InstallState end;
  // The user asks to cancel at the start of this call (0: never), and
  // whether the session takes it.
  const char* cancelIn = nullptr;
  bool cancelTaken = false;
};

class SessionTest : public ::testing::TestWithParam<SessionCase> {};

TEST_P(SessionTest, RunsTheStepsInOrderAndJudgesByTheRegistration) {
  const SessionCase& c = GetParam();
  Machine machine;
  machine.Register(c.before);
  machine.files.noTempFolder = c.noTempFolder;
  machine.service.removeResult = c.removeCode;
  machine.service.onRemove = [&] { machine.Register(c.afterRemoval); };
  machine.service.installResult = c.installCode;
  machine.service.onInstall = [&] { machine.Register(c.afterInstall); };
  // One message the handler may answer with cancel.
  machine.service.messages = {{0x0A000000, true, u"1: 2 2: 1 "}};

  InstallSession session(machine.services, UiMode::Full);
  session.Observe(machine.observer);
  bool cancelTaken = false;
  machine.service.onStart = [&] {
    if (c.cancelIn != nullptr && machine.log.back().rfind(c.cancelIn, 0) == 0) {
      cancelTaken = session.RequestCancel();
    }
  };
  EXPECT_EQ(session.Begin(), c.before == Registered::Nothing ? InstallState::NotInstalled
                             : c.before == Registered::Older ? InstallState::OlderInstalled
                                                             : InstallState::UpToDate);
  const InstallOutcome& outcome = session.Run(u"C:\\Host");
  EXPECT_EQ(machine.Steps(), c.steps);
  EXPECT_EQ(outcome.exitCode, c.exitCode);
  EXPECT_EQ(outcome.state, c.end);
  EXPECT_EQ(cancelTaken, c.cancelTaken);
  EXPECT_EQ(outcome.cancelled, c.cancelTaken);
  EXPECT_TRUE(machine.files.files.empty()) << "the package is left behind";
  EXPECT_TRUE(machine.runLog.Has(u"At the end: "));
  EXPECT_EQ(machine.runLog.Has(u"Installation failed: The "), IsFailureExitCode(c.exitCode));
}

using enum Registered;
constexpr InstallState kUpToDate = InstallState::UpToDate;
constexpr InstallState kOlder = InstallState::OlderInstalled;
constexpr InstallState kNone = InstallState::NotInstalled;

INSTANTIATE_TEST_SUITE_P(
    Runs, SessionTest,
    ::testing::Values(
        SessionCase{"FreshInstall", Nothing, false, Nothing, 0, Current, 0,
                    {"CreateNewFile", "stage installing", "InstallProduct", "RemoveFile", "finished 0"},
                    0, kUpToDate},
        // The package is ready before the older version goes.
        SessionCase{"Upgrade", Older, false, Nothing, 0, Current, 0,
                    {"CreateNewFile", "stage removing", "ConfigureProduct", "stage installing",
                     "InstallProduct", "RemoveFile", "finished 0"},
                    0, kUpToDate},
        // Nothing is removed when the package cannot be written out.
        SessionCase{"UpgradeWithoutPackage", Older, true, Nothing, 0, Current, 0, {"finished 1603"},
                    1603, kOlder},
        // A failed removal installs nothing; its code is the exit code.
        SessionCase{"RemovalFails", Older, false, Older, 1605, Current, 0,
                    {"CreateNewFile", "stage removing", "ConfigureProduct", "RemoveFile",
                     "finished 1605"},
                    1605, kOlder},
        SessionCase{"RegisteredDespiteAnError", Nothing, false, Nothing, 0, Current, 1603,
                    {"CreateNewFile", "stage installing", "InstallProduct", "RemoveFile", "finished 0"},
                    0, kUpToDate},
        SessionCase{"SuccessWithNothingRegistered", Nothing, false, Nothing, 0, Nothing, 0,
                    {"CreateNewFile", "stage installing", "InstallProduct", "RemoveFile",
                     "finished 1603"},
                    1603, kNone},
        SessionCase{"RestartRequired", Nothing, false, Nothing, 0, Current, 3010,
                    {"CreateNewFile", "stage installing", "InstallProduct", "RemoveFile",
                     "finished 3010"},
                    3010, kUpToDate},
        SessionCase{"AlreadyUpToDate", Current, false, Nothing, 0, Current, 0, {"finished 0"}, 0,
                    kUpToDate},
        SessionCase{"InstallCancelled", Nothing, false, Nothing, 0, Current, 0,
                    {"CreateNewFile", "stage installing", "InstallProduct", "RemoveFile",
                     "finished 1602"},
                    1602, kNone, "InstallProduct", true},
        // The older version stays: its removal is rolled back.
        SessionCase{"RemovalCancelled", Older, false, Nothing, 0, Current, 0,
                    {"CreateNewFile", "stage removing", "ConfigureProduct", "RemoveFile",
                     "finished 1602"},
                    1602, kOlder, "ConfigureProduct", true},
        // Once the older version is gone, the new one must land.
        SessionCase{"NoCancelAfterTheRemoval", Older, false, Nothing, 0, Current, 0,
                    {"CreateNewFile", "stage removing", "ConfigureProduct", "stage installing",
                     "InstallProduct", "RemoveFile", "finished 0"},
                    0, kUpToDate, "InstallProduct", false}),
    [](const auto& info) { return std::string(info.param.name); });

// A package written ahead, while the user is at Welcome, is the one
// installed; it is deleted when nothing is installed after all.
TEST(SessionAhead, APackageWrittenAheadIsInstalledOnceOrDeleted) {
  struct {
    const char* name;
    const char16_t* folder;  // null: Run is not called
    bool installedMeanwhile;
    CallLog steps;
  } cases[] = {
      {"installed", u"C:\\Host", false,
       {"CreateNewFile", "stage installing", "InstallProduct", "RemoveFile", "finished 0"}},
      {"up to date by now", u"C:\\Host", true, {"CreateNewFile", "RemoveFile", "finished 0"}},
      {"folder refused", u"C:\\Ho\"st", false, {"CreateNewFile", "RemoveFile", "finished 1603"}},
      {"window closed at Welcome", nullptr, false, {"CreateNewFile", "RemoveFile"}},
  };
  for (const auto& c : cases) {
    Machine machine;
    machine.service.onInstall = [&] { machine.Register(Current); };
    InstallSession session(machine.services, UiMode::Full);
    session.Observe(machine.observer);
    session.Begin();
    session.PrepareAhead();
    if (c.installedMeanwhile) machine.Register(Current);
    if (c.folder != nullptr) {
      session.Run(c.folder);
    } else {
      session.Discard();
    }
    EXPECT_EQ(machine.Steps(), c.steps) << c.name;
    EXPECT_TRUE(machine.files.files.empty()) << c.name << ": the package is left behind";
  }
}

// What the start-up shows, and a window that runs the install as a passive
// run does, or cannot open.
class FakeUi final : public InstallerUi {
 public:
  bool windowOpens = true;
  std::vector<std::string> shown;

  void ShowUsage(const char16_t*) override { shown.push_back("usage"); }
  void ShowError(const char16_t* text) override { shown.push_back("error " + Narrow(text)); }
  bool RunWindow(InstallSession& session, UiMode, const char16_t* folder,
                 const char16_t*) override {
    shown.push_back("window");
    if (windowOpens) session.Run(folder);
    return windowOpens;
  }
};

struct StartCase {
  const char* name;
  const char16_t* commandLine;
  bool logFails;
  bool windowOpens;
  Registered afterInstall;
  std::vector<std::string> shown;
  int exitCode;
  const char* logFate;
  bool installed;  // an installer call was made
};

class StartUpTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartUpTest, ChoosesTheModeKeepsTheLogAndReturnsTheExitCode) {
  const StartCase& c = GetParam();
  Machine machine;
  machine.runLog.openFails = c.logFails;
  machine.service.onInstall = [&] { machine.Register(c.afterInstall); };
  FakeUi ui;
  ui.windowOpens = c.windowOpens;
  EXPECT_EQ(RunInstaller(c.commandLine, machine.services, ui), c.exitCode);
  EXPECT_EQ(ui.shown, c.shown);
  EXPECT_EQ(machine.runLog.fate, c.logFate);
  const CallLog steps = machine.Steps();
  EXPECT_EQ(std::count(steps.begin(), steps.end(), "InstallProduct"), c.installed ? 1 : 0);
  if (machine.runLog.fate != "never opened") {
    const std::string line = "Exit code " + std::to_string(c.exitCode);
    EXPECT_TRUE(machine.runLog.Has(std::u16string(line.begin(), line.end())));
  }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, StartUpTest,
    ::testing::Values(
        StartCase{"Usage", u"setup.exe /?", false, true, Current, {"usage"}, 0, "never opened", false},
        StartCase{"RefusedCommandLine", u"setup.exe /reboot", false, true, Current, {"usage"}, 87,
                  "kept", false},
        StartCase{"RefusedQuietly", u"setup.exe /quiet /reboot", false, true, Current, {}, 87, "kept",
                  false},
        StartCase{"UnwritableLog", u"setup.exe /log C:\\x.log", true, true, Current,
                  {"error The log file cannot be written."}, 1622, "never opened", false},
        StartCase{"UnwritableLogQuietly", u"setup.exe /q /log C:\\x.log", true, true, Current, {},
                  1622, "never opened", false},
        // Without /log the run goes on without a file.
        StartCase{"NoTempLog", u"setup.exe /q", true, true, Current, {}, 0, "never opened", true},
        StartCase{"RefusedFolder", u"setup.exe /quiet MAXDIR=Host", false, true, Current, {}, 87,
                  "kept", false},
        StartCase{"QuietInstall", u"setup.exe /quiet", false, true, Current, {}, 0, "removed", true},
        StartCase{"QuietInstallWithLog", u"setup.exe /quiet /log C:\\x.log", false, true, Current,
                  {}, 0, "kept", true},
        StartCase{"QuietFailure", u"setup.exe /quiet", false, true, Nothing, {}, 1603, "kept", true},
        StartCase{"PassiveInstall", u"setup.exe /passive", false, true, Current, {"window"}, 0,
                  "removed", true},
        StartCase{"WindowFails", u"setup.exe", false, false, Current, {"window"}, 1603, "kept",
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
