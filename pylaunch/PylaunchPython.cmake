# Finds the Python that pylaunch embeds, as chosen by VIREON_PYTHON_VERSION, and sets
# PYLAUNCH_PYTHON_VERSION to its MAJOR.MINOR. Defines Python3::Python.
#
# Empty (the default) means the system's python3. The floor is 3.8: the launcher's entry,
# Py_BytesMain, first appeared in Python 3.8.
set(VIREON_PYTHON_VERSION "" CACHE STRING
  "Python version (MAJOR.MINOR, 3.8 or newer) that pylaunch embeds; empty: the system's python3")
set(_pylaunch_python_floor 3.8)

if(VIREON_PYTHON_VERSION STREQUAL "")
  # The distribution's interpreter, which ships the embedding library, before interpreters
  # managed in the user's environment.
  set(_pylaunch_python_hint /usr/bin/python3)
  set(_pylaunch_python_request ${_pylaunch_python_floor})
  set(_pylaunch_python_wanted "the system's Python 3 (${_pylaunch_python_floor} or newer)")
  set(_pylaunch_python_package python3-dev)
else()
  if(NOT VIREON_PYTHON_VERSION MATCHES "^3\\.(0|[1-9][0-9]*)$")
    message(FATAL_ERROR "VIREON_PYTHON_VERSION is \"${VIREON_PYTHON_VERSION}\": give a Python 3 "
      "version as MAJOR.MINOR (for example 3.12), or leave it empty for the system's python3")
  endif()
  if(VIREON_PYTHON_VERSION VERSION_LESS _pylaunch_python_floor)
    message(FATAL_ERROR "VIREON_PYTHON_VERSION is ${VIREON_PYTHON_VERSION}: pylaunch needs Python "
      "${_pylaunch_python_floor} or newer (its entry, Py_BytesMain, first appeared in 3.8)")
  endif()
  math(EXPR _pylaunch_python_next "${CMAKE_MATCH_1} + 1")
  set(_pylaunch_python_hint /usr/bin/python${VIREON_PYTHON_VERSION})
  set(_pylaunch_python_request "${VIREON_PYTHON_VERSION}...<3.${_pylaunch_python_next}")
  set(_pylaunch_python_wanted "Python ${VIREON_PYTHON_VERSION}")
  set(_pylaunch_python_package python${VIREON_PYTHON_VERSION}-dev)
endif()

if(NOT DEFINED Python3_EXECUTABLE AND EXISTS "${_pylaunch_python_hint}")
  set(Python3_EXECUTABLE "${_pylaunch_python_hint}")
endif()
find_package(Python3 ${_pylaunch_python_request} COMPONENTS Interpreter Development.Embed)
if(NOT Python3_FOUND)
  message(FATAL_ERROR "pylaunch: ${_pylaunch_python_wanted} with its embedding library was not "
    "found (Debian package ${_pylaunch_python_package}). Install it, or set "
    "VIREON_PYTHON_VERSION to an installed version (empty: the system's python3).")
endif()
set(PYLAUNCH_PYTHON_VERSION "${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}")
message(STATUS "pylaunch embeds Python ${Python3_VERSION} (${Python3_LIBRARIES})")
