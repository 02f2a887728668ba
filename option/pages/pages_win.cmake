# The setting pages and the resolution-stage widgets, on top of option_win.
# Included from option/CMakeLists.txt, so paths are relative to option/.

target_sources(option_win PRIVATE
    widgets/stage_control_win.cpp
    widgets/color_chooser_win.cpp
    pages/reset_command_win.cpp
    pages/sensitivity_page_win.cpp
    pages/advance_page_win.cpp
    pages/system_page_win.cpp
    pages/lighting_page_win.cpp)
target_link_libraries(option_win PUBLIC option_pages_core)

# Pages driven as a user drives them, inside a stand-in for the main dialog.
# They move the real pointer, so they take the desktop alone.
gm_test(option_pages_tests LABEL wine DESKTOP
    SOURCES
        tests/page_host.cpp
        tests/page_driver.cpp
        tests/stage_widgets_test.cpp
        tests/sensitivity_page_test.cpp
        tests/setting_pages_test.cpp
        tests/buttons_menu_test.cpp
        ${PROJECT_SOURCE_DIR}/skin/tests/skin_fixture.cpp
    LIBS option_win gm_test_support)
add_dependencies(option_pages_tests skins)

# Shows one page with the built skins, for screenshots (tools/gallery/page_screenshots.sh).
add_executable(page_shots WIN32 tests/page_shots.cpp tests/page_host.cpp
    ${PROJECT_SOURCE_DIR}/shared/tests/test_folder.cpp)
target_link_libraries(page_shots PRIVATE gm_warnings option_win)
add_dependencies(page_shots skins)
