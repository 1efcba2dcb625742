# Runs a cross-built test under Wine, once in a 64-bit and once in a 32-bit
# prefix kept under build/wine/; a 64-bit build runs in the 64-bit prefix
# only.
set(WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(WINE_TEST_ARCHS win64)
  set(NEEDS_IA32)
else()
  set(WINE_TEST_ARCHS win64 win32)
  # Skips (exit 77) a Wine test on a machine that cannot run 32-bit programs.
  set(NEEDS_IA32 ${CMAKE_SOURCE_DIR}/scripts/needs-ia32.sh)
endif()

function(add_wine_test target)
  foreach(arch ${WINE_TEST_ARCHS})
    add_test(NAME ${target}_${arch}
             COMMAND ${NEEDS_IA32} ${WINE_RUN} ${arch} $<TARGET_FILE:${target}> ${ARGN})
    set_tests_properties(${target}_${arch} PROPERTIES RESOURCE_LOCK wine_${arch} TIMEOUT 900
                         SKIP_RETURN_CODE 77)
  endforeach()
endfunction()
