# Gives every program of the sanitized build its sanitizer options, so they hold however the
# program is started: by ctest, by gtest's test discovery at build time, by a test that runs
# the program itself, or by hand. Options in ASAN_OPTIONS, UBSAN_OPTIONS and LSAN_OPTIONS
# still take precedence.
set(FAHRTENBUCH_LSAN_SUPPRESSIONS "${PROJECT_SOURCE_DIR}/cmake/lsan.supp")

include(cmake/project_targets.cmake)

configure_file(cmake/sanitizer_defaults.cpp.in sanitizer_defaults.cpp @ONLY)
fahrtenbuch_collect_targets("${PROJECT_SOURCE_DIR}" sanitized_executables EXECUTABLE)
foreach(executable IN LISTS sanitized_executables)
  target_sources(${executable} PRIVATE "${PROJECT_BINARY_DIR}/sanitizer_defaults.cpp")
endforeach()
