# The network link: one algorithm over a few socket calls, bound per platform.
target_sources(tervan_link PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Socket.h
    ${CMAKE_CURRENT_LIST_DIR}/TcpEndpoint.h
    ${CMAKE_CURRENT_LIST_DIR}/TcpEndpoint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TcpPort.h
    ${CMAKE_CURRENT_LIST_DIR}/TcpPort.cpp)

if(WIN32)
    target_sources(tervan_link PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SocketWin32.cpp)
    target_link_libraries(tervan_link PUBLIC ws2_32)
else()
    target_sources(tervan_link PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SocketPosix.cpp)
endif()
target_link_libraries(tervan_link PUBLIC Threads::Threads)
