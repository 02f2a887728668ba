# The pages' rules apart from their windows: value tables, slider mappings,
# button groups, and the pure half of the resolution-stage widgets.
# Included from option/CMakeLists.txt, so paths are relative to option/.

gm_core_library(option_pages_core
    pages/sensitivity_logic.cpp
    pages/lighting_groups.cpp
    pages/advance_logic.cpp
    pages/system_logic.cpp
    widgets/stage_values.cpp
    widgets/color_cells.cpp)
target_link_libraries(option_pages_core PUBLIC shared_core skin_core)

gm_test(option_pages_core_tests LABEL unit
    SOURCES
        tests/sensitivity_logic_test.cpp
        tests/page_rules_test.cpp
    LIBS option_pages_core)
