#include "fake_registry.h"

#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

void FakeRegistry::SetString(const std::u16string& path, const std::u16string& name,
                             const std::u16string& value, bool terminated) {
  std::vector<std::uint8_t> bytes((value.size() + (terminated ? 1 : 0)) * 2, 0);
  std::memcpy(bytes.data(), value.data(), value.size() * 2);
  SetBytes(path, name, std::move(bytes));
}

void FakeRegistry::SetBytes(const std::u16string& path, const std::u16string& name,
                            std::vector<std::uint8_t> bytes) {
  keys_[path][name] = std::move(bytes);
  types_[path].erase(name);
}

void FakeRegistry::RemoveValue(const std::u16string& path, const std::u16string& name) {
  keys_[path].erase(name);
}

long FakeRegistry::OpenKey(const char16_t* subkey, std::uint32_t accessMask, RegistryKey* key) {
  opens.push_back({subkey, accessMask});
  if (keys_.count(subkey) == 0) return 2;  // ERROR_FILE_NOT_FOUND
  RegistryKey handle = reinterpret_cast<RegistryKey>(static_cast<std::uintptr_t>(nextHandle_++));
  open_[handle] = subkey;
  *key = handle;
  return 0;
}

long FakeRegistry::QueryValue(RegistryKey key, const char16_t* valueName, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* byteCount) {
  offers.push_back(*byteCount);
  EXPECT_EQ(*type, kRegistryTypeString) << "the type is preset to REG_SZ";
  const auto handle = open_.find(key);
  if (handle == open_.end()) return 6;  // ERROR_INVALID_HANDLE
  if (refuseAccess) return 5;           // ERROR_ACCESS_DENIED
  if (moreDataForever) return kRegistryMoreData;
  const auto& values = keys_[handle->second];
  const auto value = values.find(valueName);
  if (value == values.end()) return 2;
  const auto& bytes = value->second;
  if (bytes.size() > *byteCount) {
    *byteCount = static_cast<std::uint32_t>(bytes.size());
    return kRegistryMoreData;
  }
  std::memcpy(data, bytes.data(), bytes.size());
  *byteCount = static_cast<std::uint32_t>(bytes.size());
  const auto typed = types_[handle->second].find(valueName);
  *type = typed != types_[handle->second].end() ? typed->second : kRegistryTypeString;
  return 0;
}

void FakeRegistry::CloseKey(RegistryKey key) {
  ++closes;
  if (key == nullptr) {
    ++nullCloses;
    return;
  }
  EXPECT_EQ(open_.erase(key), 1u) << "a key is closed exactly once";
}

OwnedText FakeRegistry::DuplicateEnvironment(const char16_t* name, std::size_t* size) {
  const auto found = env_.find(name);
  if (found == env_.end() || failEnvironmentCopy) {
    *size = 0;
    return nullptr;
  }
  *size = found->second.size() + 1;
  return DuplicateText(found->second.c_str());
}

void FakeRegistry::SetTyped(const std::u16string& path, const std::u16string& name,
                            const std::u16string& value, std::uint32_t type) {
  SetString(path, name, value);
  types_[path][name] = type;
}

OwnedText FakeRegistry::ExpandEnvironment(const char16_t* text) {
  std::u16string out;
  for (const char16_t* c = text; *c != 0;) {
    const char16_t* close = *c == u'%' ? std::char_traits<char16_t>::find(c + 1, TextLength(c + 1), u'%') : nullptr;
    const auto found = close ? env_.find(std::u16string(c + 1, close)) : env_.end();
    if (found != env_.end()) {
      out += found->second;
      c = close + 1;
    } else {
      out += *c++;
    }
  }
  return DuplicateText(out.c_str());
}
