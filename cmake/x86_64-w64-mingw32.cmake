# Cross-compiles the same sources for 64-bit Windows, to run the Wine tests on
# hosts that run no 32-bit code. Never the product.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
