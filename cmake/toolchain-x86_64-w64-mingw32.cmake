# Cross-compiles the same sources as a 64-bit Windows program with Debian's mingw-w64 packages
# (g++-mingw-w64-x86-64), which 64-bit Wine runs where 32-bit programs cannot run. Use:
# cmake --preset windows64, or -DCMAKE_TOOLCHAIN_FILE=<this file>.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QCC_MINGW_PREFIX x86_64-w64-mingw32)
# x86-64 does its double arithmetic in SSE2 already, rounding as the Linux build does.
set(QCC_MINGW_ARCH_FLAGS "")
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
