# Runs a libFuzzer target for SECONDS on a scratch copy of its seed corpus, so
# the inputs it discovers (and any crashing input) land in SCRATCH, never in
# the repository. Usage: cmake -DFUZZER=... -DCORPUS=... -DSCRATCH=... -DSECONDS=... -P run_fuzzer.cmake
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}/corpus" "${SCRATCH}/artifacts")
file(GLOB seeds "${CORPUS}/*")
if(seeds)
    file(COPY ${seeds} DESTINATION "${SCRATCH}/corpus")
endif()
execute_process(
    COMMAND "${FUZZER}" -max_total_time=${SECONDS} -print_final_stats=1
            -artifact_prefix=${SCRATCH}/artifacts/ "${SCRATCH}/corpus"
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed (${status}); the failing input is in ${SCRATCH}/artifacts")
endif()
