# Every target of ours builds warning-free; -Werror keeps it that way.
add_library(mx_options INTERFACE)
target_compile_options(mx_options INTERFACE -Wall -Wextra -Werror -Wno-unused-parameter)
# GCC 12 reports false -Wrestrict overlaps inside std::string::insert at -O2 (its bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(mx_options INTERFACE -Wno-restrict)
  # At -O3 it also reports false overflows in std::vector::insert (its bugs 107852 and 106199).
  if(CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT MX_WINDOWS)
    target_compile_options(mx_options INTERFACE -Wno-array-bounds -Wno-stringop-overflow)
  endif()
endif()
if(MX_WINDOWS)
  target_compile_definitions(mx_options INTERFACE _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX
                             WIN32_LEAN_AND_MEAN STRICT)
  # One self-contained executable: no libgcc, libstdc++ or winpthread DLLs beside it.
  target_link_options(mx_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()
if(MX_CONFIG STREQUAL "native" AND NOT CMAKE_BUILD_TYPE STREQUAL "Release")
  target_compile_options(mx_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=undefined
                         -fno-omit-frame-pointer)
  target_link_options(mx_options INTERFACE -fsanitize=address,undefined)
endif()
if(MX_CONFIG STREQUAL "fuzz")
  target_compile_options(mx_options INTERFACE -fsanitize=address,undefined,fuzzer-no-link
                         -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(mx_options INTERFACE -fsanitize=address,undefined)
endif()
