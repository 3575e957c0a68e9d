# `cpack` (run in the build folder) makes a Debian package of what packaging/CMakeLists.txt installs.
# Its dependencies come from the binaries (dpkg-shlibdeps, from Debian's dpkg-dev; CPack also needs
# `file`). Settings only: included from the top-level CMakeLists after the programs exist.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tkm9214-utility)
set(CPACK_PACKAGE_VENDOR TKM)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "TKM technical support <ts@tkm.test>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://tkm.test/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "service and test utility for the TKM-9214 operator terminal")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
Finds a TKM-9214 operator terminal on a serial line, reads its identity and
configuration, exercises its display, keypad, lamps, digital lines, user
symbols and watchdog, and stores new settings in it. A built-in simulated
terminal (also the program tkm9214-sim) answers like the hardware, so the
utility can be learnt without a terminal at hand.

To open a serial port the user must be a member of the dialout group:
sudo adduser USER dialout, then log in again.")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Arial-compatible metrics, so the window's captions fit as designed; Qt's Wayland platform, so the
# window runs natively on a Wayland session (Debian's default) instead of through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, qt6-wayland")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
