# Builds the platform, the rules and the rules' tests again with AddressSanitizer and UBSan, in a
# build folder of their own that uses the main build's data folder, and runs those tests.
#   cmake -DSOURCE=... -DBINARY=... -DDATA=... [-DLAUNCHER=ccache] [-DWERROR=ON] -P sanitized.cmake
foreach(var SOURCE BINARY DATA)
  if(NOT ${var})
    message(FATAL_ERROR "sanitized.cmake needs -D${var}=...")
  endif()
endforeach()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}")
  endif()
endfunction()

run(${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER} -DTERRAVALE_ASAN=ON -DTERRAVALE_UBSAN=ON
    -DTERRAVALE_WERROR=${WERROR} -DTERRAVALE_TEST_DATA=${DATA})
run(${CMAKE_COMMAND} --build ${BINARY} --target rules_tests)
# Qt keeps some allocations to the end of the process: leaks are not what this run looks for.
set(ENV{ASAN_OPTIONS} "detect_leaks=0:abort_on_error=1")
set(ENV{UBSAN_OPTIONS} "print_stacktrace=1:halt_on_error=1")
run(${CMAKE_CTEST_COMMAND} --test-dir ${BINARY} -L "^rules$" --output-on-failure)
