# The Debian package: `cpack -G DEB` in a configured build (scripts/package.sh does it all).
# Its dependencies are the shared libraries the programs link, found by dpkg-shlibdeps,
# plus what Qt and the panel load at run time: the platform plugins that open a window,
# and the font the terminal and the read-outs are drawn in.
set(CPACK_PACKAGE_NAME hexmoor)
set(CPACK_PACKAGE_VENDOR "the Hexmoor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "68HC11F1 board simulator with a front panel and a debugger")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Hexmoor runs programs for the Motorola 68HC11F1 microcontroller on a simulated board:
every instruction with its cycle count, the control registers, the ports, timers, A/D
converter and interrupts, a terminal and a printer.
.
hexmoor is the desktop front panel, with LEDs for the port pins, sliders for the analog
inputs, memory, code and source windows, breakpoints and watchpoints. hexmoor-run runs
the same machine without a window, for scripts and terminals. hexmoor-asm assembles the
classic Motorola syntax of the textbooks into S-records.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "the Hexmoor developers")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
