# Installation of the deliverables and, on request, of the stand-in host.
#
# Subsystems only define their targets and name the headers a library installs
# (vireon_public_headers). The top-level CMakeLists.txt names the deliverables, grouped by
# package, with vireon_deliverables() and nothing else is installed by default:
#   <group>      install component with the libraries, programs and plug-ins
#   <group>_dev  install component with the headers (include/vireon/<library>), the .so links and
#                the exported targets (lib/cmake/Vireon/VireonTargets-<library>.cmake)
#   config       install component with VireonConfig.cmake and its version file
# Every deliverable library is a component of the CMake package Vireon, named as the library;
# vireon_install_package() writes VireonConfig.cmake with what each component needs.
# Host/ installs the stand-in host with vireon_install_host_standin() as the package
# VireonHostStandin, only into an explicit `cmake --install <build> --component HostStandin`.

include(CMakePackageConfigHelpers)

set(VIREON_PACKAGE_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/Vireon")
set(VIREON_DESIGNER_PLUGINS_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/vireon/plugins/designer")
set(VIREON_HOST_STANDIN_COMPONENT HostStandin)

# Headers installed with a library (the export header of vireon_target_setup is added there).
#   vireon_public_headers(<target> <header>...)
function(vireon_public_headers target)
  foreach(_header IN LISTS ARGN)
    if(NOT IS_ABSOLUTE "${_header}")
      set(_header "${CMAKE_CURRENT_SOURCE_DIR}/${_header}")
    endif()
    set_property(TARGET ${target} APPEND PROPERTY VIREON_PUBLIC_HEADERS "${_header}")
  endforeach()
endfunction()

# "$ORIGIN/<path to the library folder>" for a binary installed into <dir>.
function(_vireon_origin_rpath dir out)
  file(RELATIVE_PATH _rel "/prefix/${dir}" "/prefix/${CMAKE_INSTALL_LIBDIR}")
  if(_rel)
    set(${out} "$ORIGIN/${_rel}" PARENT_SCOPE)
  else()
    set(${out} "$ORIGIN" PARENT_SCOPE)
  endif()
endfunction()

function(_vireon_expect_type target expected)
  if(NOT TARGET ${target})
    message(FATAL_ERROR "Deliverable ${target} is not a target of this tree")
  endif()
  get_target_property(_type ${target} TYPE)
  if(NOT _type STREQUAL expected)
    message(FATAL_ERROR "Deliverable ${target} is a ${_type}, expected ${expected}")
  endif()
endfunction()

# Declares and installs one group of deliverables.
#   vireon_deliverables(<group> DESCRIPTION <text> [LIBRARIES ...] [PROGRAMS ...]
#                       [LOADABLE_MODULES ...] [DESIGNER_PLUGINS ...])
# LIBRARIES are shared libraries (versioned, headers and exported targets); PROGRAMS go to bin
# with their man pages (target property VIREON_MAN_PAGES); LOADABLE_MODULES are host modules
# (installed where the host loads them); DESIGNER_PLUGINS are Qt Designer collections.
function(vireon_deliverables group)
  cmake_parse_arguments(ARG "" "DESCRIPTION" "LIBRARIES;PROGRAMS;LOADABLE_MODULES;DESIGNER_PLUGINS"
    ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS OR NOT ARG_DESCRIPTION)
    message(FATAL_ERROR "vireon_deliverables(${group}): a DESCRIPTION and known arguments only")
  endif()
  set_property(GLOBAL APPEND PROPERTY VIREON_DELIVERABLE_GROUPS ${group})
  set_property(GLOBAL PROPERTY VIREON_GROUP_${group}_DESCRIPTION "${ARG_DESCRIPTION}")
  set(_all ${ARG_LIBRARIES} ${ARG_PROGRAMS} ${ARG_LOADABLE_MODULES} ${ARG_DESIGNER_PLUGINS})
  set_property(GLOBAL PROPERTY VIREON_GROUP_${group}_TARGETS ${_all})
  set_property(GLOBAL APPEND PROPERTY VIREON_DELIVERABLE_LIBRARIES ${ARG_LIBRARIES})
  set(_dev ${group}_dev)

  foreach(_target IN LISTS ARG_LIBRARIES)
    _vireon_expect_type(${_target} SHARED_LIBRARY)
    set_target_properties(${_target} PROPERTIES
      VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
    set(_includedir "${CMAKE_INSTALL_INCLUDEDIR}/vireon/${_target}")
    target_include_directories(${_target} INTERFACE "$<INSTALL_INTERFACE:${_includedir}>")
    install(TARGETS ${_target} EXPORT Vireon_${_target}
      LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT ${group} NAMELINK_COMPONENT ${_dev})
    get_target_property(_headers ${_target} VIREON_PUBLIC_HEADERS)
    if(_headers)
      install(FILES ${_headers} DESTINATION "${_includedir}" COMPONENT ${_dev})
    endif()
    install(EXPORT Vireon_${_target} NAMESPACE Vireon:: FILE VireonTargets-${_target}.cmake
      DESTINATION "${VIREON_PACKAGE_INSTALL_DIR}" COMPONENT ${_dev})
  endforeach()

  foreach(_target IN LISTS ARG_PROGRAMS)
    _vireon_expect_type(${_target} EXECUTABLE)
    install(TARGETS ${_target} RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT ${group})
    # Man pages are installed by vireon_install_package(), once every folder has named them.
    set_property(GLOBAL APPEND PROPERTY VIREON_DELIVERABLE_PROGRAMS ${_target})
    set_property(GLOBAL PROPERTY VIREON_GROUP_OF_${_target} ${group})
  endforeach()

  foreach(_target IN LISTS ARG_LOADABLE_MODULES)
    _vireon_expect_type(${_target} MODULE_LIBRARY)
    _vireon_origin_rpath("${VIREON_LOADABLE_MODULES_INSTALL_DIR}" _rpath)
    set_target_properties(${_target} PROPERTIES INSTALL_RPATH "${_rpath}")
    install(TARGETS ${_target}
      LIBRARY DESTINATION "${VIREON_LOADABLE_MODULES_INSTALL_DIR}" COMPONENT ${group})
  endforeach()

  foreach(_target IN LISTS ARG_DESIGNER_PLUGINS)
    _vireon_expect_type(${_target} MODULE_LIBRARY)
    _vireon_origin_rpath("${VIREON_DESIGNER_PLUGINS_INSTALL_DIR}" _rpath)
    set_target_properties(${_target} PROPERTIES INSTALL_RPATH "${_rpath}")
    install(TARGETS ${_target}
      LIBRARY DESTINATION "${VIREON_DESIGNER_PLUGINS_INSTALL_DIR}" COMPONENT ${group})
  endforeach()
endfunction()

# What a target needs from outside its own package, read from its link libraries:
#   <prefix>_PACKAGES   packages to find (VTK, Qt5, DCMTK, OpenJPEG, Threads, the host package)
#   <prefix>_VTK, <prefix>_Qt5   their components
#   <prefix>_COMPONENTS  deliverable libraries it links (Vireon components)
# Fails for a link that an installed binary or the package could not resolve: a shared library of
# this tree that is neither a deliverable nor the host's, a target of this tree in a public
# interface, or an imported target of a package that VireonConfig.cmake does not know how to find.
function(_vireon_link_needs target prefix)
  get_property(_libraries GLOBAL PROPERTY VIREON_DELIVERABLE_LIBRARIES)
  get_target_property(_private ${target} LINK_LIBRARIES)
  get_target_property(_public ${target} INTERFACE_LINK_LIBRARIES)
  get_target_property(_type ${target} TYPE)
  string(COMPARE EQUAL "${_type}" SHARED_LIBRARY _exported)
  set(_packages)
  set(_vtk)
  set(_qt)
  set(_components)
  foreach(_scope IN ITEMS private public)
    foreach(_item IN LISTS _${_scope})
      if(_item MATCHES "^\\$<LINK_ONLY:([^>]+)>$")
        set(_item "${CMAKE_MATCH_1}")
      elseif(_item MATCHES "^\\$<")
        continue()
      endif()
      if(_item MATCHES "^VTK::(.+)$")
        list(APPEND _packages VTK)
        list(APPEND _vtk ${CMAKE_MATCH_1})
      elseif(_item MATCHES "^Qt5::(.+)$")
        list(APPEND _packages Qt5)
        list(APPEND _qt ${CMAKE_MATCH_1})
      elseif(_item MATCHES "^DCMTK::")
        list(APPEND _packages DCMTK)
      elseif(_item STREQUAL "PkgConfig::OpenJPEG")
        list(APPEND _packages OpenJPEG)
      elseif(_item STREQUAL "Threads::Threads")
        list(APPEND _packages Threads)
      elseif(_item IN_LIST VIREON_HOST_TARGETS)
        list(APPEND _packages ${VIREON_HOST_PACKAGE})
      elseif(_item IN_LIST _libraries)
        list(APPEND _components ${_item})
      elseif(TARGET ${_item})
        get_target_property(_imported ${_item} IMPORTED)
        get_target_property(_type ${_item} TYPE)
        if(NOT _imported)
          if(_scope STREQUAL "public" OR _type MATCHES "^(SHARED|MODULE)_LIBRARY$")
            message(FATAL_ERROR "${target} links ${_item} (${_scope}), which is not installed: "
              "link internal libraries privately and statically, or make ${_item} a deliverable")
          endif()
        elseif(_exported AND (_scope STREQUAL "public" OR _type STREQUAL "SHARED_LIBRARY"))
          # Exported libraries name these in their imported targets.
          message(FATAL_ERROR "${target} links ${_item}, which the Vireon package cannot find "
            "for its users: teach _vireon_link_needs (cmake/VireonInstall.cmake) its package")
        endif()
      endif()
    endforeach()
  endforeach()
  foreach(_var IN ITEMS packages vtk qt components)
    if(_${_var})
      list(REMOVE_DUPLICATES _${_var})
    endif()
  endforeach()
  set(${prefix}_PACKAGES ${_packages} PARENT_SCOPE)
  set(${prefix}_VTK ${_vtk} PARENT_SCOPE)
  set(${prefix}_Qt5 ${_qt} PARENT_SCOPE)
  set(${prefix}_COMPONENTS ${_components} PARENT_SCOPE)
endfunction()

# Writes and installs VireonConfig.cmake (a component per deliverable library, with the
# packages and components it needs) and its version file. Call after every vireon_deliverables().
function(vireon_install_package)
  get_property(_groups GLOBAL PROPERTY VIREON_DELIVERABLE_GROUPS)
  get_property(_libraries GLOBAL PROPERTY VIREON_DELIVERABLE_LIBRARIES)
  list(JOIN _libraries " " _known)
  set(VIREON_COMPONENT_TABLE "set(_Vireon_known_components ${_known})\n")
  foreach(_target IN LISTS _libraries)
    _vireon_link_needs(${_target} _needs)
    list(JOIN _needs_COMPONENTS " " _components)
    list(JOIN _needs_PACKAGES " " _packages)
    list(JOIN _needs_VTK " " _vtk)
    list(JOIN _needs_Qt5 " " _qt)
    string(APPEND VIREON_COMPONENT_TABLE "# ${_target}\n"
      "set(_Vireon_${_target}_components ${_components})\n"
      "set(_Vireon_${_target}_packages ${_packages})\n"
      "set(_Vireon_${_target}_VTK ${_vtk})\n"
      "set(_Vireon_${_target}_Qt5 ${_qt})\n")
  endforeach()
  # A group that needs the host cannot stand alone (no Debian package of its own).
  set(_standalone)
  foreach(_group IN LISTS _groups)
    get_property(_targets GLOBAL PROPERTY VIREON_GROUP_${_group}_TARGETS)
    set(_host FALSE)
    foreach(_target IN LISTS _targets)
      _vireon_link_needs(${_target} _needs)
      if(VIREON_HOST_PACKAGE IN_LIST _needs_PACKAGES)
        set(_host TRUE)
      endif()
    endforeach()
    if(NOT _host)
      list(APPEND _standalone ${_group})
    endif()
  endforeach()
  set_property(GLOBAL PROPERTY VIREON_STANDALONE_GROUPS ${_standalone})

  # Each program's man pages go with the program.
  get_property(_programs GLOBAL PROPERTY VIREON_DELIVERABLE_PROGRAMS)
  foreach(_program IN LISTS _programs)
    get_target_property(_pages ${_program} VIREON_MAN_PAGES)
    get_property(_group GLOBAL PROPERTY VIREON_GROUP_OF_${_program})
    if(_pages)
      install(FILES ${_pages} DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT ${_group})
    endif()
  endforeach()

  set(PACKAGE_LOADABLE_MODULES_INSTALL_DIR "${VIREON_LOADABLE_MODULES_INSTALL_DIR}")
  set(PACKAGE_DESIGNER_PLUGINS_INSTALL_DIR "${VIREON_DESIGNER_PLUGINS_INSTALL_DIR}")
  configure_package_config_file("${PROJECT_SOURCE_DIR}/cmake/VireonConfig.cmake.in"
    "${PROJECT_BINARY_DIR}/VireonConfig.cmake"
    INSTALL_DESTINATION "${VIREON_PACKAGE_INSTALL_DIR}"
    PATH_VARS PACKAGE_LOADABLE_MODULES_INSTALL_DIR PACKAGE_DESIGNER_PLUGINS_INSTALL_DIR)
  write_basic_package_version_file("${PROJECT_BINARY_DIR}/VireonConfigVersion.cmake"
    COMPATIBILITY SameMajorVersion)
  install(FILES "${PROJECT_BINARY_DIR}/VireonConfig.cmake"
    "${PROJECT_BINARY_DIR}/VireonConfigVersion.cmake"
    DESTINATION "${VIREON_PACKAGE_INSTALL_DIR}" COMPONENT config)
endfunction()

# Installs the stand-in host libraries as the package VireonHostStandin (targets under the
# host's own names, headers in include/VireonHostStandin/<library>), excluded from a plain
# `cmake --install`.
#   vireon_install_host_standin(<target>...)
function(vireon_install_host_standin)
  set(_component ${VIREON_HOST_STANDIN_COMPONENT})
  set(_vtk)
  set(_qt)
  foreach(_target IN LISTS ARGN)
    set(_includedir "${CMAKE_INSTALL_INCLUDEDIR}/VireonHostStandin/${_target}")
    target_include_directories(${_target} INTERFACE "$<INSTALL_INTERFACE:${_includedir}>")
    install(TARGETS ${_target} EXPORT VireonHostStandinTargets
      LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT ${_component} EXCLUDE_FROM_ALL)
    get_target_property(_headers ${_target} VIREON_PUBLIC_HEADERS)
    if(_headers)
      install(FILES ${_headers} DESTINATION "${_includedir}"
        COMPONENT ${_component} EXCLUDE_FROM_ALL)
    endif()
    _vireon_link_needs(${_target} _needs)
    list(APPEND _vtk ${_needs_VTK})
    list(APPEND _qt ${_needs_Qt5})
  endforeach()
  list(REMOVE_DUPLICATES _vtk)
  list(REMOVE_DUPLICATES _qt)
  list(JOIN _vtk " " VIREON_HOST_STANDIN_VTK_COMPONENTS)
  list(JOIN _qt " " VIREON_HOST_STANDIN_QT_COMPONENTS)
  list(JOIN ARGN " " VIREON_HOST_STANDIN_TARGETS)

  set(_dest "${CMAKE_INSTALL_LIBDIR}/cmake/VireonHostStandin")
  configure_package_config_file("${PROJECT_SOURCE_DIR}/cmake/VireonHostStandinConfig.cmake.in"
    "${PROJECT_BINARY_DIR}/VireonHostStandinConfig.cmake" INSTALL_DESTINATION "${_dest}")
  write_basic_package_version_file("${PROJECT_BINARY_DIR}/VireonHostStandinConfigVersion.cmake"
    COMPATIBILITY SameMajorVersion)
  install(EXPORT VireonHostStandinTargets DESTINATION "${_dest}"
    COMPONENT ${_component} EXCLUDE_FROM_ALL)
  install(FILES "${PROJECT_BINARY_DIR}/VireonHostStandinConfig.cmake"
    "${PROJECT_BINARY_DIR}/VireonHostStandinConfigVersion.cmake"
    DESTINATION "${_dest}" COMPONENT ${_component} EXCLUDE_FROM_ALL)
endfunction()
