# Cross-compiles the installer that ships, and its tests, for 32-bit Windows;
# test executables run under Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
