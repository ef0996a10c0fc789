# vork.exe: the game's own WinMain over the system's Win32 and DirectX, one statically linked
# GUI program, with every published value of our declared headers checked against the system's.

# ---- Every published value of our own headers, checked against the system's at compile time --

# Our declarations of the subset: every header in src/winapi but the two that publish nothing
# of the system's (the format check and OpenDataFile).
file(GLOB VORK_OUR_HEADERS ${PROJECT_SOURCE_DIR}/src/winapi/*.h)
list(FILTER VORK_OUR_HEADERS EXCLUDE REGEX "/(format_check|data_file)\\.h$")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VORK_OUR_HEADERS})

set(our_includes "")
set(standard_includes "")
set(our_macros "")
set(our_values "")
set(our_records "")
foreach(header ${VORK_OUR_HEADERS})
  string(APPEND our_includes "#include \"${header}\"\n")
  file(STRINGS ${header} lines REGEX "^(#define|}|#include <)")
  string(REPLACE "\\" "" lines "${lines}")  # a line-continuation backslash would join two lines
  foreach(line ${lines})
    string(REGEX REPLACE "[ \t]*//.*$" "" line "${line}")  # a comment is no part of a value
    if(line MATCHES "^#define[ \t]+([A-Za-z_][A-Za-z0-9_]*)")
      set(name ${CMAKE_MATCH_1})
      string(APPEND our_macros "#undef ${name}\n")
      # A value: a body that is not empty, not a type (lower case: const, IID&), not a
      # resource-name pointer or handle, not an element of one of our tables (DirectInput's
      # property ids), and not a function-like macro.
      if(line MATCHES "^#define[ \t]+[A-Za-z0-9_]+[ \t]+([^a-z \t].*)$"
         AND NOT line MATCHES "MAKEINTRESOURCE|\\(\\(H[A-Z]+\\)|\\[")
        string(APPEND our_values "VORK_PUBLISHED(${name})\n")
      endif()
    elseif(line MATCHES "^#include <([^>]+)>")
      # Standard headers go before the namespace, so that their guards keep them out of it.
      string(APPEND standard_includes "#include <${CMAKE_MATCH_1}>\n")
    elseif(line MATCHES "^}[ \t]*([A-Za-z_][A-Za-z0-9_]*)")
      string(APPEND our_records "VORK_RECORD(${CMAKE_MATCH_1})\n")
    endif()
  endforeach()
endforeach()
set(generated ${CMAKE_CURRENT_BINARY_DIR}/published)
file(CONFIGURE OUTPUT ${generated}/standard_headers.inc CONTENT "${standard_includes}")
file(CONFIGURE OUTPUT ${generated}/our_headers.inc CONTENT "${our_includes}")
file(CONFIGURE OUTPUT ${generated}/our_macros.inc CONTENT "${our_macros}")
file(CONFIGURE OUTPUT ${generated}/our_values.inc CONTENT "${our_values}")
file(CONFIGURE OUTPUT ${generated}/our_records.inc CONTENT "${our_records}")

# ---- The program ---------------------------------------------------------------------------

# The game's own WinMain is the entry (-mwindows: no console window). The check of the
# published values is compiled into it, so no Windows build skips it.
add_executable(vork WIN32 published_values_check.cpp)
target_include_directories(vork PRIVATE ${generated})
target_link_libraries(vork PRIVATE vork_game)
# WinMain lives in a static library that the runtime's start-up code calls into: ask for it up front.
# -static: no DLL beyond the system's (no libstdc++, libgcc or winpthread next to the exe).
target_link_options(vork PRIVATE -static -Wl,-u,WinMain)
set_target_properties(vork PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR} OUTPUT_NAME vork)
