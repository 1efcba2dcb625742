# Runs a cross-built test under Wine, once in a 64-bit and once in a 32-bit
# prefix kept under build/wine/.
set(WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)

function(add_wine_test target)
  foreach(arch win64 win32)
    add_test(NAME ${target}_${arch}
             COMMAND ${WINE_RUN} ${arch} $<TARGET_FILE:${target}> ${ARGN})
    set_tests_properties(${target}_${arch} PROPERTIES RESOURCE_LOCK wine_${arch} TIMEOUT 900)
  endforeach()
endfunction()
