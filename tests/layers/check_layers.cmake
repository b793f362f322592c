# Fails when a file of the source tree SOURCE_DIR includes a header of a layer
# above its own, or of a layer beside it, so that the layers run one way. From
# the bottom: core, platform, then statements, printing and backup (which know
# nothing of each other), then app. A folder of the tree in no layer fails too,
# so that a new one is placed before it is used.
#   cmake -DSOURCE_DIR=<src> -P check_layers.cmake
if(NOT IS_DIRECTORY "${SOURCE_DIR}")
  message(FATAL_ERROR "check_layers: no source tree at '${SOURCE_DIR}'")
endif()

set(rank_core 0)
set(rank_platform 1)
set(rank_statements 2)
set(rank_printing 2)
set(rank_backup 2)
set(rank_app 3)

file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(wrong "")
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+/" layer "${file}")
  string(REGEX REPLACE "/$" "" layer "${layer}")
  if(NOT DEFINED rank_${layer})
    string(APPEND wrong "${file} is in no layer\n")
    continue()
  endif()
  get_filename_component(folder "${SOURCE_DIR}/${file}" DIRECTORY)
  file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*$" "\\1" header "${line}")
    # A header beside the including file first, as the compiler looks.
    if(header MATCHES "^\\.\\.?/" OR EXISTS "${folder}/${header}")
      set(path "${folder}/${header}")
    else()
      set(path "${SOURCE_DIR}/${header}")
    endif()
    cmake_path(NORMAL_PATH path)
    cmake_path(RELATIVE_PATH path BASE_DIRECTORY "${SOURCE_DIR}" OUTPUT_VARIABLE included)
    string(REGEX MATCH "^[^/]+/" to "${included}")
    string(REGEX REPLACE "/$" "" to "${to}")
    # Qt's, the library's and the system's headers are no layer of ours.
    if(NOT DEFINED rank_${to} OR to STREQUAL layer)
      continue()
    endif()
    if(NOT rank_${to} LESS rank_${layer})
      string(APPEND wrong "${file} includes ${included}\n")
    endif()
  endforeach()
endforeach()

if(wrong)
  message(FATAL_ERROR "Includes against the layers "
                      "(core, platform, statements|printing|backup, app):\n${wrong}")
endif()
