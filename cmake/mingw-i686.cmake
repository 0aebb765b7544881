set(KESTU_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
# The release program's processor floor is SSE2 (Pentium 4, Athlon 64 and
# later), with floating point in SSE registers: doubles round as on x86-64,
# not in the x87's extended precision.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
