// Message maps: each window class declares a table of the messages it
// answers and chains it to its base class's table, so that a derived
// dialog inherits its base's answers (IDOK, IDCANCEL) and can add or
// override entries. Portable: the lookup is plain data.
#pragma once

#include <cstdint>

class CCmdTarget;

// Entry point of one map entry: unpacks the message arguments, calls the
// typed member function and gives the message's result.
using MessageHandler = std::intptr_t (*)(CCmdTarget* target, std::uintptr_t wParam,
                                         std::intptr_t lParam);

struct AFX_MSGMAP_ENTRY {
  std::uint32_t nMessage;  // window message
  std::uint32_t nCode;     // notification code (WM_COMMAND, WM_NOTIFY), else 0
  std::uint32_t nID;       // control id (WM_COMMAND, WM_NOTIFY), else 0
  MessageHandler pfn;      // null ends a table
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// The first entry for (message, code, id), searching this class's table
// first and then each base class's; null when no class answers it.
const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* map, std::uint32_t message,
                                         std::uint32_t code, std::uint32_t id);

class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;
  virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
};

// Message numbers the portable entry macros use.
inline constexpr std::uint32_t kWmCommand = 0x0111;
inline constexpr std::uint32_t kWmNotify = 0x004E;
inline constexpr std::uint32_t kBnClicked = 0;

#define DECLARE_MESSAGE_MAP()                         \
 protected:                                           \
  static const AFX_MSGMAP* GetThisMessageMap();       \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }    \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                    \
    using ThisClass = theClass;                                                         \
    using TheBaseClass = baseClass;                                                     \
    static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                  \
      {0, 0, 0, nullptr}};                                                 \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
    return &map;                                                           \
  }

// WM_COMMAND with a notification code from control id: void fn().
#define ON_CONTROL(code, id, memberFxn)                                                  \
  {kWmCommand, static_cast<std::uint32_t>(code), static_cast<std::uint32_t>(id),        \
   [](CCmdTarget* target, std::uintptr_t, std::intptr_t) -> std::intptr_t {             \
     static_cast<ThisClass*>(target)->memberFxn();                                       \
     return 0;                                                                           \
   }},

#define ON_COMMAND(id, memberFxn) ON_CONTROL(kBnClicked, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(kBnClicked, id, memberFxn)

// WM_NOTIFY with a notification code from control id:
// void fn(NMHDR*, LRESULT*); the result slot starts at 0. NMHDR and LRESULT
// are the platform's, declared where the map is written.
#define ON_NOTIFY(code, id, memberFxn)                                                   \
  {kWmNotify, static_cast<std::uint32_t>(code), static_cast<std::uint32_t>(id),         \
   [](CCmdTarget* target, std::uintptr_t, std::intptr_t lParam) -> std::intptr_t {      \
     LRESULT result = 0;                                                                 \
     static_cast<ThisClass*>(target)->memberFxn(reinterpret_cast<NMHDR*>(lParam), &result); \
     return result;                                                                      \
   }},
