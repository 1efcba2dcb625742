// Who holds the plug-in: the programs found by their modules, the host's
// folder and Restart Manager, and the box that names them.
#include "installer/in_use.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_installer.h"
#include "recording_observer.h"
#include "product/product_config.h"

namespace {

std::vector<std::string> Found(const HoldingPrograms& programs) {
  std::vector<std::string> found;
  for (std::size_t i = 0; i < programs.Kept(); ++i) {
    found.push_back(std::to_string(programs[i].processId) + " " + Narrow(ProgramName(programs, i)));
  }
  return found;
}

TEST(FindHoldingPrograms, FindsWhatHoldsThePluginAndNamesItAsTheUserKnowsIt) {
  const std::u16string plugin = u"C:\\Host\\plugins\\Zephra.dll";
  // looked: the walk over every process's modules and Restart Manager were
  // asked, which only a busy file or a program from the host's folder
  // warrants.
  struct {
    const char* name;
    std::vector<FakeInUse::Process> processes;
    std::vector<FakeInUse::Holder> restartManager;
    std::vector<std::u16string> locked;
    std::vector<std::string> found;
    bool looked;
  } cases[] = {
      {"the host with the plug-in loaded, named by its description",
       {{7, u"C:\\Host\\host.exe", {u"C:\\windows\\system32\\kernel32.dll", u"c:/host/PLUGINS/zephra.dll"},
         u"3ds Max Design 2013"}},
       {}, {}, {"7 3ds Max Design 2013"}, true},
      {"a program started from the host's folder, without a description",
       {{8, u"C:\\Host\\tools\\render.exe", {}, u""}}, {}, {}, {"8 render.exe"}, true},
      {"a component's file loaded from elsewhere", {{9, u"D:\\x.exe", {u"E:\\Shared\\zephra_ui.dll"}, u""}}, {},
       {}, {"9 x.exe"}, true},
      {"another library of the plug-in's folder loaded",
       {{12, u"D:\\viewer.exe", {u"C:\\Host\\plugins\\other.dll"}, u""}}, {}, {}, {"12 viewer.exe"}, true},
      {"programs that hold nothing of it: no walk at all",
       {{10, u"C:\\Hosts\\other.exe", {u"C:\\Host\\pluginsX\\a.dll", u"C:\\Hostile\\b.dll"}, u""}}, {}, {}, {},
       false},
      {"Restart Manager's name first, each process once",
       {{7, u"C:\\Host\\host.exe", {plugin}, u"Description"}}, {{7, u"Host Application", u"C:\\Host\\host.exe"}},
       {}, {"7 Host Application"}, true},
      {"a file held that only Restart Manager can name", {}, {{11, u"Backup Agent", u"C:\\b.exe"}}, {plugin},
       {"11 Backup Agent"}, true},
  };
  for (const auto& c : cases) {
    FakeInUse system;
    system.processes = c.processes;
    system.restartManager = c.restartManager;
    system.lockedFiles = c.locked;
    InUseTargets targets;
    CopyText(targets.pluginFolder, kPathCapacity, u"C:\\Host\\plugins\\");
    CopyText(targets.hostFolder, kPathCapacity, u"C:\\Host\\tools");
    targets.AddFile(plugin.c_str());
    targets.AddFile(u"E:\\Shared\\zephra_ui.dll");
    HoldingPrograms found;
    FindHoldingPrograms(targets, system, found);
    EXPECT_EQ(Found(found), c.found) << c.name;
    EXPECT_EQ(system.looks > 0, c.looked) << c.name;
    const std::vector<std::u16string> asked =
        c.looked ? std::vector<std::u16string>{plugin, u"E:\\Shared\\zephra_ui.dll"} : std::vector<std::u16string>{};
    EXPECT_EQ(system.askedRestartManager, asked) << c.name;
  }
}

TEST(InUseText, NamesEachProgramAtMostTenAndSaysHowManyMore) {
  const std::u16string head = std::u16string(u"These programs use files of ") + ProductConfig::DisplayName + u":\n";
  const std::u16string tail =
      u"\n\nClose them and choose Try Again, or choose Continue to finish the installation at the next restart "
      u"of Windows.";
  HoldingPrograms one;
  one.Add(7, u"3ds Max Design 2013", u"C:\\Host\\3dsmax.exe");
  char16_t text[kInUseTextCapacity];
  EXPECT_EQ(std::u16string(InUseText(one, text)), head + u"\n3ds Max Design 2013 (3dsmax.exe)" + tail);

  HoldingPrograms twelve;
  std::u16string lines;
  for (std::uint32_t i = 1; i <= 12; ++i) {
    const std::u16string number(1, static_cast<char16_t>(u'a' + i));
    twelve.Add(i, nullptr, (u"C:\\" + number + u".exe").c_str());
    if (i <= 10) lines += u"\n" + number + u".exe";
  }
  EXPECT_EQ(std::u16string(InUseText(twelve, text)), head + lines + u"\nand 2 more" + tail);

  // A name of any length is cut, and the rest of the box stays.
  HoldingPrograms long_name;
  long_name.Add(7, std::u16string(300, u'n').c_str(), (u"C:\\" + std::u16string(300, u'f') + u".exe").c_str());
  const std::u16string shown = InUseText(long_name, text);
  EXPECT_EQ(shown.rfind(head, 0), 0u);
  EXPECT_EQ(shown.substr(shown.size() - tail.size()), tail);
  EXPECT_NE(shown.find(std::u16string(60, u'n') + u"... ("), std::u16string::npos) << Narrow(shown);
  EXPECT_LT(shown.size(), head.size() + tail.size() + 120);
}

TEST(HoldingPrograms, KeepsSixteenAndCountsTheRestEachProcessOnce) {
  HoldingPrograms programs;
  programs.Add(3, nullptr, u"x.exe");
  programs.Add(3, u"Named later", u"x.exe");
  programs.Add(0, nullptr, u"C:\\Y.exe");
  programs.Add(0, nullptr, u"c:\\y.EXE");
  EXPECT_EQ(programs.Count(), 2u);
  EXPECT_EQ(Narrow(ProgramName(programs, 0)), "Named later");
  for (std::uint32_t i = 10; i < 30; ++i) programs.Add(i, nullptr, u"x.exe");
  EXPECT_EQ(programs.Count(), 22u);
  EXPECT_EQ(programs.Kept(), 16u);
}

}  // namespace
