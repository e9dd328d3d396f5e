# Cross-compiles for 64-bit Windows with MinGW-w64. The plug-in itself is
# 32-bit only; this tree builds the Windows code below its host interface,
# so that wine64 can run those tests on a machine whose kernel runs no 32-bit
# programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
