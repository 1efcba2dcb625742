#include "installer/folder_check.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CheckFolderText, AcceptsOnlyLocalFullPathsThatFitTheCommandLine) {
  const std::u16string longest = u"C:\\" + std::u16string(247, u'f');
  const std::u16string tooLong = longest + u"f";
  struct {
    std::u16string folder;
    FolderProblem problem;
  } cases[] = {
      {u"C:\\Program Files\\Host 2013\\", FolderProblem::None},
      {u"d:/tools", FolderProblem::None},
      {u"", FolderProblem::None},
      {longest, FolderProblem::None},
      {tooLong, FolderProblem::TooLong},
      {u"C:\\x\" REBOOT=\"Force", FolderProblem::Quote},
      {u"C:\\a\tb", FolderProblem::Control},
      {u"C:\\a\nREBOOT=Force", FolderProblem::Control},
      {u"C:relative", FolderProblem::NotLocal},
      {u"Host", FolderProblem::NotLocal},
      {u"\\\\server\\share", FolderProblem::NotLocal},
      {u"\\\\?\\C:\\long", FolderProblem::NotLocal},
      {u"C:", FolderProblem::NotLocal},
      {u"1:\\x", FolderProblem::NotLocal},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckFolderText(c.folder.c_str()), c.problem)
        << std::string(c.folder.begin(), c.folder.end());
  }
  EXPECT_EQ(CheckFolderText(nullptr), FolderProblem::NotLocal);
}

}  // namespace
