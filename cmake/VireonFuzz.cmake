# libFuzzer targets and the replay of their committed seed corpus in the test suite.
#
#   vireon_add_fuzzer(<name> SOURCES ... CORPUS <folder> [LIBRARIES ...] [INSTRUMENT <target> ...]
#                     [TEST <test name>] [MAX_LEN <bytes>])
#
# The sources define LLVMFuzzerTestOneInput (and may define LLVMFuzzerInitialize).
# - With VIREON_BUILD_FUZZERS (clang, sanitizers on) <name> is a libFuzzer program; the INSTRUMENT
#   targets get coverage feedback. scripts/fuzz finds every target in <build>/fuzzers.txt.
# - With BUILD_TESTING, <name>Replay runs every file of CORPUS once through the same code, with any
#   compiler, as the CTest test <TEST> (default <name>Corpus).
# MAX_LEN is the longest input the fuzzer makes (scripts/fuzz raises it to the largest corpus file).
# Both programs find VireonFuzzArguments.h, the support of targets that run a command-line tool on
# fuzzed argument vectors.

set(_vireon_fuzz_dir "${CMAKE_CURRENT_LIST_DIR}")

if(VIREON_BUILD_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VIREON_BUILD_FUZZERS needs clang (configure with CC=clang CXX=clang++)")
  endif()
  if(NOT VIREON_ENABLE_SANITIZERS)
    message(FATAL_ERROR "VIREON_BUILD_FUZZERS needs VIREON_ENABLE_SANITIZERS=ON")
  endif()
  set_property(GLOBAL PROPERTY VIREON_FUZZERS "")
  # Written once every directory has added its fuzzers: name, program, corpus, max_len per line.
  function(_vireon_write_fuzzer_list)
    get_property(_lines GLOBAL PROPERTY VIREON_FUZZERS)
    string(REPLACE ";" "\n" _lines "${_lines}")
    file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/fuzzers.txt" CONTENT "${_lines}\n")
  endfunction()
  cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL _vireon_write_fuzzer_list)
endif()

function(vireon_add_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS;TEST;MAX_LEN" "SOURCES;LIBRARIES;INSTRUMENT" ${ARGN})
  if(NOT ARG_CORPUS)
    message(FATAL_ERROR "vireon_add_fuzzer(${name}): CORPUS is required")
  endif()
  get_filename_component(_corpus "${ARG_CORPUS}" ABSOLUTE)
  if(NOT ARG_TEST)
    set(ARG_TEST ${name}Corpus)
  endif()
  if(NOT ARG_MAX_LEN)
    set(ARG_MAX_LEN 4096)
  endif()
  set(_options "${_vireon_fuzz_dir}/VireonFuzzOptions.cxx")

  if(VIREON_BUILD_FUZZERS)
    foreach(_lib IN LISTS ARG_INSTRUMENT)
      get_property(_done TARGET ${_lib} PROPERTY VIREON_FUZZ_INSTRUMENTED)
      if(NOT _done)
        target_compile_options(${_lib} PRIVATE -fsanitize=fuzzer-no-link)
        set_property(TARGET ${_lib} PROPERTY VIREON_FUZZ_INSTRUMENTED TRUE)
      endif()
    endforeach()
    add_executable(${name} ${ARG_SOURCES} ${_options})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
    target_include_directories(${name} PRIVATE "${_vireon_fuzz_dir}")
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    vireon_target_setup(${name})
    set_property(GLOBAL APPEND PROPERTY VIREON_FUZZERS
      "${name}\t$<TARGET_FILE:${name}>\t${_corpus}\t${ARG_MAX_LEN}")
  endif()

  if(BUILD_TESTING)
    add_executable(${name}Replay ${ARG_SOURCES} ${_options} "${_vireon_fuzz_dir}/VireonFuzzReplay.cxx")
    target_link_libraries(${name}Replay PRIVATE ${ARG_LIBRARIES})
    target_include_directories(${name}Replay PRIVATE "${_vireon_fuzz_dir}")
    vireon_target_setup(${name}Replay)
    add_test(NAME ${ARG_TEST} COMMAND ${name}Replay "${_corpus}")
    vireon_test_properties(${ARG_TEST} TIMEOUT 300)
  endif()
endfunction()
