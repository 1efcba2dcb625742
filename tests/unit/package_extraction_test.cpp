#include "installer/package_extraction.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "fake_installer.h"

namespace {

const std::u16string kFolder = u"C:\\Temp\\Kel0123456789ABCDEF";
const std::u16string kPackage = kFolder + u"\\package.msi";
const std::string kFolderText = "C:\\Temp\\Kel0123456789ABCDEF";
const std::string kPackageText = kFolderText + "\\package.msi";

class ExtractionTest : public ::testing::Test {
 protected:
  std::u16string Path() const { return package.Path() != nullptr ? package.Path() : u"(none)"; }

  CallLog log;
  FakePackageFiles files{log};
  ExtractedPackage package{files};
};

TEST_F(ExtractionTest, WritesIntoANewFolderAndHoldsThePackageUntilReleased) {
  ASSERT_TRUE(package.Extract().Succeeded());
  EXPECT_EQ(Path(), kPackage);
  EXPECT_EQ(files.files.at(kPackage), files.package);
  // The writer goes only once a reader holds the file, and the reader that
  // is kept lets nobody write.
  EXPECT_EQ(log, (CallLog{"CreateFolder " + kFolderText + " admins-only",
                          "CreateNewFile " + kPackageText + " admins-only", "Write 8",
                          "OpenForReading " + kPackageText + " writers-allowed",
                          "Close " + kPackageText + " writer",
                          "OpenForReading " + kPackageText + " writers-denied",
                          "Close " + kPackageText + " reader"}));
  EXPECT_EQ(files.OpenFiles(), 1);
  EXPECT_FALSE(files.OpenElsewhereToWrite(kPackage));

  log.clear();
  EXPECT_TRUE(package.Release().Succeeded());
  EXPECT_EQ(log, (CallLog{"Close " + kPackageText + " reader", "RemoveFile " + kPackageText,
                          "RemoveFolder " + kFolderText}));
  EXPECT_EQ(Path(), u"(none)");
  EXPECT_TRUE(files.files.empty());
  EXPECT_TRUE(files.folders.empty());
  EXPECT_EQ(files.OpenFiles(), 0);
}

TEST_F(ExtractionTest, OnlyAnElevatedProcessRestrictsTheFolderAndFile) {
  files.elevated = false;
  ASSERT_TRUE(package.Extract().Succeeded());
  EXPECT_EQ(log[0], "CreateFolder " + kFolderText + " default");
  EXPECT_EQ(log[1], "CreateNewFile " + kPackageText + " default");
}

TEST_F(ExtractionTest, AFolderThatExistsIsNeverUsed) {
  const std::u16string planted = kFolder + u"\\package.msi";
  files.folders.insert(kFolder);
  files.files[planted] = {'m', 'i', 'n', 'e'};
  ASSERT_TRUE(package.Extract().Succeeded());
  EXPECT_EQ(Path(), u"C:\\Temp\\Kel0123456789ABCDF0\\package.msi");
  package.Release();
  EXPECT_EQ(files.files.at(planted), (std::vector<std::uint8_t>{'m', 'i', 'n', 'e'}));
  EXPECT_EQ(files.folders, std::set<std::u16string>{kFolder});

  // Every name tried exists.
  log.clear();
  files.nextRandom = 0x0123456789ABCDEF;
  for (const char16_t* name : {u"C:\\Temp\\Kel0123456789ABCDF0", u"C:\\Temp\\Kel0123456789ABCDF1",
                               u"C:\\Temp\\Kel0123456789ABCDF2"})
    files.folders.insert(name);
  const OperationResult result = package.Extract();
  EXPECT_EQ(result.failedStep, OperationStep::WorkFolder);
  EXPECT_EQ(result.Code(), 183u);
  EXPECT_EQ(log.size(), 4u) << "only folder creations";
  EXPECT_EQ(files.folders.size(), 4u);
  EXPECT_EQ(files.files.at(planted), (std::vector<std::uint8_t>{'m', 'i', 'n', 'e'}));
}

TEST_F(ExtractionTest, TheLongestTempFolderThatFitsStillWorks) {
  // 228 units + "Kel" + 16 digits + "\package.msi" = 259 units.
  files.tempFolder = std::u16string(227, u'd') + u"\\";
  ASSERT_TRUE(package.Extract().Succeeded());
  EXPECT_EQ(Path().size(), kPathCapacity - 1);
}

struct FailureCase {
  const char* name;
  std::function<void(FakePackageFiles&)> arrange;
  OperationStep step;
  std::uint32_t code;
};

class ExtractionFailureTest : public ExtractionTest,
                              public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExtractionFailureTest, SaysWhyAndLeavesNothingOfItsOwn) {
  GetParam().arrange(files);
  const auto filesBefore = files.files;
  const auto foldersBefore = files.folders;
  const OperationResult result = package.Extract();
  EXPECT_EQ(result.failedStep, GetParam().step);
  EXPECT_EQ(result.Code(), GetParam().code);
  EXPECT_EQ(Path(), u"(none)");
  EXPECT_EQ(files.files, filesBefore);
  EXPECT_EQ(files.folders, foldersBefore);
  EXPECT_EQ(files.OpenFiles(), 0);
}

