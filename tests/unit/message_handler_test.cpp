#include "installer/message_handler.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "recording_observer.h"
#include "fake_installer.h"
#include "recording_log.h"
#include "installer/cancel_gate.h"
#include "installer/in_use.h"
#include "installer/progress_context.h"
#include "std_threads.h"

namespace {

constexpr unsigned int kFatal = 0x00000000;
constexpr unsigned int kError = 0x01000000;
constexpr unsigned int kActionStart = 0x08000000;
constexpr unsigned int kActionData = 0x09000000;
constexpr unsigned int kProgress = 0x0A000000;
constexpr unsigned int kCommonData = 0x0B000000;

using Events = std::vector<std::string>;

std::u16string Number(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

class HandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // As the operations leave it before their installer call.
    progress.observer = &observer;
    progress.codePage = &observer;
    progress.service = &service;
    progress.firstCall = 0;
  }

  // Sends one message and returns its answer; observer.events then holds
  // only what this message did.
  int Send(unsigned int type, const char16_t* text) {
    observer.events.clear();
    return InstallerMessageHandler(&progress, type, text);
  }

  CallLog log;
  FakeInstallerService service{log};
  RecordingObserver observer;
  ProgressContext progress;
};

TEST_F(HandlerTest, FirstMessageOfTheProcessSetsTheBasicLevelOnce) {
  progress.firstCall = 1;
  EXPECT_EQ(Send(kProgress, nullptr), 0);
  EXPECT_EQ(log, CallLog{"SetInternalUI 0x3"});
  EXPECT_EQ(Send(kFatal, nullptr), 0);
  EXPECT_EQ(Send(kProgress, u"1: 0 2: 10 3: 0 4: 0 "), 1);
  EXPECT_EQ(observer.events, (Events{"range 10", "pos 0"}));
}

// No one is there to click: errors go to the log and back to the service
// unanswered, and the service's UI level stays as the run set it.
TEST_F(HandlerTest, AnUnattendedRunShowsNoBoxAndLogsTheError) {
  RecordingLog runLog;
  progress.log = &runLog;
  progress.unattended = true;
  progress.firstCall = 1;
  for (unsigned int kind : {kFatal, kError | 0x30, 0x02000000u}) {
    EXPECT_EQ(Send(kind, u"Disk full"), 0);
    EXPECT_EQ(observer.events, Events{});
  }
  EXPECT_EQ(log, CallLog{});
  EXPECT_EQ(runLog.lines, std::vector<std::u16string>(3, u"The service says: Disk full"));
}

TEST_F(HandlerTest, WithoutObserverAndCodePageNothingIsHandled) {
  progress.observer = nullptr;
  progress.codePage = nullptr;
  EXPECT_EQ(Send(kActionStart, u"Action"), 0);
  EXPECT_FALSE(ParseProgressMessage(progress, u"1: 0 2: 10 3: 0 4: 0 "));
  EXPECT_FALSE(ParseCommonDataMessage(progress, u"1: 0 2: 1033 "));
  EXPECT_EQ(InstallerMessageHandler(nullptr, kActionStart, u"Action"), 0);
}

struct KindCase {
  unsigned int kind;
  int answer;
  Events events;  // for the text "Text" with style flags 0x31
};

TEST_F(HandlerTest, AnswersEachKind) {
  const KindCase cases[] = {
      {0x00, 4, {"ask FatalExit 'Text' 0x31 lang 0"}},
      {0x01, 4, {"ask Error 'Text' 0x31 lang 0"}},
      {0x02, 4, {"ask Warning 'Text' 0x31 lang 0"}},
      // Files in use (0x05, 0x19) have a test of their own.
      {0x03, 1, {}}, {0x04, 1, {}}, {0x06, 0, {}}, {0x07, 1, {}},
      {0x08, 1, {}}, {0x09, 1, {}}, {0x0A, 1, {}}, {0x0B, 1, {}}, {0x0C, 1, {}},
      {0x0D, 1, {}}, {0x0E, 1, {}}, {0x0F, 0, {}}, {0x18, 0, {}}, {0x1A, 0, {}}, {0x80, 0, {}},
      {0xC3, 0, {}}, {0xFF, 0, {}},
  };
  observer.answer = 4;  // IDRETRY goes back to the service as it is
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.kind);
    EXPECT_EQ(Send(c.kind << 24 | 0x31, u"Text"), c.answer);
    EXPECT_EQ(observer.events, c.events);
    EXPECT_EQ(Send(c.kind << 24 | 0x31, nullptr), 0);
    EXPECT_EQ(observer.events, Events{});
  }
}

