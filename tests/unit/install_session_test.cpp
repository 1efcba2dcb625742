// The order of an install and the judgement of its outcome (the session),
// and the run from the command line to the exit code (the start-up), each
// against the fake machine.
#include "installer/install_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "fake_installer.h"
#include "fake_registry.h"
#include "installer/in_use.h"
#include "recording_log.h"
#include "recording_observer.h"
#include "std_threads.h"
#include "installer/exit_code.h"
#include "installer/install_runner.h"
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
      m_log.push_back(stage == InstallStage::RemovingOlder ? "stage removing"
                      : stage == InstallStage::Removing    ? "stage uninstalling"
                      : stage == InstallStage::Repairing   ? "stage repairing"
                                                           : "stage installing");
    }
    void Finished(const InstallOutcome& outcome) override {
      m_log.push_back("finished " + std::to_string(ExitCodeNumber(outcome.exitCode)));
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
  InstantThreads threads{log};
  FakeInUse inUse;
  InstallerServices services{registry, service, files, observer, runLog, threads, inUse};
  // The same machine with real threads and events, for the runner.
  StdThreads realThreads;
  InstallerServices threaded{registry, service, files, observer, runLog, realThreads, inUse};
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
  Verdict verdict;
  // The user asks to cancel at the start of this call (0: never), and
  // whether the session takes it.
  const char* cancelIn = nullptr;
  bool cancelTaken = false;
  Operation operation = Operation::Install;
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

  InstallSession session(machine.services, UiMode::Full, c.operation);
  session.Observe(machine.observer);
  bool cancelTaken = false;
  machine.service.onStart = [&] {
    if (c.cancelIn != nullptr && machine.log.back().rfind(c.cancelIn, 0) == 0) {
      cancelTaken = session.RequestCancel() == CancelRefusal::None;
    }
  };
  EXPECT_EQ(session.Begin(), c.before == Registered::Nothing ? InstallState::NotInstalled
                             : c.before == Registered::Older ? InstallState::OlderInstalled
                                                             : InstallState::UpToDate);
  const InstallOutcome& outcome = session.Run(u"C:\\Host");
  EXPECT_EQ(machine.Steps(), c.steps);
  EXPECT_EQ(ExitCodeNumber(outcome.exitCode), c.exitCode);
  EXPECT_EQ(outcome.state, c.end);
  EXPECT_EQ(outcome.verdict, c.verdict);
  EXPECT_EQ(cancelTaken, c.cancelTaken);
  EXPECT_TRUE(machine.files.files.empty()) << "the package is left behind";
  EXPECT_TRUE(machine.runLog.Has(u"At the end: "));
  // The one line of a failure or a restart to come, in the outcome and the
  // log alike.
  EXPECT_EQ(outcome.reason[0] != 0, c.verdict == Verdict::Failed || c.verdict == Verdict::RestartNeeded);
  if (c.verdict == Verdict::RestartNeeded) {
    EXPECT_EQ(std::u16string(outcome.reason), c.operation == Operation::Uninstall
                                                  ? u"Restart Windows to finish the removal."
                                                  : u"Restart Windows to finish the installation.");
  }
  const char16_t* failed = c.operation == Operation::Uninstall ? u"Removal failed: " : u"Installation failed: ";
  EXPECT_EQ(machine.runLog.Has(failed + std::u16string(outcome.reason)), outcome.Failed());
  // A repair reinstalls what is missing or older, and the registry.
  const CallLog steps = machine.Steps();
  const bool repaired = std::find(steps.begin(), steps.end(), "stage repairing") != steps.end();
  EXPECT_EQ(machine.runLog.Has(u"REINSTALL=ALL REINSTALLMODE=omus"), repaired);
}

using enum Registered;
constexpr InstallState kUpToDate = InstallState::UpToDate;
constexpr InstallState kOlder = InstallState::OlderInstalled;
constexpr InstallState kNone = InstallState::NotInstalled;