using enum OperationStep;

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtractionFailureTest,
    ::testing::Values(
        FailureCase{"NoTempFolder", [](FakePackageFiles& f) { f.noTempFolder = true; }, TempFolder, 5},
        FailureCase{"TempFolderLongerThanTheBuffer",
                    [](FakePackageFiles& f) { f.tempFolder = std::u16string(300, u'd'); }, TempFolder,
                    206},
        FailureCase{"TempFolderWithoutRoomForThePackage",
                    [](FakePackageFiles& f) { f.tempFolder = std::u16string(228, u'd') + u"\\"; },
                    TempFolder, 206},
        FailureCase{"NoRandomNumbers", [](FakePackageFiles& f) { f.noRandom = true; }, WorkFolder, 87},
        FailureCase{"TempFolderMissing", [](FakePackageFiles& f) { f.createFolderError = 3; },
                    WorkFolder, 3},
        FailureCase{"NoPackage", [](FakePackageFiles& f) { f.noPackage = true; }, PackageResource,
                    1814},
        FailureCase{"EmptyPackage", [](FakePackageFiles& f) { f.package.clear(); }, PackageResource,
                    1814},
        FailureCase{"CutDownload", [](FakePackageFiles& f) { f.packageCut = true; }, PackageRead, 38},
        FailureCase{"ReadFailsPartWay",
                    [](FakePackageFiles& f) {
                      f.packagePiece = 2;
                      f.packageReadable = 4;
                    },
                    PackageRead, 23},
        FailureCase{"ShortWrite", [](FakePackageFiles& f) { f.writeLimit = 3; }, WriteFile, 5},
        FailureCase{"FailedWrite", [](FakePackageFiles& f) { f.writeLimit = 0; }, WriteFile, 5},
        FailureCase{"FailedClose", [](FakePackageFiles& f) { f.closeFails = true; }, CloseFile, 1117}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExtractionTest, AWriterThatGetsInBeforeTheHoldFailsIt) {
  int opens = 0;
  files.beforeOpenForReading = [&](const std::u16string& path) {
    if (++opens == 2) {
      EXPECT_TRUE(files.OpenElsewhereToWrite(path));
    }
  };
  const OperationResult result = package.Extract();
  EXPECT_EQ(result.failedStep, OperationStep::HoldFile);
  EXPECT_EQ(result.Code(), 32u);
  EXPECT_EQ(files.OpenFiles(), 1) << "only the other writer's";
}

TEST_F(ExtractionTest, ALargePackageIsWrittenInPiecesOfAtMost8MiB) {
  files.package.assign((20u << 20) + 5, 0x5A);
  ASSERT_TRUE(package.Extract().Succeeded());
  EXPECT_EQ(files.files.at(kPackage), files.package);
  EXPECT_EQ(std::vector<std::string>(log.begin() + 2, log.begin() + 5),
            (CallLog{"Write 8388608", "Write 8388608", "Write 4194309"}));
}

struct RemovalCase {
  const char* name;
  int failures;  // deletes that fail before one works
  OperationStep step;
  int fileAttempts, folderAttempts, pauses;
};

