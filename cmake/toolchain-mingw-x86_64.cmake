# Cross-compiles for 64-bit Windows with MinGW-w64 and runs the results under
# wine64: the plug-in for 64-bit hosts, its tools and every Windows test.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
