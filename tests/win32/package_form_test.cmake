# The form the build picks for a package's size, and the package no signed
# executable can hold stopping the configure with its line. Sparse files
# stand in for the packages.
#   cmake -DWORK=<folder> -P package_form_test.cmake
# Each case runs package_form() in a cmake of its own (a FATAL_ERROR ends it).
set(form_file ${CMAKE_CURRENT_LIST_DIR}/../../cmake/package_form.cmake)
if(DEFINED CASE_PACKAGE)
  include(${form_file})
  package_form(form ${CASE_PACKAGE} ${CASE_LIMIT})
  message(STATUS "form: ${form}")
  return()
endif()

set(MiB 1048576)
math(EXPR largest "4032 * ${MiB}")
math(EXPR over "${largest} + 1")
math(EXPR at_limit "16 * ${MiB}")
math(EXPR past_limit "${at_limit} + 1")
# name, bytes, limit in MiB, what the output holds
set(cases
  "at the limit|${at_limit}|16|form: resource"
  "one byte past it|${past_limit}|16|form: attached"
  "every package attached|1|0|form: attached"
  "the largest a signed file holds|${largest}|16|form: attached"
  "one byte more|${over}|16|a signed executable holds at most 4032 MiB of package"
  "a limit that is no number|1|16MiB|INSTALLER_RESOURCE_LIMIT_MIB is not a number of MiB: 16MiB")
file(MAKE_DIRECTORY ${WORK})
set(failed 0)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 name)
  list(GET fields 1 bytes)
  list(GET fields 2 limit)
  list(GET fields 3 expected)
  set(package ${WORK}/package.msi)
  file(REMOVE ${package})
  execute_process(COMMAND truncate -s ${bytes} ${package} RESULT_VARIABLE made)
  execute_process(COMMAND ${CMAKE_COMMAND} -DCASE_PACKAGE=${package} -DCASE_LIMIT=${limit}
                          -P ${CMAKE_CURRENT_LIST_FILE}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REGEX REPLACE "[ \n]+" " " said "${out}${err}")
  # A form is said by a configure that goes on; anything else stops it.
  set(right_exit OFF)
  if((expected MATCHES "^form: " AND rc EQUAL 0) OR (NOT expected MATCHES "^form: " AND NOT rc EQUAL 0))
    set(right_exit ON)
  endif()
  if(NOT made EQUAL 0 OR NOT said MATCHES "${expected}" OR NOT right_exit)
    message(SEND_ERROR "${name}: exit ${rc}, said: ${said}")
    set(failed 1)
  endif()
endforeach()
file(REMOVE ${WORK}/package.msi)
if(failed)
  message(FATAL_ERROR "package_form: some cases failed")
endif()
message(STATUS "package_form: every case as expected")
