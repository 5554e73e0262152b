# The serial link: one header, one binding per platform; the port list beside it.
target_sources(tervan_link PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SerialPort.h
    ${CMAKE_CURRENT_LIST_DIR}/PortList.h
    ${CMAKE_CURRENT_LIST_DIR}/PortList.cpp)

if(UNIX)
    target_sources(tervan_link PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/SerialPortPosix.h
        ${CMAKE_CURRENT_LIST_DIR}/SerialTermiosPosix.h
        ${CMAKE_CURRENT_LIST_DIR}/SerialTermiosPosix.cpp
        ${CMAKE_CURRENT_LIST_DIR}/SerialPortPosix.cpp)
endif()

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    target_sources(tervan_link PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/PortListLinux.h
        ${CMAKE_CURRENT_LIST_DIR}/PortListLinux.cpp)
endif()

if(APPLE)
    target_sources(tervan_link PRIVATE ${CMAKE_CURRENT_LIST_DIR}/PortListMac.cpp)
endif()

if(WIN32)
    target_sources(tervan_link PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/SerialPortWin32.h
        ${CMAKE_CURRENT_LIST_DIR}/SerialDcbWin32.h
        ${CMAKE_CURRENT_LIST_DIR}/SerialDcbWin32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/SerialPortWin32.cpp
        ${CMAKE_CURRENT_LIST_DIR}/PortListWin32.h
        ${CMAKE_CURRENT_LIST_DIR}/PortListWin32.cpp)
endif()
