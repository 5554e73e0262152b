# The cross-build's third-party pieces. Host headers are never put on the include path whole
# (they would shadow the MinGW C library's own): CLI11, which is header-only, is copied into the
# build folder and offered as the CLI11 package; GoogleTest is built from its sources with the
# cross compiler when the tests are.

find_path(TERVAN_CLI11_HOST_DIR CLI/CLI.hpp PATHS /usr/include /usr/local/include
          NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
if(NOT TERVAN_CLI11_HOST_DIR)
    message(FATAL_ERROR "CLI11 headers not found (Debian package libcli11-dev)")
endif()
set(TERVAN_CLI11_STAGE ${CMAKE_BINARY_DIR}/third-party/cli11)
file(COPY ${TERVAN_CLI11_HOST_DIR}/CLI DESTINATION ${TERVAN_CLI11_STAGE}/include)
file(WRITE ${TERVAN_CLI11_STAGE}/CLI11Config.cmake
     "if(NOT TARGET CLI11::CLI11)\n"
     "  add_library(CLI11::CLI11 INTERFACE IMPORTED)\n"
     "  set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES\n"
     "                        \"${TERVAN_CLI11_STAGE}/include\")\n"
     "endif()\n")
set(CLI11_DIR ${TERVAN_CLI11_STAGE} CACHE PATH "CLI11 staged for the cross-build" FORCE)

set(TERVAN_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross-build")
