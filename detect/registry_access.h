// The one road of every registry read: choose the view, open the key below
// HKEY_LOCAL_MACHINE, read one string value into a new buffer, close the key.
#pragma once

#include <cstdint>

#include "detect/registry_seam.h"

inline constexpr std::uint32_t kKeyQueryValue = 0x0001;  // KEY_QUERY_VALUE
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100;  // KEY_WOW64_64KEY
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200;  // KEY_WOW64_32KEY

// Read-only access to the 32-bit view (on 64-bit Windows) or the 64-bit one.
inline constexpr std::uint32_t kAccessMask32BitView = kKeyQueryValue | kKeyWow64_32Key;  // 0x201
inline constexpr std::uint32_t kAccessMask64BitView = kKeyQueryValue | kKeyWow64_64Key;  // 0x101

// The first offer to the platform, in bytes, and the step by which it grows.
inline constexpr std::uint32_t kRegistryOfferStep = 260;
// A value larger than this is taken as missing, so that the retry loop ends.
// The values read are versions and folders; 64 KiB holds the longest path
// Windows knows (32,767 units) but for a few characters.
inline constexpr std::uint32_t kRegistryOfferLimit = 64 * 1024;

// True when the process runs on 64-bit Windows (as a 32-bit process), read
// from the environment on every call.
bool RunsOn64BitWindows(RegistrySeam& registry);

// The access mask for the next open.
std::uint32_t RegistryAccessMask(RegistrySeam& registry);

// Reads valueName from key and closes key on every path. On success writes
// both the capacity offered in the successful query (a multiple of 260) to
// *length and a new NUL-terminated text, to be released with free, to *text,
// and the value's type (REG_SZ or REG_EXPAND_SZ) to *valueType when given;
// on failure, a value of any other type included, touches none of them.
void ReadRegistryString(RegistrySeam& registry, const char16_t* valueName, RegistryKey key,
                        std::uint32_t* length, char16_t** text,
                        std::uint32_t* valueType = nullptr);

// The common read sequence: view, open, read, close. Returns the value text
// (a REG_EXPAND_SZ one expanded), or null when it could not be read.
OwnedText ReadMachineString(RegistrySeam& registry, const char16_t* subkey,
                            const char16_t* valueName);
