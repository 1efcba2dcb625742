// Where a package too large for a resource lies: attached after the image,
// 8-byte aligned and before the signature (which covers it), it is named
// by this record, the resource of type "MSI" and id IDR_PACKAGE_PLACE that
// such an executable carries instead of IDR_PACKAGE_MSI (a place that names
// a package is read first). The build links a placeholder (offset and size
// 0, no package) and writes the real place once the package is attached; cmake/attach_package.py and the tests' swap_package
// find the placeholder by its whole 32 bytes.
#pragma once

#include <cstdint>

#include "res/resource.h"

struct PackagePlace {
  char magic[8];          // kPackagePlaceMagic
  std::uint32_t version;  // kPackagePlaceVersion
  std::uint32_t reserved;
  std::uint64_t offset;  // from the start of the file
  std::uint64_t size;
};
static_assert(sizeof(PackagePlace) == 32);

inline constexpr char kPackagePlaceMagic[8] = {'K', 'e', 'l', 'P', 'l', 'a', 'c', 'e'};
inline constexpr std::uint32_t kPackagePlaceVersion = 1;
inline constexpr std::uint64_t kPackagePlaceAlignment = 8;