INSTANTIATE_TEST_SUITE_P(
    Runs, SessionTest,
    ::testing::Values(
        SessionCase{"FreshInstall", Nothing, false, Nothing, 0, Current, 0,
                    {"CreateNewFile", "stage installing", "InstallProduct", "finished 0", "RemoveFile"},
                    0, kUpToDate, Verdict::Installed},
        // The package is ready before the older version goes.
        SessionCase{"Upgrade", Older, false, Nothing, 0, Current, 0,
                    {"CreateNewFile", "stage removing", "ConfigureProduct", "stage installing",
                     "InstallProduct", "finished 0", "RemoveFile"},
                    0, kUpToDate, Verdict::Installed},
        // Nothing is removed when the package cannot be written out.
        SessionCase{"UpgradeWithoutPackage", Older, true, Nothing, 0, Current, 0, {"finished 1603"},
                    1603, kOlder, Verdict::Failed},
        // A failed removal installs nothing; its code is the exit code.
        SessionCase{"RemovalFails", Older, false, Older, 1605, Current, 0,
                    {"CreateNewFile", "stage removing", "ConfigureProduct", "finished 1605",
                     "RemoveFile"},
                    1605, kOlder, Verdict::Failed},
        SessionCase{"RegisteredDespiteAnError", Nothing, false, Nothing, 0, Current, 1603,
                    {"CreateNewFile", "stage installing", "InstallProduct", "finished 0", "RemoveFile"},
                    0, kUpToDate, Verdict::Installed},
        SessionCase{"SuccessWithNothingRegistered", Nothing, false, Nothing, 0, Nothing, 0,
                    {"CreateNewFile", "stage installing", "InstallProduct", "finished 1603",
                     "RemoveFile"},
                    1603, kNone, Verdict::Failed},
        SessionCase{"RestartRequired", Nothing, false, Nothing, 0, Current, 3010,
                    {"CreateNewFile", "stage installing", "InstallProduct", "finished 3010",
                     "RemoveFile"},
                    3010, kUpToDate, Verdict::RestartNeeded},
        // The removal's restart is still to come after an install that
        // needs none.
        SessionCase{"RemovalAsksForARestart", Older, false, Nothing, 3010, Current, 0,
                    {"CreateNewFile", "stage removing", "ConfigureProduct", "stage installing",
                     "InstallProduct", "finished 3010", "RemoveFile"},
                    3010, kUpToDate, Verdict::RestartNeeded},
        SessionCase{"RemovalAsksForARestartAndTheInstallFails", Older, false, Nothing, 3010, Nothing, 1603,
                    {"CreateNewFile", "stage removing", "ConfigureProduct", "stage installing",
                     "InstallProduct", "finished 1603", "RemoveFile"},
                    1603, kNone, Verdict::Failed},
        SessionCase{"AlreadyUpToDate", Current, false, Nothing, 0, Current, 0, {"finished 0"}, 0,
                    kUpToDate, Verdict::UpToDate},
        // A package's own action ended the install as cancelled: nobody
        // asked, so it is a failure, and its code goes to the caller.
        SessionCase{"UserExitNobodyAskedFor", Nothing, false, Nothing, 0, Nothing, 1602,
                    {"CreateNewFile", "stage installing", "InstallProduct", "finished 1602",
                     "RemoveFile"},
                    1602, kNone, Verdict::Failed},
        SessionCase{"InstallCancelled", Nothing, false, Nothing, 0, Current, 0,
                    {"CreateNewFile", "stage installing", "InstallProduct", "finished 1602",
                     "RemoveFile"},
                    1602, kNone, Verdict::Cancelled, "InstallProduct", true},
        // The older version stays: its removal is rolled back.
        SessionCase{"RemovalCancelled", Older, false, Nothing, 0, Current, 0,
                    {"CreateNewFile", "stage removing", "ConfigureProduct", "finished 1602",
                     "RemoveFile"},
                    1602, kOlder, Verdict::Cancelled, "ConfigureProduct", true},
        // Once the older version is gone, the new one must land.
        SessionCase{"NoCancelAfterTheRemoval", Older, false, Nothing, 0, Current, 0,
                    {"CreateNewFile", "stage removing", "ConfigureProduct", "stage installing",
                     "InstallProduct", "finished 0", "RemoveFile"},
                    0, kUpToDate, Verdict::Installed, "InstallProduct", false},
        // /uninstall, judged by the registration too.
        SessionCase{"Uninstall", Current, false, Nothing, 0, Current, 0,
                    {"stage uninstalling", "ConfigureProduct", "finished 0"}, 0, kNone, Verdict::Removed,
                    nullptr, false, Operation::Uninstall},
        SessionCase{"UninstallNeedsARestart", Current, false, Nothing, 3010, Current, 0,
                    {"stage uninstalling", "ConfigureProduct", "finished 3010"}, 3010, kNone,
                    Verdict::RestartNeeded, nullptr, false, Operation::Uninstall},
        SessionCase{"UninstallNothing", Nothing, false, Nothing, 0, Current, 0, {"finished 1605"}, 1605, kNone,
                    Verdict::Failed, nullptr, false, Operation::Uninstall},
        SessionCase{"UninstallRefused", Current, false, Current, 1603, Current, 0,
                    {"stage uninstalling", "ConfigureProduct", "finished 1603"}, 1603, kUpToDate, Verdict::Failed,
                    nullptr, false, Operation::Uninstall},
        SessionCase{"UninstallCancelled", Current, false, Nothing, 0, Current, 0,
                    {"stage uninstalling", "ConfigureProduct", "finished 1602"}, 1602, kUpToDate,
                    Verdict::Cancelled, "ConfigureProduct", true, Operation::Uninstall},
        // /repair of the package's own version; of an older one, an upgrade.
        SessionCase{"Repair", Current, false, Nothing, 0, Current, 0,
                    {"CreateNewFile", "stage repairing", "InstallProduct", "finished 0", "RemoveFile"}, 0, kUpToDate,
                    Verdict::Installed, nullptr, false, Operation::Repair},
        SessionCase{"RepairOfAnOlderVersion", Older, false, Nothing, 0, Current, 0,
                    {"CreateNewFile", "stage removing", "ConfigureProduct", "stage installing", "InstallProduct",
                     "finished 0", "RemoveFile"},
                    0, kUpToDate, Verdict::Installed, nullptr, false, Operation::Repair}),
    [](const auto& info) { return std::string(info.param.name); });

