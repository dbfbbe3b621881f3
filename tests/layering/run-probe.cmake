# cmake -DBUILD_DIR=<tree> -DTARGET=<probe target> -DHEADER=<header> -DBUILDS=yes|no -P run-probe.cmake
cmake_minimum_required(VERSION 3.22)
# A probe that may include its header must build. One that must not passes only when the build
# fails because that very header is not found: any other error (a typo, a broken library) fails.
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BUILD_DIR}" --target "${TARGET}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(BUILDS STREQUAL "yes")
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${TARGET} should build with ${HEADER}:\n${output}")
    endif()
    return()
endif()
if(result EQUAL 0)
    message(FATAL_ERROR "${TARGET} found ${HEADER}, which its library must not reach")
endif()
# GCC: "<header>: No such file or directory"; Clang: "'<header>' file not found".
string(FIND "${output}" "${HEADER}: No such file or directory" gcc_missing)
string(FIND "${output}" "'${HEADER}' file not found" clang_missing)
if(gcc_missing EQUAL -1 AND clang_missing EQUAL -1)
    message(FATAL_ERROR "${TARGET} failed, but not for want of ${HEADER}:\n${output}")
endif()
message(STATUS "${HEADER} is out of reach, as it should be")
