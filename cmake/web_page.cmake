# vork_web_page(target OUT folder NAME file [SINGLE_FILE]): links a web page of the game with
# emscripten: the .html from src/programs/web_page.html with its .js and .wasm, and the game's
# files (VORK_WEB_ASSETS) as a .data file beside it, or, with SINGLE_FILE, all in one .html that
# also opens from the disk. The game's blocking loops run under Asyncify; the page is packed
# again whenever an asset or the page template changes.
function(vork_web_page target)
  cmake_parse_arguments(PAGE "SINGLE_FILE" "OUT;NAME" "" ${ARGN})
  # Found from this file, so that a page declared in any folder gets the template.
  set(VORK_WEB_PAGE_TEMPLATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../src/programs/web_page.html)
  file(GLOB asset_files ${VORK_WEB_ASSETS}/*)
  target_link_options(${target} PRIVATE -sASYNCIFY -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web
                      -sMINIFY_HTML=0 --shell-file ${VORK_WEB_PAGE_TEMPLATE})
  if(PAGE_SINGLE_FILE)
    target_link_options(${target} PRIVATE -sSINGLE_FILE=1 --embed-file ${VORK_WEB_ASSETS}@/game)
  else()
    target_link_options(${target} PRIVATE --preload-file ${VORK_WEB_ASSETS}@/game)
  endif()
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${PAGE_NAME} SUFFIX .html
                        RUNTIME_OUTPUT_DIRECTORY ${PAGE_OUT}
                        LINK_DEPENDS "${VORK_WEB_PAGE_TEMPLATE};${asset_files}")
endfunction()
