#include "installer/install_operations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "recording_observer.h"
#include "fake_installer.h"
#include "fake_registry.h"
#include "recording_log.h"
#include "installer/message_handler.h"
#include "installer/progress_context.h"
#include "product/product_config.h"

namespace {

const std::u16string kUninstallPath =
    std::u16string(u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") +
    ProductConfig::ProductCode;
const char kFolder[] = "C:\\Temp\\Kel0123456789ABCDEF";
const char kPackage[] = "C:\\Temp\\Kel0123456789ABCDEF\\package.msi";
const std::u16string kPackagePath = u"C:\\Temp\\Kel0123456789ABCDEF\\package.msi";

class OperationsTest : public ::testing::Test {
 protected:
  void Register(const char16_t* version) {
    registry.SetString(kUninstallPath, u"DisplayVersion", version);
  }
  void Unregister() { registry.RemoveValue(kUninstallPath, u"DisplayVersion"); }

  OperationResult PrepareAndInstall(const char16_t* folder) {
    const OperationResult prepared = operations.PreparePackage(folder);
    if (!prepared.Succeeded()) return prepared;
    return operations.InstallPackage();
  }
  int Install(const char16_t* folder) { return PrepareAndInstall(folder).Succeeded(); }
  int Remove() { return operations.RemovePreviousVersion().Succeeded(); }
  const ProgressContext& Progress() const { return operations.Progress(); }
  bool NothingLeft() const { return files.files.empty() && files.folders.empty() && files.OpenFiles() == 0; }

  CallLog log;
  FakeRegistry registry;
  FakeInstallerService service{log};
  FakePackageFiles files{log};
  RecordingObserver observer;
  RecordingLog runLog;
  InstantThreads threads{log};
  FakeInUse inUse;
  InstallerServices services{registry, service, files, observer, runLog, threads, inUse};
  InstallOperations operations{services, observer};
};

TEST_F(OperationsTest, NothingRegisteredMeansNothingToRemove) {
  EXPECT_EQ(Remove(), 1);
  EXPECT_EQ(log, CallLog{});
}

TEST_F(OperationsTest, RemovalPreparesTheServiceThenRemovesByProductCode) {
  Register(u"4.0.3.9");
  service.onRemove = [this] { Unregister(); };
  EXPECT_EQ(Remove(), 1);
  EXPECT_EQ(log, (CallLog{"SetInternalUI 0x102", "SetExternalUI 0x2007fff",
                          "ConfigureProduct " + Narrow(ProductConfig::ProductCode) + " 0 2 REBOOT=ReallySuppress"}));
  EXPECT_EQ(service.handler, &InstallerMessageHandler);
  EXPECT_EQ(service.context, &Progress());
  EXPECT_EQ(Progress().observer, &observer);
}

TEST_F(OperationsTest, ARemovalThatLeavesTheProductRegisteredFails) {
  Register(u"4.0.3.9");
  EXPECT_EQ(Remove(), 0);
}

struct FolderCase {
  const char16_t* folder;
  const char* commandLine;
};

class CommandLineTest : public OperationsTest, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(CommandLineTest, InstallsTheHeldPackageWithMaxDirThenDeletesIt) {
  bool heldDuringInstall = false;
  service.onInstall = [&] {
    heldDuringInstall = files.HeldAgainstWriting(kPackagePath);
    Register(u"4.0.4.0");
  };
  EXPECT_EQ(Install(GetParam().folder), 1);
  EXPECT_TRUE(heldDuringInstall);
  operations.DiscardPackage();
  const auto from = std::find(log.begin(), log.end(), "SetInternalUI 0x102");
  EXPECT_EQ(CallLog(from, log.end()),
            (CallLog{"SetInternalUI 0x102", "SetExternalUI 0x2007fff",
                     std::string("InstallProduct ") + kPackage + " " + GetParam().commandLine,
                     std::string("Close ") + kPackage + " reader",
                     std::string("RemoveFile ") + kPackage, std::string("RemoveFolder ") + kFolder}));
  EXPECT_TRUE(NothingLeft());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, CommandLineTest,
    ::testing::Values(
        FolderCase{u"C:\\Tools\\Host", "MAXDIR=\"C:\\Tools\\Host\" REBOOT=ReallySuppress"},
        FolderCase{u"C:\\Tools\\Host\\", "MAXDIR=\"C:\\Tools\\Host\\\" REBOOT=ReallySuppress"},
        FolderCase{u"", "MAXDIR=\"\" REBOOT=ReallySuppress"}));

TEST_F(OperationsTest, TheResultIsTheRegistrationNotTheInstall) {
  // The service rejects the install while an older copy stays registered.
  Register(u"4.0.3.9");
  EXPECT_EQ(Install(u"C:\\Host"), 1);
  Unregister();
  EXPECT_EQ(Install(u"C:\\Host"), 0);
  operations.DiscardPackage();
  EXPECT_TRUE(NothingLeft());
}

struct RefusedFolder {
  const char* name;
  std::u16string folder;
  std::u16string file;  // a file on the machine
  std::uint32_t code;
};

class RefusedFolderTest : public OperationsTest,
                          public ::testing::WithParamInterface<RefusedFolder> {};

// Before anything is written out, so before an older version is removed.
TEST_P(RefusedFolderTest, IsRefusedBeforeThePackageIsWritten) {
  if (!GetParam().file.empty()) files.files[GetParam().file];
  const auto before = files.files;
  const OperationResult result = operations.PreparePackage(GetParam().folder.c_str());
  EXPECT_EQ(result.failedStep, OperationStep::CheckFolder);
  EXPECT_EQ(result.Code(), GetParam().code);
  for (const std::string& line : log) EXPECT_EQ(line.rfind("IsFile ", 0), 0u) << line;
  EXPECT_EQ(files.files, before);
  EXPECT_EQ(operations.InstallPackage().failedStep, OperationStep::NoPackage);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, RefusedFolderTest,
    ::testing::Values(
        RefusedFolder{"TooLong", u"C:\\" + std::u16string(248, u'f'), u"", 206},
        RefusedFolder{"Quote", u"C:\\x\" REBOOT=\"Force", u"", 123},
        RefusedFolder{"NotLocal", u"\\\\server\\share", u"", 123},
        RefusedFolder{"IsAFile", u"C:\\Tools\\Host", u"C:\\Tools\\Host", 267},
        RefusedFolder{"IsAFileWithABackslash", u"C:\\Tools\\Host\\", u"C:\\Tools\\Host", 267},
        RefusedFolder{"IsBelowAFile", u"C:\\Tools\\Host\\2013", u"C:\\Tools", 267}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OperationsTest, AFolderOf250CharactersFits) {
  const std::u16string longest = u"C:\\" + std::u16string(247, u'f');
  service.onInstall = [this] { Register(u"4.0.4.0"); };
  EXPECT_EQ(Install(longest.c_str()), 1);
  EXPECT_NE(std::find(log.begin(), log.end(),
                      std::string("InstallProduct ") + kPackage + " MAXDIR=\"C:\\" +
                          std::string(247, 'f') + "\" REBOOT=ReallySuppress"),
            log.end());
}

TEST_F(OperationsTest, NoInstallerCallWithoutAPreparedPackage) {
  EXPECT_EQ(operations.InstallPackage().failedStep, OperationStep::NoPackage);
  files.noTempFolder = true;
  EXPECT_EQ(Install(u"C:\\Host"), 0);
  EXPECT_EQ(operations.InstallPackage().failedStep, OperationStep::NoPackage);
  files.noTempFolder = false;
  // An install uses the package up.
  EXPECT_EQ(Install(u"C:\\Host"), 0);
  EXPECT_EQ(operations.InstallPackage().failedStep, OperationStep::NoPackage);
  int installs = 0;
  for (const std::string& line : log) installs += line.rfind("InstallProduct ", 0) == 0;
  EXPECT_EQ(installs, 1);
}

TEST_F(OperationsTest, APackageThatIsNotInstalledIsDeleted) {
  ASSERT_TRUE(operations.PreparePackage(u"C:\\Host").Succeeded());
  operations.DiscardPackage();
  EXPECT_TRUE(NothingLeft());
  {
    InstallOperations ended(services, observer);
    ASSERT_TRUE(ended.PreparePackage(u"C:\\Host").Succeeded());
  }
  EXPECT_TRUE(NothingLeft());
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& line) { return line.rfind("Install", 0) == 0; }),
            0);
}

