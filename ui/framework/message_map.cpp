#include "ui/framework/message_map.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
  static const AFX_MSGMAP map = {nullptr, entries};
  return &map;
}

const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* map, std::uint32_t message,
                                         std::uint32_t code, std::uint32_t id) {
  for (; map != nullptr; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn != nullptr; ++entry) {
      if (entry->nMessage == message && entry->nCode == code && entry->nID == id) return entry;
    }
  }
  return nullptr;
}
