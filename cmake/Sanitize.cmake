# VELMORA_SANITIZE=address,undefined (or =thread): every target of the
# project built and linked with those sanitizers; UBSan halts on the first
# finding. VELMORA_FUZZ=ON (with clang++) also builds the libFuzzer harnesses
# in fuzz/, the project's libraries instrumented for coverage.
set(VELMORA_SANITIZE "" CACHE STRING "Sanitizers to build with: address,undefined or thread")
option(VELMORA_FUZZ "Build the libFuzzer harnesses (clang++ only)" OFF)

if(VELMORA_SANITIZE)
    set(velmora_san_flags -fsanitize=${VELMORA_SANITIZE} -fno-omit-frame-pointer -g)
    if(VELMORA_SANITIZE MATCHES "undefined")
        list(APPEND velmora_san_flags -fno-sanitize-recover=undefined)
    endif()
    add_compile_options(${velmora_san_flags})
    add_link_options(-fsanitize=${VELMORA_SANITIZE})
endif()

if(VELMORA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "VELMORA_FUZZ needs clang++ (CMAKE_CXX_COMPILER=clang++)")
    endif()
    if(NOT VELMORA_SANITIZE)
        add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                            -fno-omit-frame-pointer -g)
        add_link_options(-fsanitize=address,undefined)
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
