# Script behind the HostContract test: configuring this tree against a host package that breaks
# the contract stops with a message that names what is missing.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")

# <case> writes a host package VireonHostStub from <package text> and expects configuration to
# fail with a message that matches each of the EXPECT expressions and none of the ABSENT ones.
function(expect_failure case package)
  cmake_parse_arguments(ARG "" "" "EXPECT;ABSENT" ${ARGN})
  set(_stub "${WORK}/${case}/stub")
  file(WRITE "${_stub}/VireonHostStubConfig.cmake" "${package}")
  execute_process(COMMAND "${CMAKE_COMMAND}" -S "${VIREON_SOURCE_DIR}" -B "${WORK}/${case}/build"
      -G "${GENERATOR}" "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}" "-DCMAKE_C_COMPILER=${C_COMPILER}"
      -DVIREON_USE_HOST_STANDIN=OFF -DVIREON_HOST_PACKAGE=VireonHostStub
      "-DVireonHostStub_DIR=${_stub}" -DBUILD_TESTING=OFF -DVIREON_BUILD_BENCHMARKS=OFF
    RESULT_VARIABLE _result OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
  # CMake wraps long messages: compare with single blanks.
  string(REGEX REPLACE "[ \n]+" " " _text "${_out} ${_err}")
  set(_problems)
  if(_result EQUAL 0)
    set(_problems "configuration succeeded;")
  endif()
  foreach(_expected IN LISTS ARG_EXPECT)
    if(NOT _text MATCHES "${_expected}")
      string(APPEND _problems " no '${_expected}';")
    endif()
  endforeach()
  foreach(_absent IN LISTS ARG_ABSENT)
    if(_text MATCHES "${_absent}")
      string(APPEND _problems " '${_absent}';")
    endif()
  endforeach()
  if(_problems)
    message(FATAL_ERROR "${case}:${_problems}\n${_out}\n${_err}")
  endif()
endfunction()

# Only the scene library: the other host and CTK targets are named, the scene library is not.
set(_named "does not provide the host library targets[^.]*")
expect_failure(missing-targets "add_library(KOVACore INTERFACE IMPORTED)\n"
  EXPECT "${_named} KOVALogic," "${_named} vtkVireonDynamicModelerModuleLogic,"
    "${_named} CTKWidgets," "${_named} CTKVisualizationVTKCore "
  ABSENT "${_named} KOVACore[, ]")

# Every target but no loadable module folder.
set(_all)
string(REPLACE "," ";" HOST_TARGETS "${HOST_TARGETS}")
foreach(_target IN LISTS HOST_TARGETS)
  string(APPEND _all "add_library(${_target} INTERFACE IMPORTED)\n")
endforeach()
expect_failure(no-module-folder "${_all}"
  EXPECT "does not set VireonHostStub_LOADABLE_MODULES_DIR"
  ABSENT "does not provide")
