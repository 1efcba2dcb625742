# The same sources for 64-bit Windows: the product is the 32-bit build; this
# one lets the Wine tests run on machines that cannot run 32-bit programs.
set(MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
