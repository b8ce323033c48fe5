# What an installation must hold: the deliverables, written out here independently of the list
# that the build installs from, so that a deliverable dropped from that list fails the tests.
set(EXPECTED_LIBRARIES
  wavecodec
  prioheap
  vtkVireonGeneralizedReformatModuleKOVA
  vtkVireonGeneralizedReformatModuleLogic
  vtkVireonTablesModuleLogic
  vtkVireonPlotsModuleLogic
  vtkVireonViewControllersModuleLogic
  vtkVireonTemplateKeyModuleKOVA
  vtkVireonTemplateKeyModuleVTKWidgets
  qVireonTemplateKeyModuleWidgets
  vtkVireonTemplateKeyModuleLogic
  vtkVireonTextsModuleLogic
  qVireonTextsModuleWidgets
  qVireonTextsSubjectHierarchyPlugins
  vtkVireonDynamicModelerModuleKOVA
  qVireonDynamicModelerSubjectHierarchyPlugins
  qVireonColorsSubjectHierarchyPlugins)
set(EXPECTED_PROGRAMS dcmcj2k dcmdj2k curvedreformat pylaunch)
set(EXPECTED_LOADABLE_MODULES qVireonGeneralizedReformatModule)
set(EXPECTED_DESIGNER_PLUGINS
  qVireonSegmentationsModuleWidgetsPlugins
  qVireonVolumesModuleWidgetsPlugins
  qVireonSequencesModuleWidgetsPlugins
  qVireonColorsModuleWidgetsPlugins
  qVireonPlotsModuleWidgetsPlugins
  qVireonTablesModuleWidgetsPlugins
  qVireonTerminologiesModuleWidgetsPlugins
  qVireonTextsModuleWidgetsPlugins)
