# The sanitizer build (preset linux-asan): every target, GLFW included, is
# compiled and linked with AddressSanitizer and UndefinedBehaviorSanitizer.
# Undefined behaviour ends the program at its first report instead of
# printing and going on, so no test can pass over one.
#
# With clang the code is also instrumented for coverage-guided fuzzing
# (-fsanitize=fuzzer-no-link), which lets the libFuzzer targets of
# tests/fuzz/ link against the same libraries; ordinary programs link without
# libFuzzer and run as usual.
if(WIN32)
  message(FATAL_ERROR "CORVELLE_SANITIZE is for the Linux build")
endif()

set(CORVELLE_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
add_compile_options(${CORVELLE_SANITIZER_FLAGS})
add_link_options(-fsanitize=address,undefined)

set(CORVELLE_FUZZ OFF)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS "-fsanitize=fuzzer")
  check_cxx_source_compiles([[
    #include <cstddef>
    #include <cstdint>
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }
  ]] CORVELLE_HAVE_LIBFUZZER)
  unset(CMAKE_REQUIRED_FLAGS)
  if(CORVELLE_HAVE_LIBFUZZER)
    add_compile_options(-fsanitize=fuzzer-no-link)
    set(CORVELLE_FUZZ ON)
  endif()
endif()
if(NOT CORVELLE_FUZZ)
  message(WARNING "libFuzzer is not available (it needs clang and libclang-rt-14-dev): no fuzz targets")
endif()

# What the sanitizers' runtime reads from the environment in every test of
# this build: LeakSanitizer's suppressions (third-party libraries only) and
# reports that name where the fault is.
set(CORVELLE_SANITIZER_TEST_ENV
  "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp:print_suppressions=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
