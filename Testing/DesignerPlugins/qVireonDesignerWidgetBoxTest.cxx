// Qt Designer's own components (form editor core, plug-in manager, widget box, form window)
// find the eight collections in the plug-in folder, list every catalogue widget under its
// group and build the form with all of them. Saves a picture of the widget box with the
// Vireon groups open (designer-widgetbox.png in the test's build folder).
#include "DesignerCatalogue.h"

#include <QDesignerComponents>
#include <QDesignerFormEditorInterface>
#include <QDesignerFormWindowInterface>
#include <QDesignerFormWindowManagerInterface>
#include <QDesignerIntegration>
#include <QDesignerPropertyEditorInterface>
#include <QDesignerWidgetBoxInterface>
#include <QDesignerWidgetDataBaseInterface>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <string>

using namespace designer_test;

namespace
{

::testing::Environment* const qtEnvironment =
  ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// One Designer session for the whole program: core, plug-ins, widget box and the form.
struct Session
{
  QDesignerFormEditorInterface* Core = nullptr;
  QDesignerWidgetBoxInterface* Box = nullptr;
  QDesignerPropertyEditorInterface* PropertyEditor = nullptr;
  QDesignerFormWindowInterface* FormWindow = nullptr;
  bool BoxLoaded = false;
  bool FormLoaded = false;
  QString FormError;
};
Session session;

class DesignerEnvironment : public ::testing::Environment
{
public:
  void SetUp() override
  {
    // Designer looks in the "designer" folder of every library path.
    QCoreApplication::addLibraryPath(QFileInfo(PluginFolder()).path());
    QDesignerComponents::initializeResources();
    session.Core = QDesignerComponents::createFormEditor(nullptr);
    QDesignerComponents::createTaskMenu(session.Core, session.Core);
    QDesignerComponents::initializePlugins(session.Core);
    session.Box = QDesignerComponents::createWidgetBox(session.Core, nullptr);
    session.Core->setWidgetBox(session.Box);
    session.Box->setFileName(QStringLiteral(":/qt-project.org/widgetbox/widgetbox.xml"));
    session.BoxLoaded = session.Box->load();

    // Form windows need Designer's integration, which works with the property editor.
    session.PropertyEditor = QDesignerComponents::createPropertyEditor(session.Core, nullptr);
    session.Core->setPropertyEditor(session.PropertyEditor);
    new QDesignerIntegration(session.Core, session.Core);

    QFile file(QStringLiteral(VIREON_DESIGNER_TEST_FORM));
    session.FormWindow = session.Core->formWindowManager()->createFormWindow(nullptr);
    session.FormLoaded =
      file.open(QIODevice::ReadOnly) && session.FormWindow->setContents(&file, &session.FormError);
  }

  void TearDown() override
  {
    delete session.FormWindow;
    delete session.Box;
    delete session.PropertyEditor;
    delete session.Core;
    session = Session();
  }
};

::testing::Environment* const designerEnvironment =
  ::testing::AddGlobalTestEnvironment(new DesignerEnvironment);

class WidgetBoxTest : public ::testing::TestWithParam<WidgetRow>
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(session.BoxLoaded);
  }
};

QString Group(const WidgetRow& row)
{
  return QString::fromLatin1(row.GroupOverride ? row.GroupOverride : CollectionOf(row).Group);
}

// Position of the widget in its widget-box category, or -1.
int BoxPosition(const WidgetRow& row, QString* domXml)
{
  for (int c = 0; c < session.Box->categoryCount(); ++c)
  {
    const QDesignerWidgetBoxInterface::Category category = session.Box->category(c);
    if (category.name() != Group(row))
    {
      continue;
    }
    for (int i = 0; i < category.widgetCount(); ++i)
    {
      if (category.widget(i).name() == QLatin1String(row.Widget))
      {
        *domXml = category.widget(i).domXml();
        return i;
      }
    }
  }
  return -1;
}

TEST_P(WidgetBoxTest, ListedUnderItsGroupInCatalogueOrder)
{
  const WidgetRow& row = GetParam();
  QString domXml;
  const int position = BoxPosition(row, &domXml);
  ASSERT_GE(position, 0) << row.Widget << " not under " << Group(row).toStdString();
  EXPECT_TRUE(domXml.contains(QStringLiteral("class=\"%1\"").arg(row.Widget)))
    << domXml.toStdString();

  // Widgets before this one in the same group come first in the box too.
  int before = 0;
  for (const WidgetRow& other : Widgets())
  {
    if (QLatin1String(other.Widget) == QLatin1String(row.Widget))
    {
      break;
    }
    before += Group(other) == Group(row) ? 1 : 0;
  }
  EXPECT_EQ(position, before);
}

TEST_P(WidgetBoxTest, WidgetDataBaseKnowsTheCustomWidget)
{
  const WidgetRow& row = GetParam();
  QDesignerWidgetDataBaseInterface* db = session.Core->widgetDataBase();
  const int index = db->indexOfClassName(QLatin1String(row.Widget));
  ASSERT_GE(index, 0);
  QDesignerWidgetDataBaseItemInterface* item = db->item(index);
  EXPECT_TRUE(item->isCustom());
  EXPECT_FALSE(item->isContainer());
  EXPECT_EQ(item->group(), Group(row));
  EXPECT_EQ(item->includeFile().toStdString(), std::string(row.Widget) + ".h");
  EXPECT_TRUE(item->toolTip().isEmpty());
  EXPECT_TRUE(item->whatsThis().isEmpty());
}

TEST_P(WidgetBoxTest, FormWindowBuildsTheWidget)
{
  ASSERT_TRUE(session.FormLoaded) << session.FormError.toStdString();
  const WidgetRow& row = GetParam();
  bool found = false;
  for (QWidget* widget : session.FormWindow->mainContainer()->findChildren<QWidget*>())
  {
    if (QLatin1String(widget->metaObject()->className()) == QLatin1String(row.Widget))
    {
      found = true;
      if (row.DomForm == Form::B)
      {
        EXPECT_GE(widget->metaObject()->indexOfProperty(row.Property), 0);
        EXPECT_TRUE(widget->property(row.Property).toString().isEmpty());
      }
    }
  }
  EXPECT_TRUE(found);
}

std::string WidgetName(const ::testing::TestParamInfo<WidgetRow>& info)
{
  return info.param.Widget;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, WidgetBoxTest, ::testing::ValuesIn(Widgets()), WidgetName);

TEST(WidgetBoxPicture, SavedWithTheVireonGroupsOpen)
{
  ASSERT_TRUE(session.BoxLoaded);
  auto* tree = session.Box->findChild<QTreeWidget*>();
  ASSERT_NE(tree, nullptr);
  int vireonGroups = 0;
  for (int i = 0; i < tree->topLevelItemCount(); ++i)
  {
    QTreeWidgetItem* item = tree->topLevelItem(i);
    const bool vireon = item->text(0).startsWith(QLatin1String("Vireon ["));
    item->setExpanded(vireon);
    vireonGroups += vireon ? 1 : 0;
  }
  // Eight module groups plus the colour legend's "Vireon [KOVA Widgets]".
  EXPECT_EQ(vireonGroups, 9);
  session.Box->resize(460, 1130);
  session.Box->show();
  QCoreApplication::processEvents();
  const QImage picture = session.Box->grab().toImage();
  ASSERT_FALSE(picture.isNull());
  EXPECT_TRUE(picture.save(QStringLiteral(VIREON_DESIGNER_TEST_OUTPUT "/designer-widgetbox.png")));
  session.Box->hide();
}

} // namespace
