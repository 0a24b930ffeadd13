# What the two Windows cross builds share, with Debian's mingw-w64 packages. Included by
# toolchain-i686-w64-mingw32.cmake (the 32-bit release) and toolchain-x86_64-w64-mingw32.cmake
# (the 64-bit build), which set QCC_MINGW_PREFIX and CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)

# The Win32-threads flavour: the program starts no thread, and it links no pthreads emulation.
find_program(CMAKE_CXX_COMPILER NAMES ${QCC_MINGW_PREFIX}-g++-win32 ${QCC_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QCC_MINGW_PREFIX}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${QCC_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CXX_FLAGS_INIT "${QCC_MINGW_ARCH_FLAGS} -ffunction-sections -fdata-sections")
# One self-contained executable: the compiler's runtime is linked in, only system DLLs remain. No
# link time in the header, so that two builds of one commit give the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -Wl,--no-insert-timestamp")
