# Build helpers shared by every subsystem.

include(GenerateExportHeader)
include(CMakePackageConfigHelpers)

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
endmacro()

# Warnings, export header, include folders and the Vireon:: alias for a library or plug-in of ours.
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
    generate_export_header(${target}
      BASE_NAME ${target}
      EXPORT_MACRO_NAME ${_upper}_EXPORT
      EXPORT_FILE_NAME "${CMAKE_CURRENT_BINARY_DIR}/${target}Export.h")
    target_include_directories(${target} PUBLIC
      "$<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}>"
      "$<BUILD_INTERFACE:${CMAKE_CURRENT_BINARY_DIR}>"
      "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/vireon>")
    if(NOT _type STREQUAL "MODULE_LIBRARY")
      add_library(Vireon::${target} ALIAS ${target})
    endif()
  endif()
endfunction()

# Installs a library (headers into include/vireon) and adds it to the exported package.
#   vireon_install_targets(<target> [HEADERS h1 h2 ...] [PLUGIN])
function(vireon_install_targets target)
  cmake_parse_arguments(ARG "PLUGIN" "" "HEADERS" ${ARGN})
  if(ARG_PLUGIN)
    install(TARGETS ${target}
      LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}/vireon/plugins"
      RUNTIME DESTINATION "${CMAKE_INSTALL_LIBDIR}/vireon/plugins")
  else()
    install(TARGETS ${target} EXPORT VireonTargets
      LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}"
      ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}"
      RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  endif()
  get_target_property(_type ${target} TYPE)
  set(_export_header "${CMAKE_CURRENT_BINARY_DIR}/${target}Export.h")
  if(NOT _type STREQUAL "EXECUTABLE" AND EXISTS "${_export_header}")
    list(APPEND ARG_HEADERS "${_export_header}")
  endif()
  if(ARG_HEADERS)
    install(FILES ${ARG_HEADERS} DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/vireon")
  endif()
endfunction()

# Records a find_dependency() line for the package config, e.g. vireon_package_dependency("VTK").
function(vireon_package_dependency line)
  set_property(GLOBAL APPEND PROPERTY VIREON_PACKAGE_DEPENDENCIES "${line}")
endfunction()

# Writes and installs VireonConfig.cmake, its version file and the exported targets.
function(vireon_install_package)
  get_property(_deps GLOBAL PROPERTY VIREON_PACKAGE_DEPENDENCIES)
  if(_deps)
    list(REMOVE_DUPLICATES _deps)
  endif()
  set(VIREON_FIND_DEPENDENCIES "")
  foreach(_dep IN LISTS _deps)
    string(APPEND VIREON_FIND_DEPENDENCIES "find_dependency(${_dep})\n")
  endforeach()
  set(_dest "${CMAKE_INSTALL_LIBDIR}/cmake/Vireon")
  configure_package_config_file("${PROJECT_SOURCE_DIR}/cmake/VireonConfig.cmake.in"
    "${PROJECT_BINARY_DIR}/VireonConfig.cmake" INSTALL_DESTINATION "${_dest}")
  write_basic_package_version_file("${PROJECT_BINARY_DIR}/VireonConfigVersion.cmake"
    COMPATIBILITY SameMajorVersion)
  install(EXPORT VireonTargets NAMESPACE Vireon:: DESTINATION "${_dest}")
  install(FILES "${PROJECT_BINARY_DIR}/VireonConfig.cmake" "${PROJECT_BINARY_DIR}/VireonConfigVersion.cmake"
    DESTINATION "${_dest}")
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
