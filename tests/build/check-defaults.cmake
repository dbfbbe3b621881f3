# cmake -DSOURCE_DIR=<source> -DWORK_DIR=<empty folder> -P check-defaults.cmake
cmake_minimum_required(VERSION 3.22)
# Configures a fresh tree with no options: warnings must not be errors there, so that a packager's
# compiler or build type never stops a build on a warning.
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${WORK_DIR}" -DRZ470_TESTS=OFF
                RESULT_VARIABLE configured OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT configured EQUAL 0)
    message(FATAL_ERROR "a fresh configure failed:\n${output}")
endif()
load_cache("${WORK_DIR}" READ_WITH_PREFIX fresh_ RZ470_WERROR)
file(REMOVE_RECURSE "${WORK_DIR}")
if(NOT DEFINED fresh_RZ470_WERROR OR fresh_RZ470_WERROR)
    message(FATAL_ERROR "RZ470_WERROR is '${fresh_RZ470_WERROR}' by default; it must be OFF")
endif()
message(STATUS "RZ470_WERROR is OFF by default")
