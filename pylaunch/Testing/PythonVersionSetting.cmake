# Configures pylaunch's Python selection with each value of VIREON_PYTHON_VERSION and checks the
# outcome: the version chosen, or the error that names what is wrong.
#   cmake -DSOURCE_DIR=<project> -DBINARY_DIR=<scratch> -DGENERATOR=<generator>
#         -P PythonVersionSetting.cmake

# The system's python3, as the selection prefers it.
find_program(SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(SYSTEM_PYTHON python3)
execute_process(
  COMMAND "${SYSTEM_PYTHON}" -c "import sys; print('%d.%d' % sys.version_info[:2], end='')"
  OUTPUT_VARIABLE system_version RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "could not run ${SYSTEM_PYTHON}")
endif()
string(REPLACE "." "\\." system_pattern "${system_version}")

# check_setting(<setting> <configures> <pattern> [<more configure arguments>...])
function(check_setting setting expect_success pattern)
  string(MAKE_C_IDENTIFIER "setting_${setting}" dir)
  set(build "${BINARY_DIR}/${dir}")
  file(REMOVE_RECURSE "${build}")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${build}" -G "${GENERATOR}"
      "-DVIREON_PYTHON_VERSION=${setting}" ${ARGN}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  # CMake wraps long messages: compare with the line breaks and indentation folded.
  string(REGEX REPLACE "[ \n]+" " " log "${out} ${err}")
  set(problem "")
  if(expect_success AND NOT result EQUAL 0)
    set(problem "configure failed")
  elseif(NOT expect_success AND result EQUAL 0)
    set(problem "configure succeeded")
  elseif(NOT log MATCHES "${pattern}")
    set(problem "no match for \"${pattern}\"")
  endif()
  if(problem)
    message(SEND_ERROR "VIREON_PYTHON_VERSION=\"${setting}\": ${problem}:\n${out}\n${err}")
  else()
    message(STATUS "VIREON_PYTHON_VERSION=\"${setting}\": as expected")
  endif()
endfunction()

# setting, configures, what the output says
check_setting("" TRUE "pylaunch Python: ${system_pattern} ")
check_setting("${system_version}" TRUE "pylaunch Python: ${system_pattern} ")
check_setting("3.7" FALSE "pylaunch needs Python 3\\.8 or newer")
check_setting("2.7" FALSE "give a Python 3 version as MAJOR\\.MINOR")
check_setting("3.11.4" FALSE "give a Python 3 version as MAJOR\\.MINOR")
check_setting("3.99" FALSE
  "Python 3\\.99 with its embedding library was not found \\(Debian package python3\\.99-dev\\)")
# An interpreter of another version, given explicitly, is refused rather than taken as meeting
# an older setting.
string(REGEX REPLACE "^3\\." "" system_minor "${system_version}")
math(EXPR older_minor "${system_minor} - 1")
if(older_minor GREATER_EQUAL 8)
  check_setting("3.${older_minor}" FALSE
    "Python 3\\.${older_minor} with its embedding library was not found"
    "-DPython3_EXECUTABLE=${SYSTEM_PYTHON}")
endif()
