# Cross-builds the Windows programs on Linux with Debian's MinGW-w64 (x86_64, posix threads, so
# std::thread works). Every .exe links its runtime statically and runs on its own; the tests run
# under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TERVAN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TERVAN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TERVAN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TERVAN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TERVAN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows 7 and later: NormalizeString, CancelIoEx.
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -DNOMINMAX")

find_program(TERVAN_WINE wine)
if(TERVAN_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TERVAN_WINE})
endif()

# The shipped programs carry no symbols.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
