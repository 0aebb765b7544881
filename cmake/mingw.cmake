# Cross toolchain: mingw-w64 for ${KESTU_ARCH} Windows (posix thread model).
# Included by mingw-i686.cmake and mingw-x86_64.cmake, which set KESTU_ARCH.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KESTU_ARCH})
set(CMAKE_C_COMPILER ${KESTU_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESTU_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${KESTU_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KESTU_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
