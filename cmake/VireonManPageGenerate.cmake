# Writes one manual page with help2man; run by vireon_add_man_page (VireonManPage.cmake) as
#   cmake -DHELP2MAN=... -DPROGRAM=... -DVERSION=... -DDESCRIPTION=... [-DINCLUDE=...]
#         [-DDCMTK_USAGE=ON] -DOUTPUT=... -P VireonManPageGenerate.cmake

# The program runs while it is built; in the sanitizer build it exits without a leak report.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")

set(_arguments --no-info --no-discard-stderr --section=1 "--name=${DESCRIPTION}"
  "--version-string=${VERSION}")
if(INCLUDE)
  list(APPEND _arguments "--include=${INCLUDE}")
endif()
execute_process(COMMAND "${HELP2MAN}" ${_arguments} "${PROGRAM}"
  OUTPUT_VARIABLE _page
  ERROR_VARIABLE _errors
  RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "help2man failed on ${PROGRAM}: ${_errors}")
endif()

if(DCMTK_USAGE)
  # OFConsoleApplication's usage starts with the identifier, a blank line, "<name>: <purpose>"
  # and "usage: <name> <syntax>"; the syntax goes into the SYNOPSIS.
  string(REGEX MATCH "\nusage: ([^\n]*)\n" _usage "${_page}")
  if(NOT _usage)
    message(FATAL_ERROR "${PROGRAM} --help has no \"usage:\" line")
  endif()
  set(_synopsis "${CMAKE_MATCH_1}")
  string(REGEX REPLACE "^([^ ]+)" "\\\\fB\\1\\\\fR" _synopsis "${_synopsis}")
  string(REGEX REPLACE "\n[^\n]*\n\\.PP\n[^\n]*\nusage: [^\n]*\n" "\n" _page "${_page}")
  string(REPLACE "\n.SH DESCRIPTION\n" "\n.SH SYNOPSIS\n${_synopsis}\n.SH DESCRIPTION\n"
    _page "${_page}")
  string(REPLACE "\n.SS \"exit codes:\"\n" "\n.SH \"EXIT STATUS\"\n" _page "${_page}")
endif()

file(WRITE "${OUTPUT}" "${_page}")
