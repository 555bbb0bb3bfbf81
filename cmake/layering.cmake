# SPDX-License-Identifier: GPL-3.0-or-later
# Each library shows its users its own headers and nothing else: a target sees
# "record/...", "translate/..." and so on only for the libraries it links. Every
# library gets an include folder of its own in the build tree, holding one link to its
# source folder; the source tree itself is never an include folder.
# An optional second argument is the path the folder is included by ("tests/support");
# by default its own name ("record").
function(edt_expose_headers target)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  get_filename_component(name ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  if(ARGC GREATER 1)
    set(name ${ARGV1})
  endif()
  if(NOT EXISTS ${root}/${name})
    get_filename_component(parent ${root}/${name} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC COPY_ON_ERROR)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
