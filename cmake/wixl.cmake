# Builds a Windows Installer package from a WiX source with wixl.
#   add_wixl_package(<target> OUTPUT <file.msi> SOURCE <file.wxs>
#                    [DEFINES VAR=value ...] [DEPENDS file-or-target ...]
#                    [PAYLOAD file ...] [EXCLUDE_FROM_ALL])
# PAYLOAD names the files the package carries, relative to the folder wixl
# runs in (this file's binary folder). The cabinet keeps each file's time, so
# wixl then reads copies dated SOURCE_DATE_EPOCH (cmake/reproducible.cmake)
# from a folder of its own, and the package is the same for the same sources.
# The product's identity (product.cmake) is always defined for the source as
# ProductCode, PackageVersion, ProductKey, MakerKey, HostKey, FolderSuffix,
# DisplayName and CompanyName.
find_program(WIXL wixl REQUIRED)

function(add_wixl_package target)
  cmake_parse_arguments(PKG "EXCLUDE_FROM_ALL" "OUTPUT;SOURCE" "DEFINES;DEPENDS;PAYLOAD" ${ARGN})
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
  set(run_dir ${CMAKE_CURRENT_BINARY_DIR})
  set(stage_commands)
  if(PKG_PAYLOAD)
    set(run_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}-payload)
    list(APPEND stage_commands COMMAND ${CMAKE_COMMAND} -E rm -rf ${run_dir})
    foreach(file IN LISTS PKG_PAYLOAD)
      get_filename_component(file_dir ${run_dir}/${file} DIRECTORY)
      list(APPEND stage_commands
        COMMAND ${CMAKE_COMMAND} -E make_directory ${file_dir}
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_BINARY_DIR}/${file} ${run_dir}/${file}
        COMMAND touch -d @${INSTALLER_SOURCE_DATE_EPOCH} ${run_dir}/${file})
    endforeach()
  endif()
  # FolderSuffix ends in a backslash, which would escape the list separator
  # after it inside ${defines}: it goes on the command line by itself.
  add_custom_command(
    OUTPUT ${PKG_OUTPUT}
    ${stage_commands}
    COMMAND ${CMAKE_COMMAND} -E chdir ${run_dir}
            ${WIXL} -a x86 ${defines} -D "FolderSuffix=${PRODUCT_FOLDER_SUFFIX}" -I ${source_dir} -o ${PKG_OUTPUT} ${PKG_SOURCE}
    DEPENDS ${PKG_SOURCE} ${PKG_DEPENDS}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    COMMENT "wixl ${target}"
    VERBATIM)
  if(PKG_EXCLUDE_FROM_ALL)
    add_custom_target(${target} DEPENDS ${PKG_OUTPUT})
  else()
    add_custom_target(${target} ALL DEPENDS ${PKG_OUTPUT})
  endif()
endfunction()
