# Cross-compiles the native 32-bit Windows program, the release, with Debian's mingw-w64 packages
# (g++-mingw-w64-i686). Use: cmake --preset windows, or -DCMAKE_TOOLCHAIN_FILE=<this file>.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QCC_MINGW_PREFIX i686-w64-mingw32)
# SSE2 arithmetic rather than the x87 unit's extended precision, so every double operation rounds
# exactly as on the Linux build.
set(QCC_MINGW_ARCH_FLAGS "-msse2 -mfpmath=sse")
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
