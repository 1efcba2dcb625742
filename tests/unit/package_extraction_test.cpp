#include "installer/package_extraction.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fake_installer.h"

namespace {

class ExtractionTest : public ::testing::Test {
 protected:
  std::u16string Path() const { return path; }

  CallLog log;
  FakePackageFiles files{log};
  char16_t path[kPathCapacity] = u"untouched";
};

TEST_F(ExtractionTest, WritesThePackageToTheTempNameWithMsiAppended) {
  ASSERT_TRUE(ExtractPackage(files, path).Succeeded());
  EXPECT_EQ(Path(), u"C:\\Temp\\Kel1A2B.tmp.msi");
  // The empty file of the temp-name service is gone, the package stays.
  ASSERT_EQ(files.files.size(), 1u);
  EXPECT_EQ(files.files.at(Path()), files.package);
  EXPECT_EQ(files.OpenFiles(), 0);
  EXPECT_EQ(log, (CallLog{"CreateTempName C:\\Temp\\Kel1A2B.tmp", "RemoveFile C:\\Temp\\Kel1A2B.tmp",
                          "CreateNewFile C:\\Temp\\Kel1A2B.tmp.msi", "Write 8", "Close"}));
}

TEST_F(ExtractionTest, TheLongestFolderThatFitsStillWorks) {
  // 244 units + "Kel" + "1A2B" + ".tmp" + ".msi" = 259 units.
  files.tempFolder = std::u16string(243, u'd') + u"\\";
  ASSERT_TRUE(ExtractPackage(files, path).Succeeded());
  EXPECT_EQ(Path().size(), kPathCapacity - 1);
}

struct FailureCase {
  const char* name;
  std::function<void(FakePackageFiles&)> arrange;
  bool pathUnchanged;
};

class ExtractionFailureTest : public ExtractionTest,
                              public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExtractionFailureTest, ReturnsFalseAndLeavesNoFileOfItsOwn) {
  GetParam().arrange(files);
  const auto before = files.files;
  EXPECT_FALSE(ExtractPackage(files, path).Succeeded());
  EXPECT_EQ(files.files, before);
  EXPECT_EQ(files.OpenFiles(), 0);
  if (GetParam().pathUnchanged) {
    EXPECT_EQ(Path(), u"untouched");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtractionFailureTest,
    ::testing::Values(
        FailureCase{"NoTempFolder", [](FakePackageFiles& f) { f.noTempFolder = true; }, true},
        FailureCase{"TempFolderLongerThanTheBuffer",
                    [](FakePackageFiles& f) { f.tempFolder = std::u16string(300, u'd'); }, true},
        FailureCase{"TempFolderWithoutRoomForAName",
                    [](FakePackageFiles& f) { f.tempFolder = std::u16string(247, u'd'); }, true},
        FailureCase{"NoTempName", [](FakePackageFiles& f) { f.tempNameFails = true; }, true},
        FailureCase{"NoRoomForMsi",
                    [](FakePackageFiles& f) { f.tempFolder = std::u16string(244, u'd') + u"\\"; },
                    false},
        FailureCase{"NoPackage", [](FakePackageFiles& f) { f.noPackage = true; }, false},
        FailureCase{"EmptyPackage", [](FakePackageFiles& f) { f.package.clear(); }, false},
        FailureCase{"ShortWrite", [](FakePackageFiles& f) { f.writeLimit = 3; }, false},
        FailureCase{"FailedWrite", [](FakePackageFiles& f) { f.writeLimit = 0; }, false},
        FailureCase{"FailedClose", [](FakePackageFiles& f) { f.closeFails = true; }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExtractionTest, ALargePackageIsWrittenInPiecesOfAtMost8MiB) {
  files.package.assign((20u << 20) + 5, 0x5A);
  ASSERT_TRUE(ExtractPackage(files, path).Succeeded());
  EXPECT_EQ(files.files.at(Path()), files.package);
  EXPECT_EQ(std::vector<std::string>(log.begin() + 3, log.end()),
            (CallLog{"Write 8388608", "Write 8388608", "Write 4194309", "Close"}));
}

TEST_F(ExtractionTest, APlantedFileIsNeitherWrittenNorRemoved) {
  const std::vector<std::uint8_t> kPlanted = {'m', 'i', 'n', 'e'};
  files.afterTempName = [&](const std::u16string& name) { files.files[name + u".msi"] = kPlanted; };
  EXPECT_FALSE(ExtractPackage(files, path).Succeeded());
  EXPECT_EQ(files.files.at(u"C:\\Temp\\Kel1A2B.tmp.msi"), kPlanted);
  EXPECT_EQ(log.back(), "CreateNewFile C:\\Temp\\Kel1A2B.tmp.msi");
}

}  // namespace
