#include "detect/detection.h"

#include <gtest/gtest.h>

#include <string>

#include "product/product_config.h"
#include "fake_registry.h"

namespace {

// Where the package and the host leave their traces, from the product's
// identity.
const std::u16string kProductKeyPath = std::u16string(u"SOFTWARE\\") + ProductConfig::MakerKey +
                                       u"\\" + ProductConfig::ProductKey + u"\\";
const std::u16string kUninstallPath =
    std::u16string(u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") +
    ProductConfig::ProductCode;
const std::u16string kHostKey = ProductConfig::HostKey;

std::u16string Text(const OwnedText& text) { return text ? std::u16string(text.get()) : u"<null>"; }

struct StateCase {
  const char* name;
  bool key;
  const char16_t* version;  // null: no "Version" value
  InstallState expected;
  bool registered = false;  // the uninstall entry has a display version
};

class DetectInstallStateTest : public ::testing::TestWithParam<StateCase> {};

TEST_P(DetectInstallStateTest, ComparesTheInstalledVersion) {
  const StateCase& c = GetParam();
  FakeRegistry registry;
  if (c.key) registry.AddKey(kProductKeyPath);
  if (c.version) registry.SetString(kProductKeyPath, u"Version", c.version);
  if (c.registered) registry.SetString(kUninstallPath, u"DisplayVersion", u"4.0");
  EXPECT_EQ(DetectInstallState(registry), c.expected);
  ASSERT_GE(registry.opens.size(), 1u);
  EXPECT_EQ(registry.opens[0].path, kProductKeyPath);
  EXPECT_EQ(registry.OpenHandles(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    States, DetectInstallStateTest,
    ::testing::Values(StateCase{"NoKey", false, nullptr, InstallState::NotInstalled},
                      StateCase{"NoValue", true, nullptr, InstallState::NotInstalled},
                      StateCase{"Same", true, u"4.0.4.0", InstallState::UpToDate},
                      StateCase{"Older", true, u"4.0.3.9", InstallState::OlderInstalled},
                      StateCase{"Newer", true, u"4.1", InstallState::UpToDate},
                      StateCase{"Prefix", true, u"4.0", InstallState::OlderInstalled},
                      StateCase{"ShortSame", true, u"4.0.4", InstallState::UpToDate},
                      StateCase{"RegisteredNoValue", true, nullptr, InstallState::OlderInstalled, true},
                      StateCase{"RegisteredNoKey", false, nullptr, InstallState::OlderInstalled, true},
                      StateCase{"Longer", true, u"4.0.4.0.1", InstallState::UpToDate},
                      StateCase{"Empty", true, u"", InstallState::OlderInstalled},
                      StateCase{"Word", true, u"latest", InstallState::OlderInstalled}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DetectInstallState, RemembersNothingBetweenCalls) {
  FakeRegistry registry;
  registry.SetString(kProductKeyPath, u"Version", u"4.0.3.9");
  EXPECT_EQ(DetectInstallState(registry), InstallState::OlderInstalled);
  registry.SetString(kProductKeyPath, u"Version", u"4.0.4.0");
  EXPECT_EQ(DetectInstallState(registry), InstallState::UpToDate);
  registry.RemoveValue(kProductKeyPath, u"Version");
  EXPECT_EQ(DetectInstallState(registry), InstallState::NotInstalled);
}

TEST(DetectInstallState, ReadsTheViewTheEnvironmentNames) {
  FakeRegistry registry;
  registry.SetString(kProductKeyPath, u"Version", u"4.0.4.0");
  registry.SetEnv(u"PROCESSOR_ARCHITECTURE", u"x86");
  DetectInstallState(registry);
  IsProductRegistered(registry);
  DetectInstallFolder(registry);
  registry.SetEnv(u"PROCESSOR_ARCHITEW6432", u"AMD64");
  DetectInstallState(registry);
  IsProductRegistered(registry);
  DetectInstallFolder(registry);
  ASSERT_EQ(registry.opens.size(), 6u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(registry.opens[i].mask, 0x101u);
  for (int i = 3; i < 6; ++i) EXPECT_EQ(registry.opens[i].mask, 0x201u);
}

TEST(IsProductRegistered, NeedsADisplayVersionOfAnyText) {
  FakeRegistry registry;
  EXPECT_FALSE(IsProductRegistered(registry));
  registry.AddKey(kUninstallPath);
  EXPECT_FALSE(IsProductRegistered(registry));
  registry.SetString(kUninstallPath, u"DisplayVersion", u"");
  EXPECT_TRUE(IsProductRegistered(registry));
  registry.SetString(kUninstallPath, u"DisplayVersion", u"4.0.4.0");
  EXPECT_TRUE(IsProductRegistered(registry));
  EXPECT_EQ(registry.opens.back().path, kUninstallPath);
  EXPECT_EQ(registry.OpenHandles(), 0);
}

struct FolderCase {
  const char* name;
  const char16_t* installdir;    // null: no value
  const char16_t* programFiles;  // null: not set
  std::u16string expected;
};

class DetectInstallFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(DetectInstallFolderTest, OffersTheHostFolderElseTheDefault) {
  const FolderCase& c = GetParam();
  FakeRegistry registry;
  registry.AddKey(kHostKey);
  if (c.installdir) registry.SetString(kHostKey, u"Installdir", c.installdir);
  if (c.programFiles) registry.SetEnv(u"ProgramFiles", c.programFiles);
  EXPECT_EQ(Text(DetectInstallFolder(registry)), c.expected);
  EXPECT_EQ(registry.opens.at(0).path, kHostKey);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, DetectInstallFolderTest,
    ::testing::Values(
        FolderCase{"Verbatim", u"D:\\Max 2013\\", u"C:\\Program Files", u"D:\\Max 2013\\"},
        FolderCase{"NoTrailingBackslash", u"D:\\Max", u"C:\\PF", u"D:\\Max"},
        FolderCase{"EmptyValue", u"", u"C:\\PF", u""},
        FolderCase{"Default", nullptr, u"C:\\Program Files (x86)",
                   u"C:\\Program Files (x86)\\Autodesk\\3ds Max Design 2013\\"},
        FolderCase{"NotNormalised", nullptr, u"C:\\PF\\", u"C:\\PF\\\\Autodesk\\3ds Max Design 2013\\"},
        FolderCase{"NoProgramFiles", nullptr, nullptr, u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DetectInstallFolder, ExpandsAnExpandableValueAndTakesOnlyText) {
  FakeRegistry registry;
  registry.SetEnv(u"ProgramFiles", u"C:\\PF");
  registry.SetEnv(u"HostRoot", u"D:\\Hosts");
  registry.SetTyped(kHostKey, u"Installdir", u"%HostRoot%\\Max", kRegistryTypeExpandString);
  EXPECT_EQ(Text(DetectInstallFolder(registry)), u"D:\\Hosts\\Max");
  registry.SetTyped(kHostKey, u"Installdir", u"C:\\Max", 4);  // REG_DWORD
  EXPECT_EQ(Text(DetectInstallFolder(registry)), u"C:\\PF\\Autodesk\\3ds Max Design 2013\\");
  EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST(DetectInstallFolder, WithoutTheHostKeyFallsBack) {
  FakeRegistry registry;
  registry.SetEnv(u"ProgramFiles", u"C:\\Program Files");
  EXPECT_EQ(Text(DetectInstallFolder(registry)),
            u"C:\\Program Files\\Autodesk\\3ds Max Design 2013\\");
  EXPECT_EQ(registry.nullCloses, 1);
}

}  // namespace
