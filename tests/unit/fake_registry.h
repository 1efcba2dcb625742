// A registry and environment in memory that records every call and can
// misbehave on request.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "detect/registry_seam.h"

class FakeRegistry : public RegistrySeam {
 public:
  // Test set-up.
  void AddKey(const std::u16string& path) { keys_[path]; }
  void SetString(const std::u16string& path, const std::u16string& name,
                 const std::u16string& value, bool terminated = true);
  void SetBytes(const std::u16string& path, const std::u16string& name,
                std::vector<std::uint8_t> bytes);
  // A value of another type: REG_EXPAND_SZ, REG_DWORD, ...
  void SetTyped(const std::u16string& path, const std::u16string& name, const std::u16string& value,
                std::uint32_t type);
  void RemoveValue(const std::u16string& path, const std::u16string& name);
  void SetEnv(const std::u16string& name, const std::u16string& value) { env_[name] = value; }
  void ClearEnv(const std::u16string& name) { env_.erase(name); }

  // Misbehaviour.
  bool refuseAccess = false;      // queries fail with ERROR_ACCESS_DENIED
  bool moreDataForever = false;   // every query answers ERROR_MORE_DATA
  bool failEnvironmentCopy = false;  // the copy fails as when memory is short

  // What the code under test did.
  struct Open {
    std::u16string path;
    std::uint32_t mask;
  };
  std::vector<Open> opens;
  std::vector<std::uint32_t> offers;  // byte count offered to each query
  int closes = 0;
  int nullCloses = 0;
  int OpenHandles() const { return static_cast<int>(open_.size()); }

  long OpenKey(const char16_t* subkey, std::uint32_t accessMask, RegistryKey* key) override;
  long QueryValue(RegistryKey key, const char16_t* valueName, std::uint32_t* type,
                  std::uint8_t* data, std::uint32_t* byteCount) override;
  void CloseKey(RegistryKey key) override;
  OwnedText DuplicateEnvironment(const char16_t* name, std::size_t* size) override;
  // %NAME% of a variable that is set becomes its value.
  OwnedText ExpandEnvironment(const char16_t* text) override;

 private:
  std::map<std::u16string, std::map<std::u16string, std::vector<std::uint8_t>>> keys_;
  std::map<std::u16string, std::map<std::u16string, std::uint32_t>> types_;
  std::map<std::u16string, std::u16string> env_;
  std::map<RegistryKey, std::u16string> open_;
  int nextHandle_ = 1;
};
