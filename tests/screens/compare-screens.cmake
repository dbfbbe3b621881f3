# cmake -DTOOL=<rz470-screenshots> -DGOLDEN=<docs/screens> -DWORK_DIR=<scratch> -P compare-screens.cmake
cmake_minimum_required(VERSION 3.22)
# Renders every screen at ratio 1, and the main screen at ratio 2, and compares each picture with
# its golden copy byte for byte; a picture on one side only fails too.
file(REMOVE_RECURSE "${WORK_DIR}")

function(render folder scale)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=${scale}
                            "${TOOL}" "${folder}"
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "rz470-screenshots at scale ${scale} failed (${result}):\n${output}")
    endif()
endfunction()
render("${WORK_DIR}/1x" 1)
render("${WORK_DIR}/2x" 2)

# golden name -> rendered file
file(GLOB rendered RELATIVE "${WORK_DIR}/1x" "${WORK_DIR}/1x/*.png")
set(pairs)
foreach(name IN LISTS rendered)
    list(APPEND pairs "${name}|${WORK_DIR}/1x/${name}")
endforeach()
list(APPEND pairs "main-2x.png|${WORK_DIR}/2x/main.png")

set(failures)
set(expected)
foreach(pair IN LISTS pairs)
    string(REPLACE "|" ";" parts "${pair}")
    list(GET parts 0 name)
    list(GET parts 1 file)
    list(APPEND expected "${name}")
    if(NOT EXISTS "${GOLDEN}/${name}")
        list(APPEND failures "rendered but not in ${GOLDEN}: ${name}")
        continue()
    endif()
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${file}" "${GOLDEN}/${name}" RESULT_VARIABLE differs)
    if(differs)
        list(APPEND failures "differs from the rendered picture: ${name} (rendered: ${file})")
    endif()
endforeach()
file(GLOB golden RELATIVE "${GOLDEN}" "${GOLDEN}/*.png")
# The Windows program's screenshots are taken under Wine by scripts/check-windows.sh.
list(FILTER golden EXCLUDE REGEX "^windows-")
foreach(name IN LISTS golden)
    if(NOT name IN_LIST expected)
        list(APPEND failures "in ${GOLDEN} but no longer rendered: ${name}")
    endif()
endforeach()

if(failures)
    list(JOIN failures "\n  " report)
    message(FATAL_ERROR "screenshots differ from docs/screens:\n  ${report}\n"
                        "If a look changed on purpose, render them again with rz470-screenshots and look at each.")
endif()
list(LENGTH pairs count)
message(STATUS "${count} screenshots match docs/screens")
