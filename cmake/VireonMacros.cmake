# Build helpers shared by every subsystem.

include(GenerateExportHeader)
include(VireonInstall)

set(VIREON_SUPPRESSIONS_DIR "${CMAKE_CURRENT_LIST_DIR}/sanitizers")

# Exit code of a process that a sanitizer stops in the test environment: distinct from every
# exit code of the project's programs, so that a test that expects a program to fail (exit
# code 1, say) cannot take a sanitizer report for that failure. Test helpers that start
# programs get it as the definition VIREON_SANITIZER_EXIT_CODE.
set(VIREON_SANITIZER_EXIT_CODE 113)

# Compile and link flags for the sanitizer build, and the runtime options its tests use.
macro(vireon_setup_sanitizers)
  set(VIREON_TEST_ENVIRONMENT "")
  if(VIREON_ENABLE_SANITIZERS)
    set(_vireon_san_flags -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_compile_options(${_vireon_san_flags})
    add_link_options(-fsanitize=address,undefined)
    list(APPEND VIREON_TEST_ENVIRONMENT
      # Full stacks on allocation: leak suppressions name functions inside Qt and VTK, which are
      # built without frame pointers.
      "ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:fast_unwind_on_malloc=0:exitcode=${VIREON_SANITIZER_EXIT_CODE}"
      "LSAN_OPTIONS=suppressions=${VIREON_SUPPRESSIONS_DIR}/lsan.supp:print_suppressions=0:exitcode=${VIREON_SANITIZER_EXIT_CODE}"
      "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=${VIREON_SUPPRESSIONS_DIR}/ubsan.supp:exitcode=${VIREON_SANITIZER_EXIT_CODE}")
  endif()
  # ThreadSanitizer sees the accesses of our own code; DCMTK and OpenJPEG are not instrumented,
  # but their locks and threads (pthreads) are, so what they order stays ordered.
  if(VIREON_ENABLE_THREAD_SANITIZER)
    if(VIREON_ENABLE_SANITIZERS)
      message(FATAL_ERROR "VIREON_ENABLE_THREAD_SANITIZER and VIREON_ENABLE_SANITIZERS exclude each other")
    endif()
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
    list(APPEND VIREON_TEST_ENVIRONMENT
      "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:history_size=4:suppressions=${VIREON_SUPPRESSIONS_DIR}/tsan.supp:exitcode=${VIREON_SANITIZER_EXIT_CODE}")
  endif()
endmacro()

# Warnings, export header, include folders and the Vireon:: alias for a library or plug-in of ours.
# The export header is installed with the library's headers (vireon_public_headers).
function(vireon_target_setup target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
    if(VIREON_WARNINGS_AS_ERRORS)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
  get_target_property(_type ${target} TYPE)
  if(_type STREQUAL "SHARED_LIBRARY" OR _type STREQUAL "STATIC_LIBRARY" OR _type STREQUAL "MODULE_LIBRARY")
    string(TOUPPER "${target}" _upper)
    set(_export_header "${CMAKE_CURRENT_BINARY_DIR}/${target}Export.h")
    generate_export_header(${target}
      BASE_NAME ${target}
      EXPORT_MACRO_NAME ${_upper}_EXPORT
      EXPORT_FILE_NAME "${_export_header}")
    target_include_directories(${target} PUBLIC
      "$<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}>"
      "$<BUILD_INTERFACE:${CMAKE_CURRENT_BINARY_DIR}>")
    vireon_public_headers(${target} "${_export_header}")
    if(NOT _type STREQUAL "MODULE_LIBRARY")
      add_library(Vireon::${target} ALIAS ${target})
    endif()
  endif()
endfunction()

# Applies the project's test environment (sanitizer options, Qt platform) to tests added by hand.
#   vireon_test_properties(<test> [QT] [LABELS ...] [TIMEOUT seconds])
function(vireon_test_properties test)
  cmake_parse_arguments(ARG "QT" "TIMEOUT" "LABELS;ENVIRONMENT" ${ARGN})
  set(_env ${VIREON_TEST_ENVIRONMENT} ${ARG_ENVIRONMENT})
  if(ARG_QT)
    list(APPEND _env "QT_QPA_PLATFORM=offscreen")
    # Leaks suppressed inside Qt (cmake/sanitizers) need full stacks: Qt has no frame pointers.
    list(TRANSFORM _env APPEND ":fast_unwind_on_malloc=0" REGEX "^ASAN_OPTIONS=")
  endif()
  if(_env)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT ${_env})
  endif()
  if(ARG_LABELS)
    set_property(TEST ${test} APPEND PROPERTY LABELS ${ARG_LABELS})
  endif()
  if(ARG_TIMEOUT)
    set_property(TEST ${test} PROPERTY TIMEOUT ${ARG_TIMEOUT})
  endif()
endfunction()

# A GoogleTest executable registered as one CTest test.
#   vireon_add_gtest(<name> SOURCES ... [LIBRARIES ...] [QT] [LABELS ...] [TIMEOUT s] [ENVIRONMENT ...])
# QT runs the test on Qt's offscreen platform; label rendering tests "xvfb" (the test command
# provides an X display for the whole run).
function(vireon_add_gtest name)
  cmake_parse_arguments(ARG "QT" "TIMEOUT" "SOURCES;LIBRARIES;LABELS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${name} PRIVATE -Wall -Wextra -Wno-unused-parameter)
    if(VIREON_WARNINGS_AS_ERRORS)
      target_compile_options(${name} PRIVATE -Werror)
    endif()
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set(_args)
  if(ARG_QT)
    list(APPEND _args QT)
  endif()
  if(ARG_TIMEOUT)
    list(APPEND _args TIMEOUT ${ARG_TIMEOUT})
  endif()
  vireon_test_properties(${name} ${_args} LABELS ${ARG_LABELS} ENVIRONMENT ${ARG_ENVIRONMENT})
endfunction()
include(VireonManPage)
