# The suites of a Windows build (scripts/build-windows.sh; check-windows.sh runs them under Wine):
# those whose subject differs on Windows, and suites of the shared code that need nothing POSIX.

# Stand-in device libraries for the loader's refusals, each RZ470.dll in a folder of its own.
set(stubs_dir "${CMAKE_BINARY_DIR}/windows-stubs")
set(stub_source "${PROJECT_SOURCE_DIR}/tests/device/libs/stub_library.cpp")
function(rz470_windows_stub variant)
    cmake_parse_arguments(ARG "" "VERSION" "DEFINES" ${ARGN})
    add_library(winstub_${variant} SHARED ${stub_source})
    target_link_libraries(winstub_${variant} PRIVATE rz470_contract)
    target_include_directories(winstub_${variant} PRIVATE "${PROJECT_SOURCE_DIR}/simulator")
    target_compile_definitions(winstub_${variant} PRIVATE STUB_NO_NOTE ${ARG_DEFINES})
    if(ARG_VERSION)
        string(REPLACE "." "," version "${ARG_VERSION}")
        set(rc "${CMAKE_CURRENT_BINARY_DIR}/winstub_${variant}.rc")
        file(CONFIGURE OUTPUT "${rc}" CONTENT "#include <winver.h>\n1 VERSIONINFO\nFILEVERSION ${version},0,0\nPRODUCTVERSION ${version},0,0\nFILETYPE VFT_DLL\nBEGIN\nEND\n")
        target_sources(winstub_${variant} PRIVATE "${rc}")
    endif()
    set_target_properties(winstub_${variant} PROPERTIES OUTPUT_NAME RZ470 PREFIX "" AUTOMOC OFF
                          RUNTIME_OUTPUT_DIRECTORY "${stubs_dir}/${variant}")
    target_link_options(winstub_${variant} PRIVATE -static-libgcc -static-libstdc++ -static)
endfunction()

rz470_windows_stub(complete VERSION 1.0)
rz470_windows_stub(no-version)
rz470_windows_stub(version-0.9 VERSION 0.9)
rz470_windows_stub(no-set-ttl-timeout VERSION 1.0 DEFINES SetTTLTimeout=SetTTLTimeoutMissing)

add_library(winstub_gone SHARED "${PROJECT_SOURCE_DIR}/tests/device/libs/gone.cpp")
set_target_properties(winstub_gone PROPERTIES OUTPUT_NAME rz470-gone PREFIX "" AUTOMOC OFF
                      RUNTIME_OUTPUT_DIRECTORY "${stubs_dir}/gone-dependency-home")
target_link_options(winstub_gone PRIVATE -static-libgcc -static-libstdc++ -static)
add_library(winstub_needs-gone SHARED "${PROJECT_SOURCE_DIR}/tests/device/libs/needs_gone.cpp"
            "${CMAKE_CURRENT_BINARY_DIR}/winstub_complete.rc")
target_include_directories(winstub_needs-gone PRIVATE "${PROJECT_SOURCE_DIR}/simulator")
target_link_libraries(winstub_needs-gone PRIVATE winstub_gone)
set_target_properties(winstub_needs-gone PROPERTIES OUTPUT_NAME RZ470 PREFIX "" AUTOMOC OFF
                      RUNTIME_OUTPUT_DIRECTORY "${stubs_dir}/missing-dependency")
target_link_options(winstub_needs-gone PRIVATE -static-libgcc -static-libstdc++ -static)

rz470_add_test(tst_windowsloading SOURCES tst_windowsloading.cpp WITHOUT_PANEL)
target_compile_definitions(tst_windowsloading PRIVATE RZ470_WINDOWS_STUBS_DIR="${stubs_dir}")
add_dependencies(tst_windowsloading winstub_complete winstub_no-version winstub_version-0.9
                 winstub_no-set-ttl-timeout winstub_needs-gone)

add_executable(crash-child-windows crash_child_windows.cpp)
target_link_libraries(crash-child-windows PRIVATE rz470_support)
set_target_properties(crash-child-windows PROPERTIES AUTOMOC OFF)
rz470_add_test(tst_crashhandlerwindows SOURCES tst_crashhandlerwindows.cpp WITHOUT_PANEL)
add_dependencies(tst_crashhandlerwindows crash-child-windows)

rz470_add_test(tst_simulatorwindows SOURCES tst_simulatorwindows.cpp WITHOUT_PANEL)
target_include_directories(tst_simulatorwindows PRIVATE "${PROJECT_SOURCE_DIR}/simulator")
add_dependencies(tst_simulatorwindows RZ470 rz470-sim)

# Suites of the shared code, as they are.
set(shared_suites
    # name                 source
    "tst_unittable         device/tst_unittable.cpp"
    "tst_panelsettings     settings/tst_panelsettings.cpp"
    "tst_intensitysteps    actions/tst_intensitysteps.cpp"
    "tst_entryparsing      dialogs/tst_entryparsing.cpp"
    "tst_mainscreen        panel/tst_mainscreen.cpp")
foreach(suite IN LISTS shared_suites)
    string(REGEX REPLACE " +" ";" fields "${suite}")
    list(GET fields 0 name)
    list(GET fields 1 source)
    rz470_add_test(${name} SOURCES "${PROJECT_SOURCE_DIR}/tests/${source}")
endforeach()

# A real window: it runs on the windows platform whatever QT_QPA_PLATFORM says.
rz470_add_test(tst_systemmenu SOURCES tst_systemmenu.cpp)
