# Cross-compiles the native 32-bit Windows program with Debian's mingw-w64 packages
# (g++-mingw-w64-i686). Use: cmake --preset windows, or -DCMAKE_TOOLCHAIN_FILE=<this file>.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(QCC_MINGW_PREFIX i686-w64-mingw32)
# The Win32-threads flavour: the program starts no thread, and it links no pthreads emulation.
find_program(CMAKE_CXX_COMPILER NAMES ${QCC_MINGW_PREFIX}-g++-win32 ${QCC_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QCC_MINGW_PREFIX}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${QCC_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# SSE2 arithmetic rather than the x87 unit's extended precision, so every double operation rounds
# exactly as on the Linux build.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -ffunction-sections -fdata-sections")
# One self-contained executable: the compiler's runtime is linked in, only system DLLs remain. No
# link time in the header, so that two builds of one commit give the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -Wl,--no-insert-timestamp")
