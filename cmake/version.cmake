# The suite's one version number. Every program and library carries it in
# its version resource, the configuration program shows it in its version
# line, and the installer is named after it.
set(GM_VERSION_MAJOR 1)
set(GM_VERSION_MINOR 01)
set(GM_VERSION "${GM_VERSION_MAJOR}.${GM_VERSION_MINOR}")
set(GM_PRODUCT "Orvex Gaming Mouse")
set(GM_COMPANY "Orvex")
set(GM_COPYRIGHT "Copyright (C) 2026 the Orvex Gaming Mouse developers")

# gm_version_resource(target "file description"): adds a version resource
# to a program or library, named after the target's output file.
function(gm_version_resource target description)
    get_target_property(type ${target} TYPE)
    get_target_property(out ${target} OUTPUT_NAME)
    if(NOT out)
        set(out ${target})
    endif()
    if(type STREQUAL "EXECUTABLE")
        set(GM_VR_FILE "${out}.exe")
        set(GM_VR_TYPE "VFT_APP")
    else()
        set(GM_VR_FILE "${out}.dll")
        set(GM_VR_TYPE "VFT_DLL")
    endif()
    set(GM_VR_NAME ${out})
    set(GM_VR_DESCRIPTION ${description})
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()
