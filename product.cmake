# The one place that defines the product this installer carries.
# A build for another product or host changes this file and res/, nothing else.
# Values are plain text (single backslashes); the build escapes them for C,
# for the resource compiler and for the package source.
set(PRODUCT_PACKAGE_VERSION [[4.0.4.0]])
set(PRODUCT_CODE            [[{5B0C71A2-93D4-4E1F-A6C8-2D7E40B95F13}]])
set(PRODUCT_KEY             [[3F9A2C64-7E15-4B08-9D3C-A1E6F0287B54]])
set(PRODUCT_DISPLAY_NAME    [[Zephra Plug-in for 3ds Max Design 2013 32-bit]])
set(PRODUCT_HOST_KEY        [[SOFTWARE\Autodesk\3dsmaxdesign\15.0\MAX-1:409]])
set(PRODUCT_FOLDER_SUFFIX   [[\Autodesk\3ds Max Design 2013\]])

# The maker's product-family key below HKLM\SOFTWARE, where the package
# records the installed version.
set(PRODUCT_MAKER_KEY       [[Kelvane\Vantor]])

# The package's file name when an administrator takes it out (/extract):
# this name, a dash, the version and ".msi".
set(PRODUCT_PACKAGE_NAME    [[Zephra]])

# Identity of the executable.
set(PRODUCT_COMPANY_NAME    [[Kelvane, Inc.]])
set(PRODUCT_INSTALLER_NAME  [[Kelvane Installer]])
set(PRODUCT_EXE_NAME        [[KelvaneInstaller]])
