# The USB link: the libusb-1.0 binding where libusb is found, otherwise a binding whose Open fails,
# so that every front end still builds and runs.
target_sources(tervan_link PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/UsbPort.h
    ${CMAKE_CURRENT_LIST_DIR}/UsbLocation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UsbDevicePath.h
    ${CMAKE_CURRENT_LIST_DIR}/UsbDevicePath.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UsbInterfaceChoice.h
    ${CMAKE_CURRENT_LIST_DIR}/UsbInterfaceChoice.cpp)

if(WIN32)
    # SetupAPI finds the device; overlapped file I/O talks to it. No libusb on Windows.
    target_sources(tervan_link PRIVATE ${CMAKE_CURRENT_LIST_DIR}/UsbPortWin32.h
                                       ${CMAKE_CURRENT_LIST_DIR}/UsbPortWin32.cpp)
    target_link_libraries(tervan_link PRIVATE setupapi)
    return()
endif()

# Both bindings below keep the same state, libusb's handles.
target_sources(tervan_link PRIVATE ${CMAKE_CURRENT_LIST_DIR}/UsbPortLibusb.h)
pkg_check_modules(LIBUSB IMPORTED_TARGET libusb-1.0)
if(LIBUSB_FOUND)
    target_sources(tervan_link PRIVATE ${CMAKE_CURRENT_LIST_DIR}/UsbPortLibusb.cpp)
    target_link_libraries(tervan_link PRIVATE PkgConfig::LIBUSB)
else()
    message(STATUS "libusb-1.0 not found: the USB link is built without a device binding")
    target_sources(tervan_link PRIVATE ${CMAKE_CURRENT_LIST_DIR}/UsbPortNull.cpp)
endif()

