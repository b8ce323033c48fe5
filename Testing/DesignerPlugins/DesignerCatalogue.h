// What Qt Designer should read from the eight plug-in collections, written out independently
// of the plug-in code: one row per collection and one row per widget, in widget-box order.
#ifndef DesignerCatalogue_h
#define DesignerCatalogue_h

#include <QApplication>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace designer_test
{

struct CollectionRow
{
  const char* Library;    // deliverable and plug-in file name
  const char* Collection; // collection class: metadata class name and cast name
  const char* Base;       // per-module abstract plug-in base
  const char* Group;      // widget-box group of the module
};

enum class Form
{
  A,
  B,
  C
};

struct WidgetRow
{
  const char* Library;
  const char* Widget;
  Form DomForm;
  const char* ObjectName;
  const char* Property;      // form B only
  const char* GroupOverride; // nullptr: the library's group
  const char* Icon;          // nullptr: a null icon
};

inline const std::vector<CollectionRow>& Collections()
{
  static const std::vector<CollectionRow> rows = {
    { "qVireonSegmentationsModuleWidgetsPlugins",
      "qVireonSegmentationsModuleWidgetsPlugin",
      "qVireonSegmentationsModuleWidgetsAbstractPlugin",
      "Vireon [Segmentations Widgets]" },
    { "qVireonVolumesModuleWidgetsPlugins",
      "qVireonVolumesModuleWidgetsPlugin",
      "qVireonVolumesModuleWidgetsAbstractPlugin",
      "Vireon [Volumes Widgets]" },
    { "qVireonSequencesModuleWidgetsPlugins",
      "qVireonSequenceBrowserModuleWidgetsPlugin",
      "qVireonSequencesModuleWidgetsAbstractPlugin",
      "Vireon [Sequence Browser Widgets]" },
    { "qVireonColorsModuleWidgetsPlugins",
      "qVireonColorsModuleWidgetsPlugin",
      "qVireonColorsModuleWidgetsAbstractPlugin",
      "Vireon [Colors Widgets]" },
    { "qVireonPlotsModuleWidgetsPlugins",
      "qVireonPlotsModuleWidgetsPlugin",
      "qVireonPlotsModuleWidgetsAbstractPlugin",
      "Vireon [Plots Widgets]" },
    { "qVireonTablesModuleWidgetsPlugins",
      "qVireonTablesModuleWidgetsPlugin",
      "qVireonTablesModuleWidgetsAbstractPlugin",
      "Vireon [Tables Widgets]" },
    { "qVireonTerminologiesModuleWidgetsPlugins",
      "qVireonTerminologiesModuleWidgetsPlugin",
      "qVireonTerminologiesModuleWidgetsAbstractPlugin",
      "Vireon [Terminologies Widgets]" },
    { "qVireonTextsModuleWidgetsPlugins",
      "qVireonTextModuleWidgetsPlugin",
      "qVireonTextsModuleWidgetsAbstractPlugin",
      "Vireon [Texts Widgets]" },
  };
  return rows;
}

inline const std::vector<WidgetRow>& Widgets()
{
  static const char* const seg = "qVireonSegmentationsModuleWidgetsPlugins";
  static const char* const vol = "qVireonVolumesModuleWidgetsPlugins";
  static const char* const seq = "qVireonSequencesModuleWidgetsPlugins";
  static const char* const col = "qVireonColorsModuleWidgetsPlugins";
  static const char* const plo = "qVireonPlotsModuleWidgetsPlugins";
  static const char* const tab = "qVireonTablesModuleWidgetsPlugins";
  static const char* const ter = "qVireonTerminologiesModuleWidgetsPlugins";
  static const char* const txt = "qVireonTextsModuleWidgetsPlugins";
  static const std::vector<WidgetRow> rows = {
    { seg, "qKOVASegmentsTableView", Form::A, "SegmentsTableView", nullptr, nullptr, nullptr },
    { seg,
      "qKOVASegmentationRepresentationsListView",
      Form::A,
      "SegmentationRepresentationsListView",
      nullptr,
      nullptr,
      nullptr },
    { seg,
      "qKOVASegmentationConversionParametersWidget",
      Form::B,
      "SegmentationConversionParametersWidget",
      "targetRepresentationName",
      nullptr,
      nullptr },
    { seg,
      "qKOVASegmentSelectorWidget",
      Form::A,
      "SegmentSelectorWidget",
      nullptr,
      nullptr,
      nullptr },
    { seg,
      "qKOVASegmentEditorWidget",
      Form::B,
      "SegmentEditorWidget",
      "defaultTerminologyEntrySettingsKey",
      nullptr,
      nullptr },
    { seg,
      "qKOVASegmentationDisplayNodeWidget",
      Form::A,
      "SegmentationDisplayNodeWidget",
      nullptr,
      nullptr,
      nullptr },
    { seg,
      "qKOVASegmentationFileExportWidget",
      Form::B,
      "SegmentationFileExportWidget",
      "settingsKey",
      nullptr,
      nullptr },
    { seg,
      "qKOVASegmentationShow3DButton",
      Form::A,
      "SegmentationShow3DButton",
      nullptr,
      nullptr,
      nullptr },
    { vol,
      "qVireonDiffusionTensorVolumeDisplayWidget",
      Form::A,
      "VolumeDisplayWidget",
      nullptr,
      nullptr,
      nullptr },
    { vol,
      "qVireonDiffusionWeightedVolumeDisplayWidget",
      Form::A,
      "VolumeDisplayWidget",
      nullptr,
      nullptr,
      nullptr },
    { vol,
      "qVireonDTISliceDisplayWidget",
      Form::A,
      "VolumeDisplayWidget",
      nullptr,
      nullptr,
      nullptr },
    { vol,
      "qVireonLabelMapVolumeDisplayWidget",
      Form::A,
      "VolumeDisplayWidget",
      nullptr,
      nullptr,
      nullptr },
    { vol,
      "qVireonScalarVolumeDisplayWidget",
      Form::A,
      "VolumeDisplayWidget",
      nullptr,
      nullptr,
      nullptr },
    { vol,
      "qVireonVolumeDisplayWidget",
      Form::A,
      "VolumeDisplayWidget",
      nullptr,
      nullptr,
      nullptr },
    { seq,
      "qKOVASequenceBrowserPlayWidget",
      Form::A,
      "SequenceBrowserPlayWidget",
      nullptr,
      nullptr,
      nullptr },
    { seq,
      "qKOVASequenceBrowserSeekWidget",
      Form::A,
      "SequenceBrowserSeekWidget",
      nullptr,
      nullptr,
      nullptr },
    { seq,
      "qKOVASequenceBrowserToolBar",
      Form::A,
      "KOVASequenceBrowserToolBar",
      nullptr,
      nullptr,
      nullptr },
    { seq, "qKOVASequenceEditWidget", Form::A, "SequenceEditWidget", nullptr, nullptr, nullptr },
    { col,
      "qKOVAColorLegendDisplayNodeWidget",
      Form::C,
      "ColorLegendDisplayNodeWidget",
      nullptr,
      "Vireon [KOVA Widgets]",
      ":/Icons/Colors.png" },
    { col,
      "qKOVAColorListView",
      Form::A,
      "KOVAColorListView",
      nullptr,
      nullptr,
      ":Icons/listbox.png" },
    { col,
      "qKOVAColorTableView",
      Form::A,
      "KOVAColorTableView",
      nullptr,
      nullptr,
      ":Icons/table.png" },
    { plo,
      "qKOVAPlotChartPropertiesWidget",
      Form::A,
      "VireonPlotChartPropertiesWidget",
      nullptr,
      nullptr,
      nullptr },
    { plo,
      "qKOVAPlotSeriesPropertiesWidget",
      Form::A,
      "VireonPlotSeriesPropertiesWidget",
      nullptr,
      nullptr,
      nullptr },
    { tab,
      "qVireonTableColumnPropertiesWidget",
      Form::A,
      "VireonTableColumnPropertiesWidget",
      nullptr,
      nullptr,
      nullptr },
    { ter,
      "qVireonTerminologyNavigatorWidget",
      Form::A,
      "TerminologyNavigatorWidget",
      nullptr,
      nullptr,
      nullptr },
    { txt, "qKOVATextWidget", Form::A, "TextWidget", nullptr, nullptr, nullptr },
  };
  return rows;
}

inline const CollectionRow& CollectionOf(const WidgetRow& widget)
{
  for (const CollectionRow& row : Collections())
  {
    if (QLatin1String(row.Library) == QLatin1String(widget.Library))
    {
      return row;
    }
  }
  ADD_FAILURE() << "no collection " << widget.Library;
  return Collections().front();
}

inline std::vector<WidgetRow> WidgetsOf(const CollectionRow& collection)
{
  std::vector<WidgetRow> rows;
  for (const WidgetRow& row : Widgets())
  {
    if (QLatin1String(row.Library) == QLatin1String(collection.Library))
    {
      rows.push_back(row);
    }
  }
  return rows;
}

// The XML text Designer reads from domXml(), built from the three forms line by line.
inline QString ExpectedDomXml(const WidgetRow& row)
{
  const QString cls = QString::fromLatin1(row.Widget);
  const QString obj = QString::fromLatin1(row.ObjectName);
  QStringList lines;
  switch (row.DomForm)
  {
    case Form::A:
      lines << QStringLiteral("<widget class=\"%1\"           name=\"%2\">").arg(cls, obj)
            << QStringLiteral("</widget>");
      break;
    case Form::B:
      lines << QStringLiteral("<ui language=\"c++\">")
            << QStringLiteral("<widget class=\"%1\" name=\"%2\">").arg(cls, obj)
            << QStringLiteral("  <property name=\"%1\"> <string notr=\"true\"/> </property>")
                 .arg(QString::fromLatin1(row.Property))
            << QStringLiteral("</widget>") << QStringLiteral("</ui>");
      break;
    case Form::C:
      lines << QStringLiteral("<widget class=\"%1\"           name=\"%2\">").arg(cls, obj)
            << QStringLiteral(" <property name=\"geometry\">") << QStringLiteral("  <rect>")
            << QStringLiteral("   <x>0</x>") << QStringLiteral("   <y>0</y>")
            << QStringLiteral("   <width>200</width>") << QStringLiteral("   <height>200</height>")
            << QStringLiteral("  </rect>") << QStringLiteral(" </property>")
            << QStringLiteral("</widget>");
      break;
  }
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// Folder the collections are built into.
inline QString PluginFolder()
{
  return QStringLiteral(VIREON_DESIGNER_PLUGIN_DIR);
}

// One QApplication for the whole test program (widgets need it).
class QtEnvironment : public ::testing::Environment
{
public:
  void SetUp() override
  {
    static int argc = 1;
    static char name[] = "designerTest";
    static char* argv[] = { name, nullptr };
    this->App = new QApplication(argc, argv);
  }
  void TearDown() override
  {
    delete this->App;
    this->App = nullptr;
  }

private:
  QApplication* App = nullptr;
};

} // namespace designer_test

#endif
