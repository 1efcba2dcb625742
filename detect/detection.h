// The three questions the installer asks the machine, answered afresh from
// the registry and the environment on every call.
#pragma once

#include <cstddef>
#include <initializer_list>

#include "detect/owned_text.h"
#include "detect/registry_seam.h"

enum class InstallState : int {
  NotInstalled = 0,
  UpToDate = 1,
  OlderInstalled = 2,
};

// Key-path buffers hold 260 units (MAX_PATH), terminator included.
inline constexpr std::size_t kKeyPathCapacity = 260;

// Whether the product is installed, and whether the installed version is
// older than the package carried.
InstallState DetectInstallState(RegistrySeam& registry);

// Whether the product's uninstall entry carries a display version.
bool IsProductRegistered(RegistrySeam& registry);

// The folder to offer: the host's install folder exactly as stored, else
// ProgramFiles followed by the folder suffix, else empty. Null only when
// memory is short.
OwnedText DetectInstallFolder(RegistrySeam& registry);

// Writes the parts one after the other into path (capacity units), cut at
// capacity - 1 units and always terminated, as a counted formatter does.
void FormatKeyPath(char16_t* path, std::size_t capacity,
                   std::initializer_list<const char16_t*> parts);