// Programs that hold the plug-in are looked for before anything changes:
// the window's user decides, an unattended run names them and goes on. No
// program is ever closed.
TEST(SessionHolders, TheUserDecidesBeforeAnythingChanges) {
  const struct {
    const char* name;
    UiMode mode;
    int answer;        // to our box
    bool endsAtFirst;  // the program ends before the second look
    unsigned int installCode;
    CallLog steps;
    Verdict verdict;
    int asks;
    const char16_t* reason;
  } cases[] = {
      {"Try Again once it has ended", UiMode::Full, kAnswerTryAgain, true, 0,
       {"CreateNewFile", "stage removing", "ConfigureProduct", "stage installing", "InstallProduct", "finished 0",
        "RemoveFile"},
       Verdict::Installed, 1, u""},
      {"Continue: a restart finishes it", UiMode::Full, kAnswerContinue, false, 3010,
       {"CreateNewFile", "stage removing", "ConfigureProduct", "stage installing", "InstallProduct", "finished 3010",
        "RemoveFile"},
       Verdict::RestartNeeded, 1,
       u"Restart Windows to finish the installation: 3ds Max Design 2013 had the plug-in open."},
      {"Cancel: back to Welcome, nothing changed", UiMode::Full, 2, false, 0,
       {"CreateNewFile", "finished 1602", "RemoveFile"}, Verdict::Left, 1, u""},
      {"quiet: named in the log, and on", UiMode::Quiet, 2, false, 3010,
       {"CreateNewFile", "stage removing", "ConfigureProduct", "stage installing", "InstallProduct", "finished 3010",
        "RemoveFile"},
       Verdict::RestartNeeded, 0,
       u"Restart Windows to finish the installation: 3ds Max Design 2013 had the plug-in open."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Machine machine;
    machine.Register(Older);
    machine.registry.SetString(kProductPath, u"Path", u"C:\\Host\\plugins\\");
    machine.inUse.processes = {{7, u"C:\\Host\\3dsmax.exe", {u"C:\\Host\\plugins\\Zephra.dll"}, u"3ds Max Design 2013"}};
    machine.inUse.onLook = [&] {
      if (c.endsAtFirst && machine.inUse.looks == 2) machine.inUse.processes.clear();
    };
    machine.inUse.pendingRenames = {{u"\\??\\C:\\Host\\plugins\\Zephra.tmp", u"!\\??\\C:\\Host\\plugins\\Zephra.dll"},
                                    {u"\\??\\C:\\Other\\x.dll", u""}};
    machine.service.onRemove = [&] { machine.Register(Nothing); };
    machine.service.onInstall = [&] { machine.Register(Current); };
    machine.service.installResult = c.installCode;
    machine.observer.answer = c.answer;
    InstallSession session(machine.services, c.mode);
    session.Observe(machine.observer);
    session.Begin();
    session.PrepareAhead(nullptr);
    const InstallOutcome& outcome = session.Run(u"C:\\Host");
    EXPECT_EQ(machine.Steps(), c.steps);
    EXPECT_EQ(outcome.verdict, c.verdict);
    EXPECT_EQ(std::u16string(outcome.reason), c.reason);
    const auto& events = machine.observer.events;
    EXPECT_EQ(std::count_if(events.begin(), events.end(),
                            [](const std::string& e) { return e.rfind("ask FilesInUse", 0) == 0; }),
              c.asks);
    EXPECT_TRUE(machine.runLog.Has(u"In use by: 3ds Max Design 2013 (C:\\Host\\3dsmax.exe, process 7)"));
    EXPECT_EQ(machine.runLog.Has(u"Waits for the restart: C:\\Host\\plugins\\Zephra.dll from "
                                 u"C:\\Host\\plugins\\Zephra.tmp"),
              c.verdict == Verdict::RestartNeeded);
    EXPECT_FALSE(machine.runLog.Has(u"Waits for the restart: deleting C:\\Other"));
  }
}

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
       {"CreateNewFile", "stage installing", "InstallProduct", "finished 0", "RemoveFile"}},
      {"up to date by now", u"C:\\Host", true, {"CreateNewFile", "finished 0", "RemoveFile"}},
      {"folder refused", u"C:\\Ho\"st", false, {"CreateNewFile", "RemoveFile", "finished 1603"}},
      {"window closed at Welcome", nullptr, false, {"CreateNewFile", "RemoveFile"}},
  };
  for (const auto& c : cases) {
    Machine machine;
    machine.service.onInstall = [&] { machine.Register(Current); };
    InstallSession session(machine.services, UiMode::Full);
    session.Observe(machine.observer);
    session.Begin();
    session.PrepareAhead(nullptr);
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
  bool RunWindow(InstallRunner& runner, UiMode, Operation, const char16_t* folder, const char16_t*) override {
    shown.push_back("window");
    if (windowOpens) runner.Start(folder);
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
  unsigned int installCode = 0;
  bool foldersFail = false;  // no folder can be made
};

class StartUpTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartUpTest, ChoosesTheModeKeepsTheLogAndReturnsTheExitCode) {
  const StartCase& c = GetParam();
  Machine machine;
  machine.runLog.openFails = c.logFails;
  machine.service.onInstall = [&] { machine.Register(c.afterInstall); };
  machine.service.installResult = c.installCode;
  if (c.foldersFail) machine.files.createFolderError = 5;
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
        // A user exit that nobody asked for is a failure: its log stays.
        StartCase{"QuietUserExit", u"setup.exe /quiet", false, true, Nothing, {}, 1602, "kept", true, 1602},
        // The package for a distribution system: no window, no detection.
        StartCase{"Extract", u"setup.exe /extract C:\\Out", false, true, Nothing, {}, 0, "removed", false},
        StartCase{"ExtractToAFolderThatCannotBeMade", u"setup.exe /q /extract C:\\Out", false, true, Nothing, {},
                  82, "kept", false, 0, true},
        StartCase{"QuietUninstallOfNothing", u"setup.exe /x /quiet", false, true, Nothing, {}, 1605, "kept", false},
        StartCase{"UninstallWithAFolder", u"setup.exe /x MAXDIR=C:\\Host", false, true, Nothing, {"usage"}, 87,
                  "kept", false},
        StartCase{"PassiveInstall", u"setup.exe /passive", false, true, Current, {"window"}, 0,
                  "removed", true},
        StartCase{"WindowFails", u"setup.exe", false, false, Current, {"window"}, 1603, "kept",
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

// The run on a worker of its own, as the window and the quiet run have it.
class RunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session.Observe(machine.observer);
    session.Begin();
  }
  int Count(const std::string& prefix) const {
    return static_cast<int>(std::count_if(machine.log.begin(), machine.log.end(),
                                          [&](const std::string& line) { return line.rfind(prefix, 0) == 0; }));
  }
  bool NothingLeft() const {
    return machine.files.files.empty() && machine.files.folders.empty() && machine.files.OpenFiles() == 0;
  }

