# Gives every program of the sanitized build its sanitizer options, so they hold however the
# program is started: by ctest, by gtest's test discovery at build time, by a test that runs
# the program itself, or by hand. Options in ASAN_OPTIONS, UBSAN_OPTIONS and LSAN_OPTIONS
# still take precedence.
set(FAHRTENBUCH_LSAN_SUPPRESSIONS "${PROJECT_SOURCE_DIR}/cmake/lsan.supp")

function(fahrtenbuch_collect_executables dir out)
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  set(found "")
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      list(APPEND found ${target})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    fahrtenbuch_collect_executables("${subdir}" sub_found)
    list(APPEND found ${sub_found})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

configure_file(cmake/sanitizer_defaults.cpp.in sanitizer_defaults.cpp @ONLY)
fahrtenbuch_collect_executables("${PROJECT_SOURCE_DIR}" sanitized_executables)
foreach(executable IN LISTS sanitized_executables)
  target_sources(${executable} PRIVATE "${PROJECT_BINARY_DIR}/sanitizer_defaults.cpp")
endforeach()
