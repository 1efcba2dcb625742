// The portable parts of the dialog framework: message-map lookup and
// chaining, and the memory file the terms are streamed through.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/framework/mem_file.h"
#include "ui/framework/message_map.h"

using LRESULT = std::intptr_t;
struct NMHDR {
  void* hwndFrom;
  std::uintptr_t idFrom;
  std::uint32_t code;
};

namespace {

std::vector<std::string> calls;

class BaseDialog : public CCmdTarget {
 public:
  virtual void OnOK() { calls.push_back("Base::OnOK"); }
  virtual void OnCancel() { calls.push_back("Base::OnCancel"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseDialog, CCmdTarget)
  ON_COMMAND(1, OnOK)
  ON_COMMAND(2, OnCancel)
END_MESSAGE_MAP()

class DerivedDialog : public BaseDialog {
 public:
  void OnOK() override { calls.push_back("Derived::OnOK"); }
  void OnBnClickedContinue() { calls.push_back("Continue"); }
  void OnNMClickLink(NMHDR* header, LRESULT* result) {
    calls.push_back("Link " + std::to_string(header->idFrom));
    *result = 42;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedDialog, BaseDialog)
  ON_BN_CLICKED(1000, OnBnClickedContinue)
  ON_NOTIFY(0xFFFE, 1002, OnNMClickLink)
  // Shadows nothing: the base's IDCANCEL entry stays reachable.
  ON_CONTROL(5, 1000, OnBnClickedContinue)
END_MESSAGE_MAP()

// What a dispatcher does: find the entry, call it.
bool Send(CCmdTarget& target, std::uint32_t message, std::uint32_t code, std::uint32_t id,
          std::intptr_t lParam = 0, std::intptr_t* result = nullptr) {
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(target.GetMessageMap(), message, code, id);
  if (entry == nullptr) return false;
  const std::intptr_t r = entry->pfn(&target, 0, lParam);
  if (result) *result = r;
  return true;
}

TEST(MessageMap, DerivedEntriesComeFirstAndBaseEntriesAreInherited) {
  calls.clear();
  DerivedDialog dialog;
  EXPECT_TRUE(Send(dialog, kWmCommand, kBnClicked, 1000));
  EXPECT_TRUE(Send(dialog, kWmCommand, 5, 1000));
  EXPECT_TRUE(Send(dialog, kWmCommand, kBnClicked, 2));  // from the base map
  EXPECT_TRUE(Send(dialog, kWmCommand, kBnClicked, 1));  // base entry, virtual override
  EXPECT_EQ(calls, (std::vector<std::string>{"Continue", "Continue", "Base::OnCancel", "Derived::OnOK"}));
}

TEST(MessageMap, MatchesMessageCodeAndIdTogether) {
  calls.clear();
  DerivedDialog dialog;
  BaseDialog base;
  EXPECT_FALSE(Send(dialog, kWmCommand, 1, 1000));        // other notification code
  EXPECT_FALSE(Send(dialog, kWmCommand, kBnClicked, 1001));  // other control
  EXPECT_FALSE(Send(dialog, kWmNotify, kBnClicked, 1000));   // other message
  EXPECT_FALSE(Send(base, kWmCommand, kBnClicked, 1000));    // entry of a derived class
  EXPECT_TRUE(calls.empty());
}

TEST(MessageMap, NotifyHandlerGetsTheHeaderAndSetsTheResult) {
  calls.clear();
  DerivedDialog dialog;
  NMHDR header{nullptr, 1002, 0xFFFE};
  std::intptr_t result = -1;
  ASSERT_TRUE(Send(dialog, kWmNotify, 0xFFFE, 1002, reinterpret_cast<std::intptr_t>(&header), &result));
  EXPECT_EQ(result, 42);
  EXPECT_EQ(calls, std::vector<std::string>{"Link 1002"});
}

TEST(CMemFile, ReadsTheBlockInPlaceUntilItIsExhausted) {
  const std::string document = "{\\rtf1\\ansi terms of use}";
  CMemFile file;
  file.Attach(reinterpret_cast<const std::uint8_t*>(document.data()),
              static_cast<unsigned int>(document.size()), 0);
  EXPECT_EQ(file.GetLength(), document.size());
  std::string streamed;
  char buffer[10];
  std::vector<unsigned int> deliveries;
  for (;;) {
    const unsigned int n = file.Read(buffer, sizeof buffer);
    deliveries.push_back(n);
    if (n == 0) break;
    streamed.append(buffer, n);
  }
  EXPECT_EQ(streamed, document);
  // Two full reads, the remainder, then nothing.
  EXPECT_EQ(deliveries, (std::vector<unsigned int>{10, 10, 5, 0}));
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
  EXPECT_EQ(file.Detach(), reinterpret_cast<const std::uint8_t*>(document.data()));
}

TEST(CMemFile, EmptyOrMissingBlockDeliversNothing) {
  CMemFile file;
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
  file.Attach(nullptr, 100);
  EXPECT_EQ(file.GetLength(), 0u);
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
  const std::uint8_t one = 7;
  file.Attach(&one, 1);
  EXPECT_EQ(file.Read(buffer, 0), 0u);
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 1u);
  EXPECT_EQ(buffer[0], 7);
  EXPECT_EQ(buffer[1], 'x') << "nothing written past what was delivered";
}

}  // namespace