  Machine machine;
  InstallSession session{machine.threaded, UiMode::Full};
  InstallRunner runner{session, machine.realThreads};
};

TEST_F(RunnerTest, InstallsOnTheWorkerOrWithoutOneHere) {
  for (bool noThreads : {false, true}) {
    Machine machine;
    machine.realThreads.noThreads = noThreads;
    machine.service.onInstall = [&] { machine.Register(Current); };
    std::thread::id caller = std::this_thread::get_id(), installer;
    machine.service.onStart = [&] { installer = std::this_thread::get_id(); };
    InstallSession session(machine.threaded, UiMode::Full);
    session.Observe(machine.observer);
    session.Begin();
    InstallRunner runner(session, machine.realThreads);
    runner.Prepare();
    runner.WriteAhead();
    runner.Start(u"C:\\Host");
    runner.Stop();
    EXPECT_EQ(installer != caller, !noThreads);
    EXPECT_EQ(machine.Steps(), (CallLog{"CreateNewFile", "stage installing", "InstallProduct", "finished 0",
                                        "RemoveFile"}));
    EXPECT_EQ(runner.Outcome().verdict, Verdict::Installed);
    EXPECT_TRUE(machine.files.files.empty());
  }
}

// The window closes at Welcome, before, during and after the write ahead
// of a package of two pieces: the write stops, the package goes, the join
// returns, and nothing is installed.
TEST_F(RunnerTest, LeavingAtWelcomeStopsTheWriteAndLeavesNothing) {
  enum class When { BeforeTheWrite, DuringTheWrite, AfterTheWrite };
  for (When when : {When::BeforeTheWrite, When::DuringTheWrite, When::AfterTheWrite}) {
    SCOPED_TRACE(static_cast<int>(when));
    Machine machine;
    machine.files.package.assign((8u << 20) + 1, 0x5A);
    std::promise<void> waiting;
    bool told = false;
    if (when == When::DuringTheWrite) {
      // The first piece is written; the next waits until the runner stops
      // (the second Set, after WriteAhead's).
      machine.files.onWrite = [&] {
        waiting.set_value();
        machine.realThreads.WaitForSets(2);
      };
    } else if (when == When::AfterTheWrite) {
      // The worker's first wait once the package is written (it may wait
      // before the write too); it writes and waits on its own thread.
      machine.realThreads.onWait = [&](std::uint32_t ms) {
        const bool written = std::count_if(machine.log.begin(), machine.log.end(), [](const std::string& line) {
                               return line.rfind("Write ", 0) == 0;
                             }) == 2;
        if (ms == kWaitForever && written && !told) {
          told = true;
          waiting.set_value();
        }
      };
    }
    InstallSession session(machine.threaded, UiMode::Full);
    session.Begin();
    {
      InstallRunner runner(session, machine.realThreads);
      if (when != When::BeforeTheWrite) {
        runner.WriteAhead();
        waiting.get_future().wait();
      }
      runner.Stop();
    }
    const auto writes = std::count_if(machine.log.begin(), machine.log.end(),
                                      [](const std::string& line) { return line.rfind("Write ", 0) == 0; });
    EXPECT_EQ(writes, when == When::BeforeTheWrite ? 0 : when == When::DuringTheWrite ? 1 : 2);
    EXPECT_TRUE(machine.files.files.empty() && machine.files.folders.empty() && machine.files.OpenFiles() == 0);
    const CallLog steps = machine.Steps();
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "InstallProduct"), 0);
  }
}

