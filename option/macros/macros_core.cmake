# Macros of the configuration program, pure part: the editor's list
# operations, the recorder's filter and pauses, the shortcut value.
# Included by option/CMakeLists.txt; paths are relative to option/.

gm_core_library(option_macros_core
    macros/macro_editor.cpp
    macros/macro_recorder.cpp
    dialogs/shortcut_record.cpp)
target_link_libraries(option_macros_core PUBLIC option_core shared_core)

gm_test(option_macros_core_tests LABEL unit
    SOURCES
        tests/macro_list_test.cpp
        tests/macro_editor_test.cpp
        tests/macro_recorder_test.cpp
        tests/shortcut_record_test.cpp
    LIBS option_macros_core)
