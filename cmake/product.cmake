# Reads the product's identity and derives the forms the code, the resource
# script and the package source need.
include(${CMAKE_SOURCE_DIR}/product.cmake)

foreach(name PRODUCT_HOST_KEY PRODUCT_FOLDER_SUFFIX PRODUCT_MAKER_KEY)
  string(REPLACE "\\" "\\\\" ${name}_C "${${name}}")
endforeach()
string(REPLACE "." "," PRODUCT_VERSION_COMMAS "${PRODUCT_PACKAGE_VERSION}")

set(PRODUCT_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/product/product_identity.h.in
               ${PRODUCT_GENERATED_DIR}/product_identity.h @ONLY)

# The same facts for the shell scripts of the end-to-end tests and the bench,
# each inside single quotes there.
foreach(name PRODUCT_PACKAGE_VERSION PRODUCT_CODE PRODUCT_KEY PRODUCT_DISPLAY_NAME PRODUCT_HOST_KEY
             PRODUCT_MAKER_KEY PRODUCT_INSTALLER_NAME PRODUCT_EXE_NAME PRODUCT_FOLDER_SUFFIX PRODUCT_PACKAGE_NAME)
  string(REPLACE "'" "'\\''" ${name}_SH "${${name}}")
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/tests/e2e/product.env.in ${CMAKE_BINARY_DIR}/generated/product.env @ONLY)
