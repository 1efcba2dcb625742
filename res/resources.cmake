# Builds the plug-in package, or takes the one INSTALLER_PACKAGE names, checks
# it against product.cmake, and attaches the resource script, with all it
# embeds, to a target.
#   attach_installer_resources(<target>)
enable_language(RC)
include(${CMAKE_SOURCE_DIR}/cmake/wixl.cmake)
include(${CMAKE_SOURCE_DIR}/cmake/signing.cmake)

set(INSTALLER_RES_DIR ${CMAKE_SOURCE_DIR}/res)
# wixl looks for the payload relative to the folder it runs in, this one.
set(package_dir ${CMAKE_CURRENT_BINARY_DIR}/package)

set(INSTALLER_PACKAGE "" CACHE FILEPATH
    "A Windows Installer package to carry instead of the one built from res/package/plugin.wxs")
set(INSTALLER_PACKAGE_MSI ${package_dir}/plugin.msi CACHE INTERNAL "The signed package the executable carries")
file(MAKE_DIRECTORY ${package_dir})

if(INSTALLER_PACKAGE)
  # cmake makes a relative -DINSTALLER_PACKAGE= absolute from the folder it
  # runs in, but not one given a type (-DINSTALLER_PACKAGE:FILEPATH=).
  if(NOT IS_ABSOLUTE "${INSTALLER_PACKAGE}" OR NOT EXISTS "${INSTALLER_PACKAGE}"
     OR IS_DIRECTORY "${INSTALLER_PACKAGE}")
    message(FATAL_ERROR "INSTALLER_PACKAGE is not the absolute path of a file: ${INSTALLER_PACKAGE}")
  endif()
  set(package_to_check ${INSTALLER_PACKAGE})
else()
  # The payload: the plug-in module, built without the C runtime so that it
  # stays a few kilobytes, and its readme.
  add_library(zephra_plugin SHARED ${INSTALLER_RES_DIR}/package/zephra_plugin.c)
  target_include_directories(zephra_plugin PRIVATE ${PRODUCT_GENERATED_DIR})
  target_link_options(zephra_plugin PRIVATE -nostdlib -s -Wl,--entry,_DllMainCRTStartup@12)
  set_target_properties(zephra_plugin PROPERTIES
    PREFIX "" OUTPUT_NAME Zephra
    RUNTIME_OUTPUT_DIRECTORY ${package_dir})
  configure_file(${INSTALLER_RES_DIR}/package/readme.txt ${package_dir}/readme.txt COPYONLY)

  # The package's default folder below Program Files: FolderSuffix without its
  # outer backslashes ([ProgramFilesFolder] ends in one, and a trailing one
  # would escape the list separator after it).
  string(REGEX REPLACE "^\\\\|\\\\$" "" host_folder "${PRODUCT_FOLDER_SUFFIX}")

  add_wixl_package(plugin_package_wixl
    OUTPUT ${package_dir}/plugin-wixl.msi
    SOURCE ${INSTALLER_RES_DIR}/package/plugin.wxs
    DEFINES "HostFolder=${host_folder}" PluginModule=package/$<TARGET_FILE_NAME:zephra_plugin>
            Readme=package/readme.txt
    DEPENDS zephra_plugin $<TARGET_FILE:zephra_plugin> ${package_dir}/readme.txt
    PAYLOAD package/$<TARGET_FILE_NAME:zephra_plugin> package/readme.txt)
  # wixl leaves the database's code page neutral; the package is ANSI 1252.
  find_program(MSIBUILD msibuild REQUIRED)
  file(CONFIGURE OUTPUT ${package_dir}/_ForceCodepage.idt CONTENT "\n\n1252\t_ForceCodepage\n"
       NEWLINE_STYLE CRLF)
  add_custom_command(
    OUTPUT ${package_dir}/plugin-unsigned.msi
    COMMAND ${CMAKE_COMMAND} -E copy ${package_dir}/plugin-wixl.msi ${package_dir}/plugin-unsigned.msi
    COMMAND ${MSIBUILD} ${package_dir}/plugin-unsigned.msi -i ${package_dir}/_ForceCodepage.idt
    # Its times from the commit, its package code from its contents.
    COMMAND ${DEBIAN_PYTHON3} ${CMAKE_SOURCE_DIR}/cmake/package_identity.py
            ${package_dir}/plugin-unsigned.msi ${INSTALLER_SOURCE_DATE_EPOCH}
    DEPENDS ${package_dir}/plugin-wixl.msi ${package_dir}/_ForceCodepage.idt
            ${CMAKE_SOURCE_DIR}/cmake/package_identity.py
    VERBATIM)
  set(package_to_check ${package_dir}/plugin-unsigned.msi)
