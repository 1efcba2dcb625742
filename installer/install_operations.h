// The two installer calls that change the machine: removing the installed
// copy of the product and installing the embedded package. Both judge
// their outcome by the registration, not by the service's result code.
#pragma once

#include <cstddef>

#include "detect/registry_seam.h"
#include "installer/installer_service_seam.h"
#include "installer/package_file_seam.h"

// What the operations reach the machine through.
struct InstallerServices {
  RegistrySeam& registry;
  InstallerServiceSeam& service;
  PackageFileSeam& packageFile;
};

// Registered with the handler; the handler itself does not read it.
inline constexpr char16_t kHandlerContext[] = u"INSTALL_01";

// Every kind from fatal exit to show dialog but files in use, which the
// service then settles by itself.
inline constexpr unsigned int kHandlerMessageFilter = 0x7FDF;

// Longest folder that fits the 260-unit command line MAXDIR="<folder>".
inline constexpr std::size_t kLongestFolder = 250;

// Removes the product by its product code when it is registered; the
// messages of the removal go to dialogWindow and progressBar (either may
// be null). 1 when the product is not registered afterwards, 0 when it
// still is.
int RemovePreviousVersion(const InstallerServices& services, void* dialogWindow,
                          void* progressBar);

// Installs the embedded package with MAXDIR set to folder, from a temp file
// that is deleted afterwards. A folder longer than kLongestFolder (or null)
// is refused without any installer call. 1 when the product is registered
// afterwards, 0 when it is not.
int InstallPackage(const InstallerServices& services, void* dialogWindow, void* progressBar,
                   const char16_t* folder);
