// Message sequences captured from Wine's installer service, replayed
// through the handler.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "recording_observer.h"
#include "fake_installer.h"
#include "installer/message_handler.h"
#include "installer/progress_context.h"
#include "message_trace.h"

namespace {

std::vector<TraceMessage> LoadTrace(const char* name) {
  std::vector<TraceMessage> trace;
  EXPECT_TRUE(ReadTraceFile(std::string(KELVANE_TRACE_DIR) + "/" + name + ".trace", &trace)) << name;
  EXPECT_FALSE(trace.empty()) << name;
  return trace;
}

class TraceReplay : public ::testing::Test {
 protected:
  void SetUp() override {
    progress.observer = &observer;
    progress.codePage = &observer;
    progress.service = &service;
  }

  // As an installer call does: let the service send its messages. Returns
  // the number of 0 answers.
  int Replay(const std::vector<TraceMessage>& trace) {
    int unhandled = 0;
    for (const TraceMessage& m : trace) {
      if (InstallerMessageHandler(&progress, m.type, m.hasText ? m.text.c_str() : nullptr) == 0) {
        ++unhandled;
      }
    }
    return unhandled;
  }

  static int NullTexts(const std::vector<TraceMessage>& trace) {
    return static_cast<int>(std::count_if(trace.begin(), trace.end(),
                                          [](const TraceMessage& m) { return !m.hasText; }));
  }

  int Count(const std::string& prefix) const {
    return static_cast<int>(std::count_if(observer.events.begin(), observer.events.end(),
                                          [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
  }

  CallLog log;
  FakeInstallerService service{log};
  RecordingObserver observer;
  ProgressContext progress;
};

// What the service last said it did: the last action with a description
// (the data after it is a row of numbered fields, never shown).
const char16_t kLastActionData[] = u"Publishing product information";

TEST_F(TraceReplay, AnInstallEndsWithAFullBarAndTheLastActionShown) {
  const std::vector<TraceMessage> trace = LoadTrace("install-current");
  // Only the null texts (initialize, terminate) go unhandled.
  EXPECT_EQ(Replay(trace), NullTexts(trace));
  // Wine reports more ticks than it announced; the bar stops at full.
  EXPECT_EQ(observer.barMax, 76800);
  EXPECT_EQ(observer.barPosition, 76800);
  EXPECT_EQ(observer.actionText, kLastActionData);
  EXPECT_EQ(Count("ask"), 0);
  EXPECT_EQ(progress.languageId, 1033);
}

TEST_F(TraceReplay, TheRemovalsStateCarriesIntoTheInstall) {
  Replay(LoadTrace("remove-older"));
  EXPECT_EQ(observer.barPosition, 76800);
  EXPECT_EQ(progress.firstCall, 0);
  Replay(LoadTrace("install-current"));
  EXPECT_EQ(log, CallLog{"SetInternalUI 0x3"});
  EXPECT_EQ(observer.barPosition, 76800);
  EXPECT_EQ(observer.actionText, kLastActionData);
}

TEST_F(TraceReplay, AFailedInstallShowsTheErrorOnceInTheAnnouncedLanguage) {
  const std::vector<TraceMessage> trace = LoadTrace("install-failing");
  observer.answer = 1;
  EXPECT_EQ(Replay(trace), NullTexts(trace));
  EXPECT_EQ(Count("ask"), 1);
  EXPECT_EQ(Count("ask Error 'The fixture package refuses to install.' 0x10 lang 1033"), 1);
  // The rollback is reported forward too; the bar ends full.
  EXPECT_EQ(observer.barPosition, 76800);
}

TEST(MessageTrace, LinesReadBackAsWritten) {
  const TraceMessage messages[] = {
      {0x0A000000, true, u"1: 0 2: 10 3: 0 4: 0 "},
      {0x0D000000, false, u""},
      {0x01000030, true, u"C:\\path|with bar\r\n\ttab \u00e9\u4e2d"},
      {0x09000000, true, u""},
  };
  std::string content = "# comment\n";
  for (const TraceMessage& m : messages) content += FormatTraceLine(m) + "\r\n";
  std::vector<TraceMessage> read;
  ASSERT_TRUE(ParseTrace(content, &read));
  ASSERT_EQ(read.size(), std::size(messages));
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].type, messages[i].type);
    EXPECT_EQ(read[i].hasText, messages[i].hasText);
    EXPECT_EQ(read[i].text, messages[i].text);
  }
  EXPECT_FALSE(ParseTrace("0a00|text|\nzz\n0a000000|no end\n", &read));
  EXPECT_EQ(DecodeTraceText("a\\u12\\q\\"), u"a\\u12\\q\\");
}

}  // namespace
