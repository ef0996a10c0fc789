# Run by CPack on the staged package before it is built: Debian keeps the programs of games in
# /usr/games (on every user's PATH), so the launcher moves there from /usr/bin. It finds the
# data folder and the game relative to itself, and /usr/games sits beside /usr/bin. Each package
# is staged in a folder of its own component's name; only the game's has a launcher.
set(stage "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
if(EXISTS "${stage}/dev" AND NOT EXISTS "${stage}/game")
  return()  # the library's package alone
endif()
if(EXISTS "${stage}/game")
  set(stage "${stage}/game")
endif()
if(NOT EXISTS "${stage}/usr/bin/vork")
  file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE "${stage}" "${stage}/*/bin/vork")
  message(FATAL_ERROR "deb layout: no usr/bin/vork in ${stage} (found: ${found})")
endif()
file(MAKE_DIRECTORY "${stage}/usr/games")
file(RENAME "${stage}/usr/bin/vork" "${stage}/usr/games/vork")
file(GLOB left "${stage}/usr/bin/*")
if(NOT left)
  file(REMOVE_RECURSE "${stage}/usr/bin")
endif()
