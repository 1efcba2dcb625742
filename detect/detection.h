// The three questions the installer asks the machine, answered afresh from
// the registry and the environment on every call.
#pragma once

#include "core/text.h"
#include "detect/registry_seam.h"

enum class InstallState : int {
  NotInstalled = 0,
  UpToDate = 1,
  OlderInstalled = 2,
};

// Whether the product is installed, and whether the installed version is
// older than the package carried.
InstallState DetectInstallState(RegistrySeam& registry);

// A value below the key the package writes its values to
// (SOFTWARE\<maker>\<product>: "Version", "Path"); null when it cannot be
// read.
OwnedText ReadProductValue(RegistrySeam& registry, const char16_t* valueName);

// Whether the product's uninstall entry carries a display version.
bool IsProductRegistered(RegistrySeam& registry);

// The folder to offer: the host's install folder exactly as stored, else
// ProgramFiles followed by the folder suffix, else empty. Null only when
// memory is short.
OwnedText DetectInstallFolder(RegistrySeam& registry);
