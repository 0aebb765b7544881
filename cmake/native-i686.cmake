# Native 32-bit x86 Linux (gcc -m32 from Debian's multilib packages): the
# portable code as 32-bit code on the release program's processor floor,
# SSE2 with SSE floating point, so its arithmetic is proven there too.
set(CMAKE_C_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")
