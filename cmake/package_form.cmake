# package_form(<out-var> <package> <limit MiB>): "resource" for a package of
# at most the limit, "attached" for a larger one, said in one line; a
# package that no signed executable can hold stops the configure.
# Kept apart so that tests/cmake can run it alone.

# The certificate table's offset is 32 bits: the executable, the package
# and the signature stay below 4 GiB. 64 MiB is left for the rest.
set(INSTALLER_LARGEST_PACKAGE_MIB 4032)

function(package_form out package limit_mib)
  if(NOT limit_mib MATCHES "^[0-9]+$")
    message(FATAL_ERROR "INSTALLER_RESOURCE_LIMIT_MIB is not a number of MiB: ${limit_mib}")
  endif()
  file(SIZE "${package}" bytes)
  math(EXPR limit "${limit_mib} * 1048576")
  math(EXPR largest "${INSTALLER_LARGEST_PACKAGE_MIB} * 1048576")
  math(EXPR mib "${bytes} / 1048576")
  # cmake's numbers are 64-bit: packages of any size compare right.
  if(bytes GREATER largest)
    message(FATAL_ERROR "Package ${package} is ${bytes} bytes (${mib} MiB): a signed executable "
            "holds at most ${INSTALLER_LARGEST_PACKAGE_MIB} MiB of package (the certificate table's "
            "offset is 32 bits, so the whole file must stay below 4 GiB)")
  endif()
  if(bytes GREATER limit)
    message(STATUS "Package: ${bytes} bytes, above INSTALLER_RESOURCE_LIMIT_MIB (${limit_mib} MiB): "
            "attached after the image")
    set(${out} attached PARENT_SCOPE)
  else()
    message(STATUS "Package: ${bytes} bytes, carried as a resource (INSTALLER_RESOURCE_LIMIT_MIB is ${limit_mib} MiB)")
    set(${out} resource PARENT_SCOPE)
  endif()
endfunction()
