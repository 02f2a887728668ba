# Helpers every folder uses, so targets are declared the same way everywhere.

add_library(gm_warnings INTERFACE)
target_compile_options(gm_warnings INTERFACE -Wall -Wextra -Werror)
target_include_directories(gm_warnings INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_definitions(gm_warnings INTERFACE GM_VERSION_TEXT="${GM_VERSION}")
if(WIN32)
    # The programs use the ANSI APIs; keep UNICODE off everywhere.
    target_compile_definitions(gm_warnings INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

set_property(GLOBAL PROPERTY GM_CORE_SOURCES "")

# gm_core_library(name sources...): Win32-free code, built by both presets.
function(gm_core_library name)
    add_library(${name} STATIC ${ARGN})
    target_link_libraries(${name} PUBLIC gm_warnings)
    foreach(src IN LISTS ARGN)
        set_property(GLOBAL APPEND PROPERTY GM_CORE_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${src})
        get_filename_component(stem ${src} NAME_WE)
        get_filename_component(dir ${src} DIRECTORY)
        if(dir)
            set(stem ${dir}/${stem})
        endif()
        foreach(hdr ${stem}.h)
            if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${hdr})
                set_property(GLOBAL APPEND PROPERTY GM_CORE_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${hdr})
            endif()
        endforeach()
    endforeach()
endfunction()

# gm_test(name LABEL unit|wine|e2e [DESKTOP] SOURCES ... LIBS ... [ENV VAR=value...]): one GoogleTest
# binary, its cases discovered when ctest runs (under Wine for the Windows build).
# e2e tests run one at a time: the programs they start use names that are
# global to the desktop. DESKTOP does the same for tests that move the real
# pointer or need their window on top.
function(gm_test name)
    if(GM_FUZZ)
        return() # the fuzz build holds the fuzz targets alone
    endif()
    cmake_parse_arguments(T "DESKTOP" "LABEL" "SOURCES;LIBS;ENV" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE gm_warnings GTest::gtest_main ${T_LIBS})
    set(props LABELS ${T_LABEL})
    if(T_LABEL STREQUAL "e2e" OR T_DESKTOP)
        list(APPEND props RESOURCE_LOCK desktop)
    endif()
    if(T_ENV)
        list(APPEND props ENVIRONMENT ${T_ENV})
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ${props}
        TEST_PREFIX "${name}.")
endfunction()

# A test that no core file includes a platform header.
function(gm_add_core_include_check)
    get_property(files GLOBAL PROPERTY GM_CORE_SOURCES)
    add_test(NAME core_has_no_platform_headers
        COMMAND sh ${PROJECT_SOURCE_DIR}/tools/check-core-includes.sh ${files})
    set_tests_properties(core_has_no_platform_headers PROPERTIES LABELS unit)
endfunction()

# The program icon, drawn at build time with Debian's Python and Pillow
# (python3-pil), whatever python3 comes first on the PATH.
function(gm_program_icon out)
    add_custom_command(OUTPUT ${out}
        COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/tools/make_icon.py ${out}
        DEPENDS ${PROJECT_SOURCE_DIR}/tools/make_icon.py
        COMMENT "Drawing the program icon")
endfunction()
