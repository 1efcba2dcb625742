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
