# The compiler as a reviewer: the warnings and Qt's stricter string rules that every target of
# the project is built with, in one interface target that each compiled target links. Warnings
# stop the build only with FAHRTENBUCH_WERROR (CI sets it), so that a newer compiler's new
# warning never breaks a user's build.
include(cmake/project_targets.cmake)

add_library(fahrtenbuch_house_rules INTERFACE)
target_compile_options(fahrtenbuch_house_rules INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-qual)
if(FAHRTENBUCH_WERROR)
  target_compile_options(fahrtenbuch_house_rules INTERFACE -Werror)
endif()
target_compile_definitions(fahrtenbuch_house_rules INTERFACE
  QT_NO_KEYWORDS QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING
  QT_USE_QSTRINGBUILDER QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

fahrtenbuch_collect_targets("${PROJECT_SOURCE_DIR}" compiled_targets
  EXECUTABLE STATIC_LIBRARY SHARED_LIBRARY MODULE_LIBRARY OBJECT_LIBRARY)
foreach(target IN LISTS compiled_targets)
  target_link_libraries(${target} PRIVATE fahrtenbuch_house_rules)
endforeach()
