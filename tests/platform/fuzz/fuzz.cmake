# The keyed unarchiver's fuzz target. Every build compiles it with a small
# driver that replays its seeds and the inputs it once found (a CTest test),
# so that it keeps building and passing.
add_executable(platform_unarchiver_fuzz_replay
  ${CMAKE_CURRENT_LIST_DIR}/unarchiver_fuzzer.cpp ${CMAKE_CURRENT_LIST_DIR}/replay_main.cpp)
target_link_libraries(platform_unarchiver_fuzz_replay PRIVATE quorvel_platform)
add_test(NAME platform_unarchiver_fuzz_replay
  COMMAND platform_unarchiver_fuzz_replay ${CMAKE_CURRENT_LIST_DIR}/seeds ${CMAKE_CURRENT_LIST_DIR}/regressions)
set_tests_properties(platform_unarchiver_fuzz_replay PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# The libFuzzer target itself is built only with clang when -fsanitize=fuzzer
# works; it compiles the platform sources itself, so that they are
# instrumented, and links what the platform library links.
# tools/fuzz_unarchiver.sh configures such a build and runs it for a while.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS "-fsanitize=fuzzer")
  check_cxx_source_compiles([[
    #include <cstddef>
    #include <cstdint>
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
  ]] QUORVEL_HAVE_LIBFUZZER)
  unset(CMAKE_REQUIRED_FLAGS)

  if(QUORVEL_HAVE_LIBFUZZER)
    file(GLOB_RECURSE platform_sources CONFIGURE_DEPENDS
      ${CMAKE_SOURCE_DIR}/src/platform/*.cpp ${CMAKE_SOURCE_DIR}/src/platform/*.h)
    get_target_property(platform_deps quorvel_platform LINK_LIBRARIES)
    add_executable(platform_unarchiver_fuzzer ${CMAKE_CURRENT_LIST_DIR}/unarchiver_fuzzer.cpp ${platform_sources})
    set_target_properties(platform_unarchiver_fuzzer PROPERTIES AUTOMOC ON)
    target_include_directories(platform_unarchiver_fuzzer PRIVATE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(platform_unarchiver_fuzzer PRIVATE ${platform_deps})
    set(fuzz_flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
    target_compile_options(platform_unarchiver_fuzzer PRIVATE ${fuzz_flags})
    target_link_options(platform_unarchiver_fuzzer PRIVATE ${fuzz_flags})
  endif()
endif()