endif()

# The package agrees with product.cmake before anything carries it; it is
# checked unsigned, so that a file that is no package fails here alone.
set(release_check_stamp ${package_dir}/release-check.stamp)
add_custom_command(
  OUTPUT ${release_check_stamp}
  COMMAND ${DEBIAN_PYTHON3} ${CMAKE_SOURCE_DIR}/cmake/release_check.py ${package_to_check}
          PRODUCT_CODE=${PRODUCT_CODE} PRODUCT_PACKAGE_VERSION=${PRODUCT_PACKAGE_VERSION}
          PRODUCT_MAKER_KEY=${PRODUCT_MAKER_KEY} PRODUCT_KEY=${PRODUCT_KEY}
  COMMAND ${CMAKE_COMMAND} -E touch ${release_check_stamp}
  DEPENDS ${package_to_check} ${CMAKE_SOURCE_DIR}/cmake/release_check.py
  COMMENT "Release check of ${package_to_check}"
  VERBATIM)
if(INSTALLER_PACKAGE)
  # A package its publisher signed keeps that signature.
  sign_file(${INSTALLER_PACKAGE_MSI} ${INSTALLER_PACKAGE} "${PRODUCT_DISPLAY_NAME}" KEEP_SIGNED
            DEPENDS ${release_check_stamp})
else()
  sign_file(${INSTALLER_PACKAGE_MSI} ${package_dir}/plugin-unsigned.msi "${PRODUCT_DISPLAY_NAME}"
            DEPENDS ${release_check_stamp})
endif()
add_custom_target(plugin_package DEPENDS ${INSTALLER_PACKAGE_MSI})

# The form that carries the package. A resource is mapped with the image
# into the 32-bit address space (Wine even reads the whole image into
# private memory), so a package above the limit is attached after the
# image instead and read from the file a piece at a time. The signed file's
# certificate table has a 32-bit offset: the whole file stays below 4 GiB.
set(INSTALLER_RESOURCE_LIMIT_MIB 16 CACHE STRING
    "The largest package (MiB) carried as a resource; a larger one is attached after the image")
include(${CMAKE_SOURCE_DIR}/cmake/package_form.cmake)
if(INSTALLER_PACKAGE)
  package_form(INSTALLER_PACKAGE_FORM ${INSTALLER_PACKAGE} ${INSTALLER_RESOURCE_LIMIT_MIB})
else()
  set(INSTALLER_PACKAGE_FORM resource)
  message(STATUS "Package: the built one, carried as a resource")
endif()
set(INSTALLER_PACKAGE_FORM ${INSTALLER_PACKAGE_FORM} CACHE INTERNAL "resource or attached")

# Callable from any folder: it takes nothing from this file's scope but the
# cached package path.
function(attach_installer_resources target)
  set(INSTALLER_RES_DIR ${CMAKE_SOURCE_DIR}/res)
  get_filename_component(package_dir ${INSTALLER_PACKAGE_MSI} DIRECTORY)
  file(GLOB art CONFIGURE_DEPENDS ${INSTALLER_RES_DIR}/art/*.bmp ${INSTALLER_RES_DIR}/art/*.png
       ${INSTALLER_RES_DIR}/art/*.ico)
  set(script ${INSTALLER_RES_DIR}/installer.rc)
  target_sources(${target} PRIVATE ${script})
  # windres also looks for the embedded files along its include path.
  target_include_directories(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:RC>:${INSTALLER_RES_DIR};${INSTALLER_RES_DIR}/art;${PRODUCT_GENERATED_DIR};${package_dir}>)
  # The build does not scan a resource script for the files it embeds.
  set_property(SOURCE ${script} APPEND PROPERTY OBJECT_DEPENDS
    ${art}
    ${INSTALLER_RES_DIR}/resource.h
    ${INSTALLER_RES_DIR}/terms.rtf
    ${INSTALLER_RES_DIR}/installer.manifest
    ${PRODUCT_GENERATED_DIR}/product_identity.h
    ${INSTALLER_PACKAGE_MSI})
  add_dependencies(${target} plugin_package)
  if(INSTALLER_PACKAGE_FORM STREQUAL "attached")
    target_compile_definitions(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:INSTALLER_PACKAGE_ATTACHED>)
    # After the link and before the signature, which then covers it.
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${DEBIAN_PYTHON3} ${CMAKE_SOURCE_DIR}/cmake/attach_package.py
              $<TARGET_FILE:${target}> ${INSTALLER_PACKAGE_MSI}
      COMMENT "Attaching the package to ${target}"
      VERBATIM)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${INSTALLER_PACKAGE_MSI})
  endif()
endfunction()
