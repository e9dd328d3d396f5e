# What both MinGW-w64 toolchains share; each sets CMAKE_SYSTEM_PROCESSOR and
# TOOLCHAIN_PREFIX first.
set(CMAKE_SYSTEM_NAME Windows)

# The -posix variants carry std::thread support.
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The top-level CMakeLists.txt sets CMAKE_CROSSCOMPILING_EMULATOR to a Wine
# launcher with a prefix inside the build tree.
