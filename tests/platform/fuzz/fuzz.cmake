# libFuzzer target for the keyed unarchiver. It is built only with clang when
# -fsanitize=fuzzer works; it compiles the platform sources itself, so that
# they are instrumented, and leaves the normal targets alone.
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
    add_executable(platform_unarchiver_fuzzer ${CMAKE_CURRENT_LIST_DIR}/unarchiver_fuzzer.cpp ${platform_sources})
    set_target_properties(platform_unarchiver_fuzzer PROPERTIES AUTOMOC ON)
    target_include_directories(platform_unarchiver_fuzzer PRIVATE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(platform_unarchiver_fuzzer PRIVATE Qt6::Core Qt6::Gui Qt6::Widgets PkgConfig::PLIST)
    set(fuzz_flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
    target_compile_options(platform_unarchiver_fuzzer PRIVATE ${fuzz_flags})
    target_link_options(platform_unarchiver_fuzzer PRIVATE ${fuzz_flags})
  endif()
endif()
