# Warnings and sanitizers shared by every target of the project.
add_library(qv_options INTERFACE)
target_compile_options(qv_options INTERFACE -Wall -Wextra -Wpedantic)
if(QV_SANITIZE)
  target_compile_options(qv_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(qv_options INTERFACE -fsanitize=address,undefined)
endif()
if(QV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "QV_FUZZ needs clang (CXX=clang++)")
  endif()
  # Coverage for libFuzzer in every library; the fuzz programs link the fuzzer itself.
  target_compile_options(qv_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(qv_options INTERFACE -fsanitize=address,undefined)
endif()
