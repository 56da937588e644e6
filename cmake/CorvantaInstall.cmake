# SPDX-License-Identifier: MIT
# The toolkit and the rate source as a C++ library: their public headers under
# include/corvanta/ (laid out as in the source tree, so `#include "toolkit/CString256.h"` works
# the same; each folder names its own, see corvanta_public_headers), static libraries, a CMake
# package and a pkg-config file. Only the stand-ins they call come along, with the base layer;
# AppKit (Qt) does not, and no consumer needs Qt's, Lua's or curl's headers.
include(CMakePackageConfigHelpers)

set(CORVANTA_LIBRARIES base carbon corefoundation foundation applescript toolkit rates)
set(CORVANTA_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Corvanta)

install(TARGETS ${CORVANTA_LIBRARIES} EXPORT CorvantaTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvanta)
# A stripped install (the package) keeps the archives' symbols but not their debug information.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(library ${CORVANTA_LIBRARIES})
            execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/libcorvanta-\${library}.a\")
        endforeach()
    endif()" COMPONENT dev)
install(EXPORT CorvantaTargets NAMESPACE Corvanta:: DESTINATION ${CORVANTA_CMAKE_DIR}
        COMPONENT dev)
configure_package_config_file(cmake/CorvantaConfig.cmake.in
    ${PROJECT_BINARY_DIR}/CorvantaConfig.cmake INSTALL_DESTINATION ${CORVANTA_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/CorvantaConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/CorvantaConfig.cmake
              ${PROJECT_BINARY_DIR}/CorvantaConfigVersion.cmake
        DESTINATION ${CORVANTA_CMAKE_DIR} COMPONENT dev)

# The pkg-config file finds the prefix from its own place, so it moves with the install.
file(RELATIVE_PATH CORVANTA_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
configure_file(cmake/corvanta.pc.in ${PROJECT_BINARY_DIR}/corvanta.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/corvanta.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT dev)
