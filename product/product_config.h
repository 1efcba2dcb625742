// ProductConfig: which product this installer installs, which host it plugs
// into, and where the registry keeps their traces. The values come from
// product.cmake through the generated product_identity.h.
#pragma once

#include "product_identity.h"

namespace ProductConfig {

// Constant-initialised: nothing runs before main to build them, and nothing
// can read them before they exist.
inline constexpr char16_t PackageVersion[] = u"" PRODUCT_PACKAGE_VERSION_TEXT;
inline constexpr char16_t ProductCode[] = u"" PRODUCT_CODE_TEXT;
inline constexpr char16_t ProductKey[] = u"" PRODUCT_KEY_TEXT;
inline constexpr char16_t DisplayName[] = u"" PRODUCT_DISPLAY_NAME_TEXT;
inline constexpr char16_t HostKey[] = u"" PRODUCT_HOST_KEY_TEXT;
inline constexpr char16_t FolderSuffix[] = u"" PRODUCT_FOLDER_SUFFIX_TEXT;

// The package's file name where an administrator takes it out.
inline constexpr char16_t PackageFileName[] = u"" PRODUCT_PACKAGE_FILE_TEXT;

// The maker's product-family key below HKLM\SOFTWARE.
inline constexpr char16_t MakerKey[] = u"" PRODUCT_MAKER_KEY_TEXT;

}  // namespace ProductConfig