struct Step {
  unsigned int type;
  const char16_t* text;
  Events events;
};

struct SequenceCase {
  const char* name;
  std::vector<Step> steps;
};

class HandlerSequenceTest : public HandlerTest, public ::testing::WithParamInterface<SequenceCase> {};

TEST_P(HandlerSequenceTest, ProducesTheEffects) {
  int index = 0;
  for (const Step& step : GetParam().steps) {
    SCOPED_TRACE(::testing::Message() << "step " << index++);
    const bool isBox = (step.type >> 24) <= 2;
    EXPECT_EQ(Send(step.type, step.text), isBox ? observer.answer : 1);
    EXPECT_EQ(observer.events, step.events);
  }
}

const char16_t kForward100[] = u"1: 0 2: 100 3: 0 4: 0 ";
const char16_t kBackward100[] = u"1: 0 2: 100 3: 1 4: 0 ";
const char16_t kReport25[] = u"1: 2 2: 25 ";
const char16_t kStepOn[] = u"1: 1 2: 10 3: 1 ";
const Events kPleaseWait = {"text 'Please wait...'"};

INSTANTIATE_TEST_SUITE_P(
    Messages, HandlerSequenceTest,
    ::testing::Values(
        SequenceCase{"ScriptResetThenResetsShowItFinished",
                     {{kProgress, u"1: 0 2: 200 3: 0 4: 1 ",
                       {"range 200", "pos 0", kPleaseWait[0]}},
                      {kProgress, u"1: 0 2: 200 3: 0 4: 1 ",
                       {"range 200", "pos 200", kPleaseWait[0]}},
                      {kProgress, u"1: 0 2: 50 3: 0 4: 0 ", {"range 50", "pos 50"}},
                      {kProgress, u"1: 0 2: 50 3: 0 4: 0 ", {"range 50", "pos 0"}}}},
        SequenceCase{"BackwardResetStartsFull",
                     {{kProgress, u"1: 0 2: 80 3: 1 4: 0 ", {"range 80", "pos 80"}}}},
        SequenceCase{"ActionInfoStepsActionDataUntilActionStart",
                     {{kProgress, kForward100, {"range 100", "pos 0"}},
                      {kProgress, kStepOn, {"step 10"}},
                      {kActionData, u"File a", {"text 'File a'", "stepit"}},
                      {kActionData, u"File b", {"text 'File b'", "stepit"}},
                      {kActionStart, u"Action 2", {}},
                      {kActionData, u"File c", {"text 'File c'"}},
                      {kProgress, kStepOn, {"step 10"}},
                      {kProgress, u"1: 1 2: 10 3: 0 ", {}},
                      {kActionData, u"File d", {"text 'File d'"}}}},
        SequenceCase{"BackwardActionInfoStepsDown",
                     {{kProgress, kBackward100, {"range 100", "pos 100"}},
                      {kProgress, kStepOn, {"step -10"}},
                      {kActionData, u"File", {"text 'File'", "stepit"}}}},
        SequenceCase{"ReportsMoveOnlyAfterANonZeroReset",
                     {{kProgress, kReport25, {}},
                      {kActionData, u"File", {}},
                      {kProgress, u"1: 0 2: 0 3: 0 4: 0 ", {"range 0", "pos 0"}},
                      {kProgress, kReport25, {}},
                      {kProgress, kForward100, {"range 100", "pos 0"}},
                      {kProgress, kReport25, {"pos 25"}},
                      {kProgress, kReport25, {"pos 50"}},
                      {kProgress, u"1: 3 2: 100", {}},
                      {kProgress, kForward100, {"range 100", "pos 0"}},
                      {kProgress, kReport25, {"pos 25"}}}},
        SequenceCase{"BackwardReportsRunFromFullToEmpty",
                     {{kProgress, kBackward100, {"range 100", "pos 100"}},
                      {kProgress, kReport25, {"pos 75"}},
                      {kProgress, kReport25, {"pos 50"}},
                      {kProgress, u"1: 2 2: 60 ", {"pos 0"}},
                      {kProgress, u"1: 2 2: -300 ", {"pos 100"}}}},
        SequenceCase{"ReportCountsWrapInsteadOfOverflowing",
                     {{kProgress, kForward100, {"range 100", "pos 0"}},
                      {kProgress, u"1: 2 2: 2147483647 ", {"pos 2147483647"}},
                      {kProgress, u"1: 2 2: 2 ", {"pos -2147483647"}}}},
        SequenceCase{"ResetWithoutTrailingFieldsKeepsTheLastOnes",
                     {{kProgress, u"1: 0 2: 80 3: 1 4: 1 ",
                       {"range 80", "pos 80", kPleaseWait[0]}},
                      {kProgress, u"1: 0 2: 100",
                       {"range 100", "pos 100", kPleaseWait[0]}}}},
        SequenceCase{"UnparsableProgressChangesNothing",
                     {{kProgress, kForward100, {"range 100", "pos 0"}},
                      {kProgress, u"1: x 2: 5", {}},
                      {kProgress, u"", {}},
                      {kProgress, u"1: 2 2", {}},
                      {kProgress, kReport25, {"pos 25"}}}},
        // What the service is doing: an action's description, and its
        // data where the package gives it a template; never a row of
        // numbered fields.
        SequenceCase{"ActionTextIsTheDescriptionAndTemplatedData",
                     {{kProgress, kForward100, {"range 100", "pos 0"}},
                      {kActionStart, u"Action 6:33:11: WriteRegistryValues. Writing system registry values",
                       {"text 'Writing system registry values'"}},
                      {kActionData, u"Key: HKEY_LOCAL_MACHINE\\Software, Name: Version",
                       {"text 'Key: HKEY_LOCAL_MACHINE\\Software, Name: Version'"}},
                      {kActionStart, u"Action 6:33:11: INSTALL. ", {}},
                      {kActionData, u"1: {5B0C71A2-93D4-4E1F-A6C8-2D7E40B95F13} 2: {8E0F} 3: 02:\\Software", {}},
                      {kActionData, u"1:  ", {}},
                      {kActionData, u"1:", {}},
                      {kActionData, u"1: 2: 3:", {}},
                      {kActionStart, u"Aktion 16:12:53: InstallFiles. Neue Dateien werden kopiert",
                       {"text 'Neue Dateien werden kopiert'"}},
                      {kActionStart, u"Action 16:12:53: Name.", {}},
                      {kActionStart, u"Action: no name period", {}},
                      {kActionStart, u"", {}},
                      {kActionData, u"10: files", {"text '10: files'"}}}},
        SequenceCase{"ErrorBoxFollowsTheAnnouncedLanguage",
                     {{kError | 0x30, u"Disk full",
                       {"ask Error 'Disk full' 0x30 lang 0"}},
                      {kCommonData, u"1: 0 2: 1033 3: 1252 ", {}},
                      {kError | 0x34, u"Disk full",
                       {"ask Error 'Disk full' 0x34 lang 1033"}},
                      {kCommonData, u"1: 0 2: 67536 ", {}},
                      {kError, u"Again", {"ask Error 'Again' 0x0 lang 2000"}}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct CancelCase {
  const char* name;
  bool requested;
  bool closed;                 // an upgrade's removal has removed the older version
  const char16_t* commonData;  // the service's word on cancelling, after the request, or null
  bool rollingBack;            // the service reports backward
  int answer;                  // to progress, action start and action data alike
};

TEST_F(HandlerTest, CancelsOnlyWhenTakenPossibleAndNotRollingBack) {
  const CancelCase cases[] = {
      {"not asked", false, false, nullptr, false, 1},
      {"asked", true, false, nullptr, false, 2},
      {"asked, the service allows it", true, false, u"1: 2 2: 1 ", false, 2},
      {"asked, then the service forbids it", true, false, u"1: 2 2: 0 ", false, 1},
      {"asked, then the service forbids it through its template", true, false, u"Message type: 2, Argument: 0", false, 1},
      {"asked, then a rollback", true, false, nullptr, true, 1},
      {"asked after an upgrade's removal", true, true, nullptr, false, 1},
  };
  StdThreads threads;
  for (const CancelCase& c : cases) {
    SCOPED_TRACE(c.name);
    CancelGate gate(threads);
    if (c.closed) gate.Close();
    if (c.requested) gate.Request();
    progress.cancel = &gate;
    if (c.commonData != nullptr) Send(kCommonData, c.commonData);
    if (c.rollingBack) Send(kProgress, u"1: 0 2: 100 3: 1 4: 0 ");
    for (unsigned int kind : {kProgress, kActionStart, kActionData}) {
      EXPECT_EQ(Send(kind, kind == kProgress ? u"1: 2 2: 1 " : u"Action"), c.answer) << kind;
    }
    EXPECT_EQ(gate.ReachedService(), c.answer == 2);
    // A question is the user's to answer, cancel or not; the user's Cancel
    // there is a cancel of the run.
    EXPECT_EQ(Send(kError | 0x31, u"Disk full"), observer.answer);
    observer.answer = 2;
    EXPECT_EQ(Send(kError | 0x31, u"Disk full"), 2);
    EXPECT_TRUE(gate.ReachedService());
    observer.answer = 1;
  }
  progress.cancel = nullptr;
}

// The service's files-in-use messages: the user answers in our box, and
// the service gets the answer it knows; nobody there, the run goes on.
TEST_F(HandlerTest, FilesInUseAreAskedAndAnsweredAsTheServiceExpects) {
  constexpr unsigned int kFilesInUse = 0x05000000;
  constexpr unsigned int kRmFilesInUse = 0x19000000;
  const struct {
    const char* name;
    bool unattended;
    int user;    // the button of our box (0: no window)
    int answer;  // to the service
  } cases[] = {
      {"Try Again: the service looks again", false, kAnswerTryAgain, 4},
      {"Continue: go on, a restart finishes it", false, kAnswerContinue, 5},
      {"Cancel: the user's cancel", false, 2, 2},
      {"no window", false, 0, 5},
      {"unattended: go on, never shut anything down", true, 2, 5},
  };
  StdThreads threads;
  RecordingLog runLog;
  progress.log = &runLog;
  for (const auto& c : cases) {
    for (unsigned int kind : {kFilesInUse, kRmFilesInUse}) {
      SCOPED_TRACE(std::string(c.name) + (kind == kRmFilesInUse ? " (Restart Manager)" : ""));
      CancelGate gate(threads);
      HoldingPrograms held;
      progress.cancel = &gate;
      progress.heldBy = &held;
      progress.unattended = c.unattended;
      observer.answer = c.user;
      runLog.lines.clear();
      const char16_t* text = kind == kFilesInUse ? u"1: C:\\Host\\3dsmax.exe 2: 3ds Max Design 2013 "
                                                 : u"1: 1 2: 7 3: 3ds Max Design 2013 ";
      EXPECT_EQ(Send(kind, text), c.answer);
      EXPECT_EQ(observer.events.size(), c.unattended ? 0u : 1u);
      if (!c.unattended) {
        EXPECT_NE(observer.events[0].find("ask FilesInUse '"), std::string::npos);
        EXPECT_NE(observer.events[0].find("\n3ds Max Design 2013"), std::string::npos);
      }
      EXPECT_EQ(gate.ReachedService(), c.answer == 2);
      ASSERT_EQ(held.Kept(), 1u);
      EXPECT_EQ(Narrow(ProgramName(held, 0)), "3ds Max Design 2013");
      EXPECT_TRUE(runLog.Has(u"The service says this program uses files: 3ds Max Design 2013"));
    }
  }
  progress.cancel = nullptr;
  progress.heldBy = nullptr;
  progress.log = nullptr;
  progress.unattended = false;
}

TEST(ParseFilesInUseMessage, ReadsThePairsOfEitherKindAndBoundsEveryField) {
  const struct {
    bool restartManager;
    const char16_t* text;
    std::vector<std::string> programs;  // "<process id> <name>|<executable>"
  } cases[] = {
      {false, u"1: C:\\Host\\host.exe 2: Host Window ", {"0 Host Window|C:\\Host\\host.exe"}},
      {false, u"1: host.exe 2: 1234 3: blue.exe 4: Blue: 3 Title", {"1234 |host.exe", "0 Blue: 3 Title|blue.exe"}},
      {false, u"1: one.exe", {"0 |one.exe"}},
      {false, u"1:  2: title", {}},
      {true, u"1: 2 2: 1234 3: 3ds Max Design 2013 4: 99 5: Notepad",
       {"1234 3ds Max Design 2013|", "99 Notepad|"}},
      {true, u"1: 1234 2: Application", {"1234 Application|"}},
      {true, u"1: Application 2: 1234", {"1234 Application|"}},
      {true, u"1: 99999999999 2: App", {"0 App|"}},
      {false, u"", {}},
      {false, u"Files in use", {}},
      {false, u"2: a 3: b", {}},
      {false, u"1:", {}},
      {true, u"1:x 2: 3", {}},
  };
  for (const auto& c : cases) {
    HoldingPrograms programs;
    ParseFilesInUseMessage(c.text, c.restartManager, programs);
    std::vector<std::string> found;
    for (std::size_t i = 0; i < programs.Kept(); ++i) {
      found.push_back(std::to_string(programs[i].processId) + " " + Narrow(programs[i].name) + "|" +
                      Narrow(programs[i].executable));
    }
    EXPECT_EQ(found, c.programs) << Narrow(c.text);
  }
  // Forty programs: as many as are kept, and every field cut to its room.
  std::u16string many;
  for (int i = 1; i <= 80; i += 2) {
    many += std::u16string(i > 1 ? u" " : u"") + Number(i) + u": " + Number(i) + std::u16string(300, u'f') + u" " +
            Number(i + 1) + u": " + std::u16string(500, u't');
  }
  HoldingPrograms programs;
  ParseFilesInUseMessage(many.c_str(), false, programs);
  EXPECT_EQ(programs.Kept(), HoldingPrograms::kKept);
  EXPECT_EQ(std::u16string(programs[0].name).size(), kProgramNameCapacity - 1);
  EXPECT_EQ(std::u16string(programs[0].executable).size(), kPathCapacity - 1);
}

enum class Text { Progress, CommonData };

struct ParseCase {
  Text kind;
  const char16_t* text;
  bool parses;
  // Fields from 1 on after the parse, which starts from 7, 70, 700, 7000.
  std::vector<std::int32_t> fields;
};

class ParseTest : public HandlerTest, public ::testing::WithParamInterface<ParseCase> {};

TEST_P(ParseTest, FillsTheFieldsItReaches) {
  const ParseCase& c = GetParam();
  const bool isProgress = c.kind == Text::Progress;
  std::int32_t* field = isProgress ? progress.progressField : progress.commonDataField;
  const std::int32_t start[] = {7, 70, 700, 7000};
  std::copy(start, start + c.fields.size(), field + 1);
  EXPECT_EQ(isProgress ? ParseProgressMessage(progress, c.text)
                       : ParseCommonDataMessage(progress, c.text),
            c.parses);
  EXPECT_EQ(std::vector<std::int32_t>(field + 1, field + 1 + c.fields.size()), c.fields);
}

constexpr Text P = Text::Progress;
constexpr Text C = Text::CommonData;

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseTest,
    ::testing::Values(
        ParseCase{P, u"1: 0 2: 1234 3: 0 4: 1 ", true, {0, 1234, 0, 1}},
        ParseCase{P, u"1: 2 2: 25 3: 0 4: 0 ", true, {2, 25, 700, 7000}},
        ParseCase{P, u"1: 3 2: 100", true, {3, 100, 700, 7000}},
        ParseCase{P, u"1: 1 2: 10 3: 1 4: 9 ", true, {1, 10, 1, 7000}},
        ParseCase{P, u"1: 0 2: 100", true, {0, 100, 700, 7000}},
        ParseCase{P, u"1: 0 2: ", true, {0, 0, 700, 7000}},
        ParseCase{P, u"1: 9 2: 5 3: 6 4: 7 5: 8", true, {9, 5, 6, 7}},
        ParseCase{P, u"2: 5 3: 6", true, {7, 5, 6, 7000}},
        ParseCase{P, u"1: 0 2: 99999999999 3: -99999999999 4: 0", true, {0, INT_MAX, INT_MIN, 0}},
        ParseCase{P, u"1: 0 2: 12ab 3: +7 4: x", true, {0, 12, 7, 0}},
        ParseCase{P, u"1: 0 2: 5 3: \u00e9\u4e2d 4: 1 ", true, {0, 5, 0, 1}},
        ParseCase{P, u"1: x 2: 5", false, {7, 70, 700, 7000}},
        ParseCase{P, u"", false, {7, 70, 700, 7000}},
        ParseCase{P, u"5: 0", false, {7, 70, 700, 7000}},
        ParseCase{P, u"1:0 2: 5", false, {7, 70, 700, 7000}},
        ParseCase{P, u"1:", false, {7, 70, 700, 7000}},
        ParseCase{P, u"2", false, {7, 70, 700, 7000}},
        ParseCase{P, u"1: 0 2", false, {0, 70, 700, 7000}},
        ParseCase{P, u"1: 0 2: 5 3:", false, {0, 5, 700, 7000}},
        ParseCase{C, u"1: 0 2: 1033 3: 1252 ", true, {0, 1033}},
        ParseCase{C, u"1: 2 2: 1", true, {2, 1}},
        ParseCase{C, u"1: 0", true, {0, 70}},
        ParseCase{C, u"1: a 2: 9", true, {'a' - '0', 9}},
        ParseCase{C, u"1: 1 2: Caption", false, {1, 70}},
        ParseCase{C, u"1: ", false, {7, 70}},
        ParseCase{C, u"1:", false, {7, 70}},
        ParseCase{C, u"3: 1", false, {7, 70}},
        // Through the service's template for common data.
        ParseCase{C, u"Message type: 0, Argument: 1033, 0", true, {0, 1033}},
        ParseCase{C, u"Message type: 2, Argument: 0", true, {2, 0}},
        ParseCase{C, u"Message type: 2, Argument: ", true, {2, 0}},
        ParseCase{C, u"Message type: 1, Argument: Caption", false, {1, 70}},
        ParseCase{C, u"Message type: x, Argument: 1", false, {7, 70}},
        ParseCase{C, u"Message type: 2; Argument: 1", false, {2, 70}},
        ParseCase{C, u"Message type: 22, Argument: 1", false, {2, 70}},
        ParseCase{C, u"Message type: ", false, {7, 70}},
        ParseCase{C, u"Message", false, {7, 70}}));

TEST_F(HandlerTest, LongAndWideTextsParse) {
  std::u16string text = u"1: 2 2: 7 ";
  text.append(kNarrowCopyFixedBytes, u'x');
  EXPECT_TRUE(ParseProgressMessage(progress, text.c_str()));
  EXPECT_EQ(progress.progressField[2], 7);
  // Nearly every unit takes two bytes: the copy is sized two bytes a unit.
  std::u16string wide = u"1: 2 2: 8 ";
  wide.append(kNarrowCopyFixedBytes / 2 - 1 - wide.size(), u'\u4e2d');
  EXPECT_TRUE(ParseProgressMessage(progress, wide.c_str()));
  EXPECT_EQ(progress.progressField[2], 8);
}

TEST_F(HandlerTest, AnUnconvertibleTextDoesNotParse) {
  observer.failConversion = true;
  EXPECT_FALSE(ParseProgressMessage(progress, u"1: 0 2: 10 3: 0 4: 0 "));
  EXPECT_FALSE(ParseCommonDataMessage(progress, u"1: 0 2: 1033 "));
  EXPECT_EQ(Send(kProgress, u"1: 0 2: 10 3: 0 4: 0 "), 1);
  EXPECT_EQ(observer.events, Events{});
}

TEST(ReadNumberToken, EndsTheTokenAtTheBlankAndStopsThere) {
  char text[] = "-42 rest";
  char* cursor = text;
  EXPECT_EQ(ReadNumberToken(&cursor), -42);
  EXPECT_EQ(cursor, text + 3);
  EXPECT_EQ(text[3], '\0');
  char last[] = "17";
  cursor = last;
  EXPECT_EQ(ReadNumberToken(&cursor), 17);
  EXPECT_EQ(cursor, last + 2);
}

}  // namespace
