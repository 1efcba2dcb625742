# The same bytes from the same sources: every time the build writes into a
# shipped file (the PE time stamps, the package's summary and its files'
# times, the signing times) is SOURCE_DATE_EPOCH, the time of the last
# commit unless the environment sets it when configuring. A new commit
# configures the build again, so the times follow the commit.
#   INSTALLER_SOURCE_DATE_EPOCH   the time, in seconds since 1970
#   SOURCE_DATE_ENV               a command prefix that runs a tool with it
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(INSTALLER_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct
                    OUTPUT_VARIABLE INSTALLER_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                    ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${CMAKE_SOURCE_DIR} rev-parse --absolute-git-dir
                    OUTPUT_VARIABLE git_dir OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    foreach(head_log ${git_dir}/logs/HEAD ${git_dir}/HEAD)
      if(EXISTS ${head_log})
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${head_log})
        break()
      endif()
    endforeach()
  endif()
endif()
if(NOT INSTALLER_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(WARNING "No commit to take the build's time from (not a git checkout, and no "
                  "SOURCE_DATE_EPOCH): the shipped files carry the time 0 (1970-01-01)")
  set(INSTALLER_SOURCE_DATE_EPOCH 0)
endif()
set(SOURCE_DATE_ENV ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${INSTALLER_SOURCE_DATE_EPOCH})
# ld writes SOURCE_DATE_EPOCH as the PE time stamp when it is set.
set(CMAKE_C_LINKER_LAUNCHER ${SOURCE_DATE_ENV})
set(CMAKE_CXX_LINKER_LAUNCHER ${SOURCE_DATE_ENV})
