# Runs vork-replay on one key script and compares its log with the expected log.
# -DREPLAY=<vork-replay> -DASSETS=<assets dir> -DKEYS=<script> -DEXPECTED=<expected log> -DOUT=<work dir>
# With -DUPDATE=ON the expected log is rewritten instead.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${REPLAY} --assets ${ASSETS} --out ${OUT} --keys ${KEYS} --png none --max-ms 600000
                RESULT_VARIABLE status)
if(NOT EXISTS ${OUT}/log.txt)
  message(FATAL_ERROR "vork-replay wrote no log (exit status ${status})")
endif()
if(UPDATE)
  configure_file(${OUT}/log.txt ${EXPECTED} COPYONLY)
  message(STATUS "rewrote ${EXPECTED}")
  return()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/log.txt ${EXPECTED} RESULT_VARIABLE differs)
if(differs)
  execute_process(COMMAND diff -u ${EXPECTED} ${OUT}/log.txt OUTPUT_VARIABLE changes)
  string(SUBSTRING "${changes}" 0 4000 changes)
  message(FATAL_ERROR "the game behaved differently from ${EXPECTED}:\n${changes}")
endif()
