# Warning and sanitizer settings shared by every target of ours.

option(QCC_WERROR "Treat compiler warnings as errors" OFF)
option(QCC_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

function(qcc_apply_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${QCC_WERROR}>:/WX>)
        return()
    endif()
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast
        $<$<BOOL:${QCC_WERROR}>:-Werror>)
endfunction()

if(EMSCRIPTEN)
    # emscripten leaves C++ exceptions uncatchable unless every unit is built to catch them, and
    # a cancel reaches the Select Color command's trap as one. These are its JavaScript-based
    # exceptions: WebAssembly's own do not work with Asyncify in Debian's emscripten.
    add_compile_options(-fexceptions)
    add_link_options(-fexceptions)
    # The page is downloaded whole: the smallest code, optimised across units (13 % less page than
    # -Os alone).
    add_compile_options(-Oz -flto)
    add_link_options(-Oz -flto)
endif()

if(QCC_SANITIZE)
    # Applied to everything, so the tests and the program share one instrumented runtime.
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Debian's hardening, the flags `dpkg-buildflags` gives with hardening=+all: fortified libc
# calls, a strong stack protector, format checks, and relocations made read-only and bound at
# load. For the Linux desktop builds; the sanitizers bring checks of their own and clash with
# fortify.
option(QCC_HARDEN "Build with Debian's hardening flags" ON)
if(QCC_HARDEN AND NOT WIN32 AND NOT EMSCRIPTEN AND NOT QCC_SANITIZE)
    add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security
                        $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
    add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()

# No build folder's path in the binaries, so that two builds of one commit in two folders give
# the same bytes.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)
