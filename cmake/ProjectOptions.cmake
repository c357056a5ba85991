# Warnings are errors in our own code, on every toolchain.
function(tesselwright_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
                                             -Wcast-align -Wnon-virtual-dtor -Werror)
    # GCC 12 at -O3 reports impossible overlaps inside std::string concatenation (GCC bug 105329).
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
endfunction()

if(TESSELWRIGHT_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# Header-only libraries from the system, usable by the cross builds too: the cross toolchains must not see
# the host's /usr/include, so only these two folders are linked into the build tree.
set(TESSELWRIGHT_THIRD_PARTY_INCLUDE "${CMAKE_BINARY_DIR}/third_party/include")
foreach(lib nlohmann CLI)
    if(NOT EXISTS "${TESSELWRIGHT_THIRD_PARTY_INCLUDE}/${lib}")
        if(NOT EXISTS "/usr/include/${lib}")
            message(FATAL_ERROR "/usr/include/${lib} is missing: run scripts/setup.sh to install the build's packages")
        endif()
        file(MAKE_DIRECTORY "${TESSELWRIGHT_THIRD_PARTY_INCLUDE}")
        file(CREATE_LINK "/usr/include/${lib}" "${TESSELWRIGHT_THIRD_PARTY_INCLUDE}/${lib}" SYMBOLIC)
    endif()
endforeach()
