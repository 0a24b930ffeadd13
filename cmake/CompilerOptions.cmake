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

if(QCC_SANITIZE)
    # Applied to everything, so the tests and the program share one instrumented runtime.
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
