# Macros of the configuration program, Win32 part: the keyboard recorder
# hook, the macro manager with its lists, the shortcut dialog, the program
# that opens either on its own, and their Wine tests.
# Included by option/CMakeLists.txt after option_win; paths relative to option/.

target_sources(option_win PRIVATE
    macros/keyboard_recorder_hook_win.cpp
    macros/macro_list_box_win.cpp
    macros/macro_manager_dialog_win.cpp
    macros/macro_names_win.cpp
    dialogs/shortcut_dialog_win.cpp)
target_link_libraries(option_win PUBLIC option_macros_core)

add_executable(macro_dialog_host WIN32 tests/macro_dialog_host.cpp option.rc)
target_link_libraries(macro_dialog_host PRIVATE gm_warnings option_win)
add_dependencies(macro_dialog_host skins lan)

gm_test(option_macro_store_tests LABEL wine
    SOURCES tests/macro_store_test.cpp tests/macro_names_test.cpp
    LIBS option_win gm_test_support)

gm_test(option_macro_dialogs_tests LABEL e2e
    SOURCES tests/macro_dialogs_test.cpp
    LIBS option_win gm_test_support)
add_dependencies(option_macro_dialogs_tests macro_dialog_host)
