// The colour widget plug-ins show the images at their resource paths once a library has
// registered them (here: this test's own resource of three images of distinct sizes), and a
// null icon while none is registered.
#include "DesignerCatalogue.h"

#include <QDesignerCustomWidgetCollectionInterface>
#include <QDesignerCustomWidgetInterface>
#include <QIcon>
#include <QPluginLoader>

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace designer_test;

namespace
{

::testing::Environment* const qtEnvironment =
  ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Edge of the test image behind each resource path.
const std::map<std::string, int> ImageEdge = {
  { ":/Icons/Colors.png", 16 },
  { ":Icons/listbox.png", 20 },
  { ":Icons/table.png", 24 },
};

// Icons of every widget plug-in of every collection, by widget class.
std::map<std::string, QIcon> AllIcons()
{
  std::map<std::string, QIcon> icons;
  for (const CollectionRow& row : Collections())
  {
    QPluginLoader loader(PluginFolder() + QLatin1Char('/') + row.Library);
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    EXPECT_NE(collection, nullptr) << row.Library << ": " << loader.errorString().toStdString();
    if (collection == nullptr)
    {
      continue;
    }
    for (QDesignerCustomWidgetInterface* plugin : collection->customWidgets())
    {
      icons[plugin->name().toStdString()] = plugin->icon();
    }
  }
  return icons;
}

void ExpectIcons(bool resourceLoaded)
{
  const std::map<std::string, QIcon> icons = AllIcons();
  for (const WidgetRow& row : Widgets())
  {
    SCOPED_TRACE(row.Widget);
    ASSERT_EQ(icons.count(row.Widget), 1u);
    const QIcon& icon = icons.at(row.Widget);
    if (row.Icon == nullptr || !resourceLoaded)
    {
      EXPECT_TRUE(icon.isNull());
      continue;
    }
    ASSERT_FALSE(icon.isNull());
    const int edge = ImageEdge.at(row.Icon);
    EXPECT_EQ(icon.availableSizes(), QList<QSize>() << QSize(edge, edge));
    EXPECT_EQ(icon.pixmap(QSize(64, 64)).size(), QSize(edge, edge));
  }
}

} // namespace

TEST(DesignerIcons, ResourcePathsAreShownWhenRegistered)
{
  ExpectIcons(true);
}

TEST(DesignerIcons, NullWhileNoResourceIsRegistered)
{
  Q_CLEANUP_RESOURCE(DesignerTestIcons);
  ExpectIcons(false);
  Q_INIT_RESOURCE(DesignerTestIcons);
  ExpectIcons(true);
}
