# `make package`: the Debian package, by CPack from the install rules. Its dependencies are read
# from the programs themselves (dpkg-shlibdeps), its programs are stripped, and its maintainer
# scripts let udev apply the printer's rule at once.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tervan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tervan developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure receipt printers and store their logos")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tervan configures receipt printers, thermal or dot-matrix, attached by a serial\n"
    "port, USB or the network: character set and code page, the printer's serial\n"
    "line, its identity and Bluetooth name, black-mark detection, speed, density,\n"
    "paper width, cutter, buzzer and more. It puts the printer into setup mode,\n"
    "sends one command for each setting to change and takes it out again. It also\n"
    "stores logos in the printer's nine slots, from 1-bit BMP files or from any\n"
    "picture fitted to the paper, and prints them.\n"
    ".\n"
    "This package holds the window (tervan), the command line (tervan-cli), a\n"
    "virtual printer for trying them without hardware (tervan-printer-sim), and the\n"
    "udev rule that lets the user at the seat open the USB printer.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TERVAN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's Chinese texts need a font that has them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/contrib/debian/postinst
                                       ${PROJECT_SOURCE_DIR}/contrib/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
