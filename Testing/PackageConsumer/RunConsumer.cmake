# Script behind the PackageConsumer and HostSeam tests.
#
# MODE=package: installs this build into an empty prefix and checks that it holds the
#   deliverables and nothing else; adds the stand-in host (component HostStandin); builds and runs
#   the consumer of every deliverable and the consumer of the codec alone (which must not load Qt,
#   VTK or the host); runs each installed program.
# MODE=seam: installs only the stand-in host package into an empty prefix, configures this source
#   tree against it (VIREON_USE_HOST_STANDIN=OFF), builds and installs its deliverables into the
#   same prefix, as modules are installed into a host, and runs the consumer and the programs.
cmake_minimum_required(VERSION 3.25)
include("${CMAKE_CURRENT_LIST_DIR}/Deliverables.cmake")

set(PREFIX "${WORK}/prefix")
string(TIMESTAMP _start "%s")

function(step what)
  string(TIMESTAMP _now "%s")
  math(EXPR _seconds "${_now} - ${_start}")
  message(STATUS "[${_seconds} s] ${what}")
endfunction()

# Runs a command; fails the test with its output when it fails. OUTPUT <var> keeps stdout.
function(run)
  cmake_parse_arguments(ARG "" "OUTPUT" "" ${ARGN})
  execute_process(COMMAND ${ARG_UNPARSED_ARGUMENTS}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    string(REPLACE ";" " " _command "${ARG_UNPARSED_ARGUMENTS}")
    message(FATAL_ERROR "command failed (${result}): ${_command}\n${out}\n${err}")
  endif()
  if(ARG_OUTPUT)
    set(${ARG_OUTPUT} "${out}" PARENT_SCOPE)
  endif()
endfunction()

set(_config_args)
if(CONFIG)
  set(_config_args --config "${CONFIG}")
endif()
set(_flags)
if(SANITIZE)
  # The installed libraries are instrumented; the consumers link the same runtimes.
  set(_flags "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined"
    "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined")
endif()

# The installation holds exactly the deliverables, with the .so links and the CMake package.
function(check_deliverables_only)
  string(REGEX MATCH "^[0-9]+" _major "${VERSION}")
  set(_required)
  set(_allowed
    "${LIBDIR}/cmake/Vireon/VireonConfig\\.cmake"
    "${LIBDIR}/cmake/Vireon/VireonConfigVersion\\.cmake")
  foreach(_lib IN LISTS EXPECTED_LIBRARIES)
    list(APPEND _required "${LIBDIR}/lib${_lib}.so" "${LIBDIR}/lib${_lib}.so.${_major}"
      "${LIBDIR}/lib${_lib}.so.${VERSION}" "${INCLUDEDIR}/vireon/${_lib}/${_lib}Export.h"
      "${LIBDIR}/cmake/Vireon/VireonTargets-${_lib}.cmake")
    list(APPEND _allowed "${INCLUDEDIR}/vireon/${_lib}/[A-Za-z0-9_]+\\.h"
      "${LIBDIR}/cmake/Vireon/VireonTargets-${_lib}-[a-z]+\\.cmake")
  endforeach()
  foreach(_program IN LISTS EXPECTED_PROGRAMS)
    list(APPEND _required "${BINDIR}/${_program}")
    list(APPEND _allowed "${MANDIR}/man1/${_program}\\.1")
  endforeach()
  foreach(_module IN LISTS EXPECTED_LOADABLE_MODULES)
    list(APPEND _required "${LOADABLE_MODULES_DIR}/lib${_module}.so")
  endforeach()
  foreach(_plugin IN LISTS EXPECTED_DESIGNER_PLUGINS)
    list(APPEND _required "${DESIGNER_PLUGINS_DIR}/lib${_plugin}.so")
  endforeach()
  file(GLOB_RECURSE _installed LIST_DIRECTORIES false RELATIVE "${PREFIX}" "${PREFIX}/*")
  set(_problems)
  foreach(_file IN LISTS _required)
    if(NOT _file IN_LIST _installed)
      string(APPEND _problems "\n  missing: ${_file}")
    endif()
  endforeach()
  list(REMOVE_ITEM _installed ${_required})
  list(JOIN _allowed "|" _pattern)
  foreach(_file IN LISTS _installed)
    if(NOT _file MATCHES "^(${_pattern})$")
      string(APPEND _problems "\n  not a deliverable: ${_file}")
    endif()
  endforeach()
  if(_problems)
    message(FATAL_ERROR "cmake --install ${VIREON_BINARY_DIR}:${_problems}")
  endif()
endfunction()

# Configures, builds and runs a consumer project against the prefix.
function(consumer name)
  set(_build "${WORK}/${name}")
  run("${CMAKE_COMMAND}" -S "${CONSUMER_DIR}/${name}" -B "${_build}" -G "${GENERATOR}"
    "-DCMAKE_C_COMPILER=${C_COMPILER}" "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}"
    "-DCMAKE_PREFIX_PATH=${PREFIX}" -DCMAKE_BUILD_TYPE=Release ${_flags})
  run("${CMAKE_COMMAND}" --build "${_build}")
  step("${name} built")
endfunction()

# Each installed program starts from the prefix and answers.
function(check_programs)
  foreach(_tool IN ITEMS dcmcj2k dcmdj2k)
    run("${PREFIX}/${BINDIR}/${_tool}" --version OUTPUT _out)
    if(NOT _out MATCHES "${_tool} v${VERSION}")
      message(FATAL_ERROR "${_tool} --version does not name version ${VERSION}:\n${_out}")
    endif()
  endforeach()
  run("${PREFIX}/${BINDIR}/pylaunch" -c "print(6 * 7)" OUTPUT _out)
  if(NOT _out STREQUAL "42\n")
    message(FATAL_ERROR "pylaunch -c 'print(6 * 7)' printed: ${_out}")
  endif()
  run("${PREFIX}/${BINDIR}/curvedreformat" --version OUTPUT _out)
  if(NOT _out MATCHES "^curvedreformat ${VERSION}\n")
    message(FATAL_ERROR "curvedreformat --version printed: ${_out}")
  endif()
endfunction()

file(REMOVE_RECURSE "${WORK}")
if(MODE STREQUAL "package")
  run("${CMAKE_COMMAND}" --install "${VIREON_BINARY_DIR}" --prefix "${PREFIX}" ${_config_args})
  check_deliverables_only()
  step("installed the deliverables only")
  run("${CMAKE_COMMAND}" --install "${VIREON_BINARY_DIR}" --prefix "${PREFIX}" ${_config_args}
    --component HostStandin)
  consumer(wavecodec-consumer)
  # Nothing of the host, Qt or VTK is linked or loaded.
  run(ldd "${WORK}/wavecodec-consumer/codec-consumer" OUTPUT _libraries)
  if(_libraries MATCHES "(libQt5|libvtk|libKOVA|libCTK|libqVireon|not found)[^\n]*")
    message(FATAL_ERROR "codec-consumer links ${CMAKE_MATCH_0}:\n${_libraries}")
  endif()
  if(NOT _libraries MATCHES "libwavecodec\\.so\\.[0-9]+ => ${PREFIX}/")
    message(FATAL_ERROR "codec-consumer does not load the installed libwavecodec:\n${_libraries}")
  endif()
  run("${WORK}/wavecodec-consumer/codec-consumer")
elseif(MODE STREQUAL "seam")
  run("${CMAKE_COMMAND}" --install "${VIREON_BINARY_DIR}" --prefix "${PREFIX}" ${_config_args}
    --component HostStandin)
  if(NOT EXISTS "${PREFIX}/${LIBDIR}/cmake/VireonHostStandin/VireonHostStandinConfig.cmake"
     OR EXISTS "${PREFIX}/${LIBDIR}/cmake/Vireon")
    message(FATAL_ERROR "--component HostStandin did not install the stand-in host alone")
  endif()
  step("installed the stand-in host package")
  set(_build "${WORK}/build")
  run("${CMAKE_COMMAND}" -S "${VIREON_SOURCE_DIR}" -B "${_build}" -G "${GENERATOR}"
    "-DCMAKE_C_COMPILER=${C_COMPILER}" "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}"
    "-DCMAKE_BUILD_TYPE=${CONFIG}" "-DCMAKE_PREFIX_PATH=${PREFIX}"
    -DVIREON_USE_HOST_STANDIN=OFF -DVIREON_HOST_PACKAGE=VireonHostStandin
    -DBUILD_TESTING=OFF -DVIREON_BUILD_BENCHMARKS=OFF
    "-DVIREON_WARNINGS_AS_ERRORS=${WERROR}" "-DVIREON_ENABLE_SANITIZERS=${SANITIZE}")
  step("configured against the stand-in host package")
  run("${CMAKE_COMMAND}" --build "${_build}" --parallel ${JOBS})
  file(GLOB _built_host LIST_DIRECTORIES false "${_build}/lib/libKOVACore*" "${_build}/lib/libCTK*")
  if(_built_host)
    message(FATAL_ERROR "the build against the host package built host libraries: ${_built_host}")
  endif()
  step("built every deliverable")
  run("${CMAKE_COMMAND}" --install "${_build}" --prefix "${PREFIX}")
else()
  message(FATAL_ERROR "MODE must be package or seam")
endif()

consumer(consumer)
run("${WORK}/consumer/consumer")
run("${WORK}/consumer/consumer-designer")
check_programs()
step("consumer and programs ran against ${PREFIX}")
