# Script behind the PackageConsumer test.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "command failed (${result}): ${ARGN}\n${out}\n${err}")
  endif()
endfunction()

file(REMOVE_RECURSE "${PREFIX}" "${CONSUMER_BINARY_DIR}")
set(_config_args)
if(CONFIG)
  set(_config_args --config "${CONFIG}")
endif()
run("${CMAKE_COMMAND}" --install "${VIREON_BINARY_DIR}" --prefix "${PREFIX}" ${_config_args})
set(_flags)
if(SANITIZE)
  # The installed libraries are instrumented; the consumer links the same runtimes.
  set(_flags "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined" "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined")
endif()
run("${CMAKE_COMMAND}" -S "${CONSUMER_SOURCE_DIR}" -B "${CONSUMER_BINARY_DIR}" -G "${GENERATOR}"
  "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}" "-DCMAKE_PREFIX_PATH=${PREFIX}" -DCMAKE_BUILD_TYPE=Release ${_flags})
run("${CMAKE_COMMAND}" --build "${CONSUMER_BINARY_DIR}" ${_config_args})
run("${CONSUMER_BINARY_DIR}/consumer")
message(STATUS "consumer built against ${PREFIX} and ran")