TEST_F(RunnerTest, ACancelEndsTheWaitForAnotherInstallationAtOnce) {
  machine.service.installResult = 1618;
  std::promise<void> waiting;
  bool told = false;
  machine.realThreads.onWait = [&](std::uint32_t ms) {
    if (ms == kBusyRetryPauseMs && !told) {
      told = true;
      waiting.set_value();
    }
  };
  runner.Start(u"C:\\Host");
  waiting.get_future().wait();
  EXPECT_EQ(runner.RequestCancel(), CancelRefusal::None);
  runner.Stop();
  EXPECT_EQ(Count("InstallProduct"), 1) << "no more tries after the cancel";
  EXPECT_EQ(runner.Outcome().verdict, Verdict::Cancelled);
  EXPECT_EQ(runner.Outcome().exitCode, ExitCode::UserExit);
  EXPECT_TRUE(NothingLeft());
}

// Each request is taken or refused at once with its reason; a refused one
// leaves later requests their answer, and a taken one stands.
TEST_F(RunnerTest, ACancelIsTakenOrRefusedWithItsReason) {
  const TraceMessage kHide{0x0B000000, true, u"1: 2 2: 0 "};
  const TraceMessage kShow{0x0B000000, true, u"1: 2 2: 1 "};
  const TraceMessage kReport{0x0A000000, true, u"1: 2 2: 1 "};
  const TraceMessage kRollback{0x0A000000, true, u"1: 0 2: 100 3: 1 4: 0 "};
  struct Request {
    const char* call;  // at the start of this call, or
    int afterMessage;  // after this message of it (-1: at the start)
  };
  const struct {
    const char* name;
    Registered before;
    std::vector<TraceMessage> messages;
    std::vector<Request> requests;
    std::vector<CancelRefusal> answers;
    Verdict verdict;
    bool dropped;
  } cases[] = {
      {"taken during the install", Nothing, {kReport}, {{"InstallProduct", -1}}, {CancelRefusal::None},
       Verdict::Cancelled, false},
      {"refused while the service hides Cancel, then taken", Nothing, {kHide, kReport, kShow, kReport},
       {{"InstallProduct", 0}, {"InstallProduct", 2}}, {CancelRefusal::NotAtThisStep, CancelRefusal::None},
       Verdict::Cancelled, false},
      {"refused during the rollback", Nothing, {kRollback, kReport}, {{"InstallProduct", 0}},
       {CancelRefusal::NotAtThisStep}, Verdict::Installed, false},
      {"refused once the older version is gone", Older, {kReport}, {{"InstallProduct", -1}},
       {CancelRefusal::PreviousVersionRemoved}, Verdict::Installed, false},
      {"taken during a removal that finishes anyway", Older, {}, {{"ConfigureProduct", -1}},
       {CancelRefusal::None}, Verdict::Installed, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Machine machine;
    machine.Register(c.before);
    machine.service.messages = c.messages;
    machine.service.onRemove = [&] { machine.Register(Nothing); };
    machine.service.onInstall = [&] { machine.Register(Current); };
    InstallSession session(machine.threaded, UiMode::Full);
    session.Observe(machine.observer);
    session.Begin();
    InstallRunner runner(session, machine.realThreads);
    std::vector<CancelRefusal> answers;
    std::string current;
    auto ask = [&](int at) {
      for (const Request& r : c.requests) {
        if (r.afterMessage == at && current == r.call) answers.push_back(runner.RequestCancel());
      }
    };
    machine.service.onStart = [&] {
      current = machine.log.back().substr(0, machine.log.back().find(' '));
      ask(-1);
    };
    machine.service.afterMessage = [&](std::size_t index) { ask(static_cast<int>(index)); };
    runner.Start(u"C:\\Host");
    runner.Stop();
    EXPECT_EQ(answers, c.answers);
    EXPECT_EQ(runner.Outcome().verdict, c.verdict);
    const auto& events = machine.observer.events;
    EXPECT_EQ(std::count(events.begin(), events.end(), "cancel dropped"), c.dropped ? 1 : 0);
    EXPECT_TRUE(machine.files.files.empty());
  }
}

}  // namespace
