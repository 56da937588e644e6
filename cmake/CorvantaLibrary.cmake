# SPDX-License-Identifier: MIT
# Our libraries' common settings: headers from the project root (from include/corvanta once
# installed), C++20 carried to whoever links them, and an installed name that says whose it is.
function(corvanta_library name)
    add_library(${name} STATIC ${ARGN})
    add_library(Corvanta::${name} ALIAS ${name})
    target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${CORVANTA_ROOT}>
                                              $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/corvanta>)
    target_compile_features(${name} PUBLIC cxx_std_20)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME corvanta-${name} EXPORT_NAME ${name})
    # Every library goes into the layer check (tests/layers).
    set_property(GLOBAL APPEND PROPERTY CORVANTA_LIBRARIES ${name})
endfunction()

# The headers of the library in this folder that users of the installed package may include;
# they go to include/corvanta/<folder>/, and the folder's other headers stay private. Each one
# must compile on its own with only the package's usage requirements (tests/install checks).
function(corvanta_public_headers)
    file(RELATIVE_PATH folder ${CORVANTA_ROOT} ${CMAKE_CURRENT_SOURCE_DIR})
    install(FILES ${ARGN} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvanta/${folder}
            COMPONENT dev)
endfunction()