TEST_F(OperationsTest, AnUpgradeRemovesBetweenPreparingAndInstalling) {
  Register(u"4.0.3.9");
  ASSERT_TRUE(operations.PreparePackage(u"C:\\Host").Succeeded());
  service.messages = {{0x0A000000, true, u"1: 0 2: 100 3: 0 4: 0 "},
                      {0x0A000000, true, u"1: 2 2: 40 "}};
  service.onRemove = [this] { Unregister(); };
  ASSERT_EQ(Remove(), 1);
  EXPECT_EQ(observer.barPosition, 40);

  // Progress carries over: action data before the install's first reset
  // already shows; the level was set once, in the first call.
  service.messages = {{0x09000000, true, u"Writing"}, {0x0A000000, true, u"1: 2 2: 10 "}};
  service.onInstall = [this] { Register(u"4.0.4.0"); };
  observer.events.clear();
  EXPECT_TRUE(operations.InstallPackage().Succeeded());
  EXPECT_EQ(observer.events, (std::vector<std::string>{"text 'Writing'", "pos 50"}));
  EXPECT_EQ(service.answers, (std::vector<int>{1, 1, 1, 1}));
  EXPECT_NE(std::find(log.begin(), log.end(),
                      std::string("InstallProduct ") + kPackage +
                          " MAXDIR=\"C:\\Host\" REBOOT=ReallySuppress"),
            log.end());
  operations.DiscardPackage();
  EXPECT_TRUE(NothingLeft());
}

