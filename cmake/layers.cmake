# One library per folder of the layout (the README's table), each linked
# only to the folders its row may include. A library's include path is a
# folder of its own in the build tree that shows its source folder and
# nothing else, so an include of a folder the row does not allow fails to
# compile, and a call into one fails to link.
function(installer_layer target folder)
  set(view ${CMAKE_BINARY_DIR}/layers/${target})
  get_filename_component(parent ${view}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT IS_SYMLINK ${view}/${folder})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${view}/${folder} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${view})
  else()
    target_include_directories(${target} PUBLIC ${view})
    # Our code throws nothing and returns results instead.
    target_compile_options(${target} PRIVATE -fno-exceptions)
  endif()
endfunction()
