# SPDX-License-Identifier: MIT
# `make package`: the Debian packages, made with CPack from the install rules.
#   corvanta      the programs, the pane, desktop integration (component runtime)
#   corvanta-dev  the toolkit's headers, static libraries, CMake and pkg-config files (dev)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvanta)
set(CPACK_PACKAGE_VENDOR Brenwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_PACKAGE_CONTACT "Corvanta developers <corvanta@brenwick.example>")
set(CPACK_RESOURCE_FILE_LICENSE ${CORVANTA_ROOT}/LICENSE)
set(CPACK_STRIP_FILES ON)
# Installed under /usr whatever this build's own prefix; DESTDIR lets the autostart entry go to
# /etc/xdg/autostart in the package as it would on the system.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://corvanta.brenwick.example/")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME corvanta)
# Depends computed from the binaries by dpkg-shlibdeps.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
# A plug-in no binary links: without it Qt draws the menu's SVG icon as nothing.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "libqt6svg6")
# GNOME, Debian's default desktop, shows no status area without the AppIndicator extension;
# Qt's own translations give its standard buttons and dialogs in German and French.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_RECOMMENDS
    "ca-certificates, systemd, gnome-shell-extension-appindicator, qt6-translations-l10n")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
"exchange rates in the desktop panel's status area
Corvanta puts a currency-rate menu into the panel's status area (KDE Plasma,
XFCE, LXQt, Cinnamon, or GNOME with the AppIndicator extension). The menu lists
the currencies you choose with their rates in the base currency you pick and
how they moved since the day before, draws a chart of the last weeks, and
converts an amount that you have selected or copied.
.
The package holds the settings (corvanta-prefs, in the application menu), the
rate menu (corvanta-menu, started at log-in), and a small local rate site
(corvanta-rate-site, started by systemd socket activation) that serves the
European Central Bank's euro reference rates of the last 90 days, converted
to any of their currencies, with a cached copy and a bundled snapshot for when there is no network.")
# The autostart entry is the one file under /etc: a configuration file the user may change.
set(corvanta_conffiles ${PROJECT_BINARY_DIR}/debian-runtime/conffiles)
file(WRITE ${corvanta_conffiles} "/etc/xdg/autostart/corvanta-menu.desktop\n")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${corvanta_conffiles})

set(CPACK_DEBIAN_DEV_PACKAGE_NAME corvanta-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
    "libplist-dev, libcurl4-openssl-dev | libcurl-dev, libicu-dev, liblua5.4-dev, libsdbus-c++-dev, libsystemd-dev, pkgconf | pkg-config")
set(CPACK_COMPONENT_DEV_DESCRIPTION
"Corvanta text toolkit and rate source (development files)
The C++20 library that Corvanta is built on: the fixed-capacity string
CString256 with its pool, lists and matchers, string helpers, localized text
lookup, and the rate page's fetch and parse, with the small stand-ins they rest
on. Static libraries, headers under /usr/include/corvanta, a CMake package
(find_package(Corvanta CONFIG) giving Corvanta::toolkit and Corvanta::rates)
and a pkg-config file (corvanta).")

include(CPack)
