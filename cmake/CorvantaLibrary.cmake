# Our libraries' common settings: headers from the project root (from include/corvanta once
# installed), C++20 carried to whoever links them, and an installed name that says whose it is.
function(corvanta_library name)
    add_library(${name} STATIC ${ARGN})
    add_library(Corvanta::${name} ALIAS ${name})
    target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${CORVANTA_ROOT}>
                                              $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/corvanta>)
    target_compile_features(${name} PUBLIC cxx_std_20)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME corvanta-${name} EXPORT_NAME ${name})
endfunction()
