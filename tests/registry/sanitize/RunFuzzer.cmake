# Runs a libFuzzer target (tarnel_fuzz, dns_reply_fuzz) for a bounded time:
#   cmake -DFUZZER=... -DSECONDS=... -DSEEDS=corpus-dir -DWORK=dir -P RunFuzzer.cmake
# New inputs collect in WORK/corpus, read along with the committed seeds at every
# run; a failing input is saved in WORK/artifacts.

file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
execute_process(
  COMMAND ${FUZZER} ${WORK}/corpus ${SEEDS} -max_total_time=${SECONDS} -rss_limit_mb=2048
          -timeout=10 -print_final_stats=1 -artifact_prefix=${WORK}/artifacts/
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${FUZZER} found a fault (exit ${status}); the input is in ${WORK}/artifacts")
endif()
