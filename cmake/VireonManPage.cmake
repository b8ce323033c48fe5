# Manual pages of command-line programs, made from the program's --help with help2man (Debian
# package help2man) when the program is built, and installed into share/man/man1 with the
# program when it is a deliverable.
#
#   vireon_add_man_page(<target> DESCRIPTION <text> [INCLUDE <file.h2m>] [DCMTK_USAGE])
#
# DESCRIPTION is the text of the page's NAME line. INCLUDE names a file of hand-written sections
# in help2man's include format ("[DESCRIPTION]", "[SEE ALSO]", ...; see help2man(1)).
# DCMTK_USAGE is for programs whose --help is printed by DCMTK's OFConsoleApplication: the
# identifier and "usage:" lines at its top become the page's SYNOPSIS, and a final
# "exit codes:" group becomes its EXIT STATUS section.
# The page is written to <build>/share/man/man1/<target>.1 (MANPATH=<build>/share/man) by the
# target <target>ManPage, which is part of the default build.

find_program(HELP2MAN_EXECUTABLE help2man)
set(_vireon_man_page_script "${CMAKE_CURRENT_LIST_DIR}/VireonManPageGenerate.cmake")

function(vireon_add_man_page target)
  cmake_parse_arguments(ARG "DCMTK_USAGE" "DESCRIPTION;INCLUDE" "" ${ARGN})
  if(NOT HELP2MAN_EXECUTABLE)
    message(WARNING "help2man not found (Debian package help2man): no manual page for ${target}")
    return()
  endif()
  if(NOT ARG_DESCRIPTION)
    message(FATAL_ERROR "vireon_add_man_page(${target}): DESCRIPTION is required")
  endif()
  set(_page "${CMAKE_BINARY_DIR}/share/man/man1/${target}.1")
  set(_depends ${target} "${_vireon_man_page_script}")
  set(_include "")
  if(ARG_INCLUDE)
    get_filename_component(_include "${ARG_INCLUDE}" ABSOLUTE)
    list(APPEND _depends "${_include}")
  endif()
  add_custom_command(OUTPUT "${_page}"
    COMMAND "${CMAKE_COMMAND}"
      "-DHELP2MAN=${HELP2MAN_EXECUTABLE}"
      "-DPROGRAM=$<TARGET_FILE:${target}>"
      "-DVERSION=${PROJECT_VERSION}"
      "-DDESCRIPTION=${ARG_DESCRIPTION}"
      "-DINCLUDE=${_include}"
      "-DDCMTK_USAGE=${ARG_DCMTK_USAGE}"
      "-DOUTPUT=${_page}"
      -P "${_vireon_man_page_script}"
    DEPENDS ${_depends}
    COMMENT "Manual page of ${target}"
    VERBATIM)
  add_custom_target(${target}ManPage ALL DEPENDS "${_page}")
  # Installed with the program, in its install component (cmake/VireonInstall.cmake).
  set_property(TARGET ${target} APPEND PROPERTY VIREON_MAN_PAGES "${_page}")
endfunction()
