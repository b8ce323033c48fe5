# Qt Designer plug-in collections are built into <build>/lib/designer and installed into
# <prefix>/lib/vireon/plugins/designer (cmake/VireonInstall.cmake): Qt Designer looks for custom
# widget plug-ins in a "designer" folder below each plug-in path (QT_PLUGIN_PATH=<build>/lib or
# <prefix>/lib/vireon/plugins).
if(CMAKE_LIBRARY_OUTPUT_DIRECTORY)
  set(VIREON_DESIGNER_PLUGIN_DIR "${CMAKE_LIBRARY_OUTPUT_DIRECTORY}/designer")
else()
  set(VIREON_DESIGNER_PLUGIN_DIR "${CMAKE_BINARY_DIR}/lib/designer")
endif()

#   vireon_designer_plugin(<module target>)
function(vireon_designer_plugin target)
  set_target_properties(${target} PROPERTIES LIBRARY_OUTPUT_DIRECTORY "${VIREON_DESIGNER_PLUGIN_DIR}")
endfunction()