class RemovalTest : public ExtractionTest, public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(RemovalTest, ADeleteThatFailsIsRetriedAFewTimes) {
  ASSERT_TRUE(package.Extract().Succeeded());
  log.clear();
  files.removeFailures = GetParam().failures;
  EXPECT_EQ(package.Release().failedStep, GetParam().step);
  auto count = [&](const std::string& start) {
    int n = 0;
    for (const std::string& line : log) n += line.rfind(start, 0) == 0;
    return n;
  };
  EXPECT_EQ(count("RemoveFile "), GetParam().fileAttempts);
  EXPECT_EQ(count("RemoveFolder "), GetParam().folderAttempts);
  EXPECT_EQ(count("Pause 100"), GetParam().pauses);
  EXPECT_EQ(files.OpenFiles(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemovalTest,
    ::testing::Values(RemovalCase{"ForAMoment", 2, None, 3, 1, 2},
                      RemovalCase{"ForGood", 1000, RemoveFile, 10, 10, 18}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExtractionTest, TheHeldPackageGoesWithItsOwner) {
  {
    ExtractedPackage owned(files);
    ASSERT_TRUE(owned.Extract().Succeeded());
  }
  EXPECT_TRUE(files.files.empty());
  EXPECT_TRUE(files.folders.empty());
  EXPECT_EQ(files.OpenFiles(), 0);
}

// /extract: the package, byte for byte, under its own name in a folder of
// the administrator's, made when missing; a failure leaves nothing of ours.
TEST(WritePackageTo, WritesTheWholePackageOrNothing) {
  const struct {
    const char* name;
    std::u16string folder;
    std::function<void(FakePackageFiles&)> arrange;
    OperationStep step;
    std::set<std::u16string> folders;  // afterwards
  } cases[] = {
      {"into new folders", u"C:\\Deploy\\Zephra\\", [](FakePackageFiles&) {}, OperationStep::None,
       {u"C:\\Deploy", u"C:\\Deploy\\Zephra"}},
      {"over an older copy, on a share", u"\\\\server\\share\\Zephra",
       [](FakePackageFiles& f) {
         f.folders.insert(u"\\\\server\\share\\Zephra");
         f.files[u"\\\\server\\share\\Zephra\\Zephra-4.0.4.0.msi"] = {1, 2, 3};
       },
       OperationStep::None, {u"\\\\server\\share\\Zephra"}},
      {"a folder that cannot be made", u"C:\\Deploy\\Zephra", [](FakePackageFiles& f) { f.createFolderError = 5; },
       OperationStep::ExtractFolder, {}},
      {"a disk that fills up", u"C:\\Deploy", [](FakePackageFiles& f) { f.writeLimit = 4; },
       OperationStep::ExtractFolder, {}},
      {"a rename that fails", u"C:\\Deploy", [](FakePackageFiles& f) { f.moveFails = true; },
       OperationStep::ExtractFolder, {}},
      {"a folder too long for the name", u"C:\\" + std::u16string(250, u'f'), [](FakePackageFiles&) {},
       OperationStep::ExtractFolder, {}},
      {"no package", u"C:\\Deploy", [](FakePackageFiles& f) { f.noPackage = true; }, OperationStep::PackageResource,
       {}},
      {"a cut download", u"C:\\Deploy", [](FakePackageFiles& f) { f.packageCut = true; }, OperationStep::PackageRead,
       {}},
      {"a read that fails part way", u"C:\\Deploy\\Zephra",
       [](FakePackageFiles& f) {
         f.packagePiece = 3;
         f.packageReadable = 3;
       },
       OperationStep::PackageRead, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CallLog log;
    FakePackageFiles files{log};
    c.arrange(files);
    const auto before = files.files;
    char16_t written[kPathCapacity];
    const OperationResult result = WritePackageTo(files, c.folder.c_str(), u"Zephra-4.0.4.0.msi", written);
    EXPECT_EQ(result.failedStep, c.step);
    EXPECT_EQ(files.folders, c.folders);
    EXPECT_EQ(files.OpenFiles(), 0);
    if (c.step != OperationStep::None) {
      EXPECT_EQ(files.files, before) << "something half-written stays";
      EXPECT_EQ(written[0], u'\0');
      continue;
    }
    std::u16string expected = c.folder;
    if (expected.back() != u'\\') expected += u'\\';
    expected += u"Zephra-4.0.4.0.msi";
    EXPECT_EQ(std::u16string(written), expected);
    EXPECT_EQ(files.files.size(), 1u);
    EXPECT_EQ(files.files.at(expected), files.package);
  }
}

}  // namespace
