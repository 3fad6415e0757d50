# QV742_SANITIZE=ON builds every target with AddressSanitizer (LeakSanitizer
# included) and UndefinedBehaviorSanitizer; undefined behaviour aborts
# instead of printing and going on, so a test run cannot pass over it.
option(QV742_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(QV742_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    message(FATAL_ERROR "QV742_SANITIZE needs GCC or Clang")
  endif()
  set(QV742_SANITIZE_FLAGS
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${QV742_SANITIZE_FLAGS})
  add_link_options(${QV742_SANITIZE_FLAGS})
endif()
