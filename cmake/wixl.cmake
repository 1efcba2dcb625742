# Builds a Windows Installer package from a WiX source with wixl.
#   add_wixl_package(<target> OUTPUT <file.msi> SOURCE <file.wxs>
#                    [DEFINES VAR=value ...] [DEPENDS file-or-target ...])
# The product's identity (product.cmake) is always defined for the source as
# ProductCode, PackageVersion, ProductKey, MakerKey, HostKey, FolderSuffix,
# DisplayName and CompanyName.
find_program(WIXL wixl REQUIRED)

function(add_wixl_package target)
  cmake_parse_arguments(PKG "" "OUTPUT;SOURCE" "DEFINES;DEPENDS" ${ARGN})
  set(defines
    -D "ProductCode=${PRODUCT_CODE}"
    -D "PackageVersion=${PRODUCT_PACKAGE_VERSION}"
    -D "ProductKey=${PRODUCT_KEY}"
    -D "MakerKey=${PRODUCT_MAKER_KEY}"
    -D "HostKey=${PRODUCT_HOST_KEY}"
    -D "DisplayName=${PRODUCT_DISPLAY_NAME}"
    -D "CompanyName=${PRODUCT_COMPANY_NAME}")
  foreach(define IN LISTS PKG_DEFINES)
    list(APPEND defines -D "${define}")
  endforeach()
  get_filename_component(source_dir ${PKG_SOURCE} DIRECTORY)
  # FolderSuffix ends in a backslash, which would escape the list separator
  # after it inside ${defines}: it goes on the command line by itself.
  add_custom_command(
    OUTPUT ${PKG_OUTPUT}
    COMMAND ${WIXL} -a x86 ${defines} -D "FolderSuffix=${PRODUCT_FOLDER_SUFFIX}" -I ${source_dir} -o ${PKG_OUTPUT} ${PKG_SOURCE}
    DEPENDS ${PKG_SOURCE} ${PKG_DEPENDS}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    COMMENT "wixl ${target}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${PKG_OUTPUT})
endfunction()
