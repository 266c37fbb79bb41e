# `cpack -G DEB` in the build directory makes the Debian package
# pavok_<version>_<arch>.deb from what cmake/Install.cmake installs. Build
# with -DCMAKE_INSTALL_PREFIX=/usr so the files land where Debian keeps them.

if(NOT UNIX OR APPLE)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pavok)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pavok")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programmer for C02-C16 I2C serial EEPROMs on a USB adapter")
set(CPACK_PACKAGE_DESCRIPTION
  "Pavok reads, writes, erases and compares small I2C serial EEPROMs (C02,\n"
  "C04, C08, C16: 256 to 2048 bytes) on a USB adapter (03eb:21ff, or the\n"
  "CH341A programmer, 1a86:5512), and loads and saves their contents as\n"
  "image files. It comes as the dialog program pavok, with a hex view and\n"
  "line editor of the buffer, and the command-line program pavok-cli. A\n"
  "udev rule gives the logged-in user access to the adapters.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(PAVOK_PACKAGE_MAINTAINER "Pavok developers <pavok@example.org>" CACHE STRING "Maintainer of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PAVOK_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The libraries the programs link come from dpkg-shlibdeps when it is there;
# otherwise they are named here (Debian 12's Qt 6 and libusb).
find_program(PAVOK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(PAVOK_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(pavok_depends "libc6, libgcc-s1, libstdc++6, libacl1, libattr1")
  if(PAVOK_HAVE_LIBUSB)
    string(APPEND pavok_depends ", libusb-1.0-0 (>= 2:1.0.16)")
  endif()
  if(TARGET pavok)
    string(APPEND pavok_depends ", libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4)")
  endif()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${pavok_depends}")
endif()

# Qt's own buttons and file dialogs in the user's language.
if(TARGET pavok)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
endif()

include(CPack)