TEST_F(OperationsTest, AFailureNamesItsStepAndCode) {
  files.noTempFolder = true;
  const OperationResult noTemp = PrepareAndInstall(u"C:\\Host");
  EXPECT_EQ(noTemp.failedStep, OperationStep::TempFolder);
  EXPECT_EQ(noTemp.Code(), 5u);

  files.noTempFolder = false;
  service.installResult = 1603;
  const OperationResult rejected = PrepareAndInstall(u"C:\\Host");
  EXPECT_EQ(rejected.failedStep, OperationStep::InstallProduct);
  EXPECT_EQ(rejected.Code(), 1603u);

  // A restart request is a success that keeps its code.
  service.installResult = 3010;
  service.onInstall = [this] { Register(u"4.0.4.0"); };
  const OperationResult installed = PrepareAndInstall(u"C:\\Host");
  EXPECT_TRUE(installed.Succeeded());
  EXPECT_EQ(installed.Code(), 3010u);

  service.removeResult = 1605;
  service.onRemove = nullptr;
  const OperationResult stuck = operations.RemovePreviousVersion();
  EXPECT_EQ(stuck.failedStep, OperationStep::RemoveProduct);
  EXPECT_EQ(stuck.Code(), 1605u);
}

}  // namespace

namespace {

// Another installation holds the service: three more tries, 3 s apart, and
// then its code stands; a cancel ends the wait before the next try.
TEST_F(OperationsTest, ABusyServiceIsTriedThreeTimesMore) {
  struct {
    int busyCalls;
    int calls;
    unsigned int code;
    bool cancelled = false;
  } cases[] = {{0, 1, 0}, {2, 3, 0}, {9, 4, 1618}, {9, 1, 1618, true}};
  for (const auto& c : cases) {
    log.clear();
    if (c.cancelled) {
      EXPECT_EQ(operations.Cancel().Request(), CancelRefusal::None);
    }
    int busy = c.busyCalls;
    service.onInstall = [&] {
      service.installResult = busy-- > 0 ? 1618 : 0;
      if (service.installResult == 0) Register(u"4.0.4.0");
    };
    const OperationResult result = PrepareAndInstall(u"C:\\Host");
    EXPECT_EQ(result.Code(), c.code);
    EXPECT_EQ(result.Succeeded(), c.code == 0);
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& l) { return l.rfind("InstallProduct ", 0) == 0; }),
              c.calls);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Wait 3000"), c.cancelled ? 1 : c.calls - 1);
    EXPECT_EQ(operations.Cancel().ReachedService(), c.cancelled);
    Unregister();
  }
  EXPECT_TRUE(runLog.Has(u"Installing the package: failed at the install (not registered), error 1618"));
}

// A quiet run has no window for the handler, which answers only the
// service's questions about programs in use; the service shows nothing, and
// no program is shut down for it.
TEST_F(OperationsTest, AQuietRunHandlesFilesInUseOnlyAndShutsNothingDown) {
  InstallOperations quiet(services, observer, UiMode::Quiet);
  service.onInstall = [this] { Register(u"4.0.4.0"); };
  ASSERT_TRUE(quiet.PreparePackage(u"C:\\Host").Succeeded());
  EXPECT_TRUE(quiet.InstallPackage().Succeeded());
  EXPECT_EQ(std::count(log.begin(), log.end(), "SetInternalUI 0x2"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "SetExternalUI 0x2000020"), 1);
  EXPECT_NE(std::find(log.begin(), log.end(),
                      std::string("InstallProduct ") + kPackage +
                          " MAXDIR=\"C:\\Host\" REBOOT=ReallySuppress MSIRESTARTMANAGERCONTROL=DisableShutdown"),
            log.end());
}

}  // namespace
