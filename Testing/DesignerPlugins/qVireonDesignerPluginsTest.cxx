// Loads each designer plug-in collection the way Qt Designer does (QPluginLoader) and checks
// its metadata, its instance and every widget plug-in against the catalogue.
#include "DesignerCatalogue.h"

#include <QDesignerCustomWidgetCollectionInterface>
#include <QDesignerCustomWidgetInterface>
#include <QIcon>
#include <QJsonObject>
#include <QPluginLoader>
#include <QPointer>
#include <QSet>
#include <QWidget>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <memory>

using namespace designer_test;

namespace
{

::testing::Environment* const qtEnvironment =
  ::testing::AddGlobalTestEnvironment(new QtEnvironment);

const char* const CollectionIid = "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface";

std::string Str(const QString& text)
{
  return text.toStdString();
}

// The class and object names of the first widget element, and its first property's name.
struct DomWidget
{
  QString Class;
  QString Object;
  QString Property;
  bool PropertyIsUntranslatedEmptyString = false;
};

DomWidget ParseDomXml(const QString& xml)
{
  DomWidget result;
  QXmlStreamReader reader(xml);
  QString element;
  while (!reader.atEnd())
  {
    if (reader.readNext() != QXmlStreamReader::StartElement)
    {
      continue;
    }
    if (reader.name() == QLatin1String("widget") && result.Class.isEmpty())
    {
      result.Class = reader.attributes().value(QLatin1String("class")).toString();
      result.Object = reader.attributes().value(QLatin1String("name")).toString();
    }
    else if (reader.name() == QLatin1String("property") && result.Property.isEmpty())
    {
      result.Property = reader.attributes().value(QLatin1String("name")).toString();
      if (reader.readNextStartElement() && reader.name() == QLatin1String("string"))
      {
        const bool notr = reader.attributes().value(QLatin1String("notr")) == QLatin1String("true");
        result.PropertyIsUntranslatedEmptyString = notr && reader.readElementText().isEmpty();
      }
    }
  }
  EXPECT_FALSE(reader.hasError()) << Str(reader.errorString()) << "\n" << Str(xml);
  return result;
}

class CollectionTest : public ::testing::TestWithParam<CollectionRow>
{
protected:
  void SetUp() override
  {
    this->Loader.setFileName(PluginFolder() + QLatin1Char('/') + GetParam().Library);
  }

  QDesignerCustomWidgetCollectionInterface* Collection()
  {
    QObject* instance = this->Loader.instance();
    EXPECT_NE(instance, nullptr) << Str(this->Loader.errorString());
    return qobject_cast<QDesignerCustomWidgetCollectionInterface*>(instance);
  }

  QPluginLoader Loader;
};

TEST_P(CollectionTest, MetadataNamesInterfaceAndCollectionClass)
{
  const QJsonObject meta = this->Loader.metaData();
  ASSERT_FALSE(meta.isEmpty()) << Str(this->Loader.fileName()) << ": "
                               << Str(this->Loader.errorString());
  EXPECT_EQ(Str(meta.value(QLatin1String("IID")).toString()), CollectionIid);
  EXPECT_EQ(Str(meta.value(QLatin1String("className")).toString()), GetParam().Collection);
  // Built for Qt 5.15, without a metadata file of its own.
  EXPECT_EQ(meta.value(QLatin1String("version")).toInt() >> 8, 0x050F);
  EXPECT_FALSE(meta.contains(QLatin1String("MetaData")));
  // Reading the metadata does not load the code.
  EXPECT_FALSE(this->Loader.isLoaded());
}

TEST_P(CollectionTest, InstanceIsTheCollection)
{
  QObject* instance = this->Loader.instance();
  ASSERT_NE(instance, nullptr) << Str(this->Loader.errorString());
  auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(instance);
  ASSERT_NE(collection, nullptr);

  const QMetaObject* meta = instance->metaObject();
  EXPECT_STREQ(meta->className(), GetParam().Collection);
  EXPECT_EQ(meta->superClass(), &QObject::staticMetaObject);
  EXPECT_EQ(meta->methodCount(), QObject::staticMetaObject.methodCount());
  EXPECT_EQ(meta->propertyCount(), QObject::staticMetaObject.propertyCount());
  EXPECT_EQ(instance->parent(), nullptr);

  EXPECT_EQ(instance->qt_metacast(GetParam().Collection), static_cast<void*>(instance));
  EXPECT_EQ(instance->qt_metacast("QDesignerCustomWidgetCollectionInterface"),
    static_cast<void*>(collection));
  EXPECT_EQ(instance->qt_metacast(CollectionIid), static_cast<void*>(collection));

  // One instance while it exists; a new one once it has been destroyed.
  EXPECT_EQ(this->Loader.instance(), instance);
  QPointer<QObject> first(instance);
  delete instance;
  EXPECT_TRUE(first.isNull());
  QObject* second = this->Loader.instance();
  ASSERT_NE(second, nullptr);
  EXPECT_STREQ(second->metaObject()->className(), GetParam().Collection);
  EXPECT_EQ(this->Loader.instance(), second);
}

TEST_P(CollectionTest, CustomWidgetsFollowTheCatalogue)
{
  QDesignerCustomWidgetCollectionInterface* collection = this->Collection();
  ASSERT_NE(collection, nullptr);
  const std::vector<WidgetRow> rows = WidgetsOf(GetParam());
  const QList<QDesignerCustomWidgetInterface*> plugins = collection->customWidgets();
  ASSERT_EQ(plugins.size(), static_cast<int>(rows.size()));

  for (int i = 0; i < plugins.size(); ++i)
  {
    const WidgetRow& row = rows[static_cast<size_t>(i)];
    SCOPED_TRACE(row.Widget);
    QDesignerCustomWidgetInterface* plugin = plugins[i];
    ASSERT_NE(plugin, nullptr);

    EXPECT_EQ(Str(plugin->name()), row.Widget);
    EXPECT_EQ(Str(plugin->includeFile()), std::string(row.Widget) + ".h");
    EXPECT_EQ(Str(plugin->group()), row.GroupOverride ? row.GroupOverride : GetParam().Group);
    EXPECT_TRUE(plugin->toolTip().isEmpty());
    EXPECT_TRUE(plugin->whatsThis().isEmpty());
    EXPECT_FALSE(plugin->isContainer());
    // The host's icon resources are not loaded here.
    EXPECT_TRUE(plugin->icon().isNull());
    EXPECT_EQ(Str(plugin->domXml()), Str(ExpectedDomXml(row)));
    // Qt's defaults.
    EXPECT_FALSE(plugin->isInitialized());
    plugin->initialize(nullptr);
    EXPECT_FALSE(plugin->isInitialized());
    EXPECT_TRUE(plugin->codeTemplate().isEmpty());

    const DomWidget dom = ParseDomXml(plugin->domXml());
    EXPECT_EQ(dom.Class, plugin->name());
    EXPECT_EQ(Str(dom.Object), row.ObjectName);
    if (row.DomForm == Form::B)
    {
      EXPECT_EQ(Str(dom.Property), row.Property);
      EXPECT_TRUE(dom.PropertyIsUntranslatedEmptyString);
    }

    // The plug-in object: a QObject of the collection whose cast knows its class and the module
    // base.
    auto* object = dynamic_cast<QObject*>(plugin);
    ASSERT_NE(object, nullptr);
    const std::string pluginClass = std::string(row.Widget) + "Plugin";
    EXPECT_STREQ(object->metaObject()->className(), pluginClass.c_str());
    EXPECT_EQ(object->metaObject()->superClass(), &QObject::staticMetaObject);
    EXPECT_EQ(object->metaObject()->methodCount(), QObject::staticMetaObject.methodCount());
    EXPECT_EQ(object->metaObject()->propertyCount(), QObject::staticMetaObject.propertyCount());
    EXPECT_EQ(object->parent(), this->Loader.instance());
    EXPECT_EQ(object->qt_metacast(GetParam().Base), static_cast<void*>(plugin));
    EXPECT_EQ(object->qt_metacast(pluginClass.c_str()), static_cast<void*>(object));

    // createWidget: a top-level widget of the named class, or a child of the given parent.
    std::unique_ptr<QWidget> topLevel(plugin->createWidget(nullptr));
    ASSERT_NE(topLevel, nullptr);
    EXPECT_EQ(Str(QString::fromLatin1(topLevel->metaObject()->className())), Str(plugin->name()));
    EXPECT_EQ(topLevel->parentWidget(), nullptr);
    EXPECT_TRUE(topLevel->isWindow());
    QWidget parent;
    QWidget* child = plugin->createWidget(&parent);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->parentWidget(), &parent);
    EXPECT_STREQ(child->metaObject()->className(), row.Widget);
    EXPECT_FALSE(child->isWindow());
  }
}

TEST_P(CollectionTest, EveryListingHandsOutTheCollectionsPlugins)
{
  QDesignerCustomWidgetCollectionInterface* collection = this->Collection();
  ASSERT_NE(collection, nullptr);
  const QList<QDesignerCustomWidgetInterface*> first = collection->customWidgets();
  const QList<QDesignerCustomWidgetInterface*> second = collection->customWidgets();
  ASSERT_FALSE(first.isEmpty());
  EXPECT_EQ(first, second);
  QSet<QDesignerCustomWidgetInterface*> distinct(first.begin(), first.end());
  EXPECT_EQ(distinct.size(), first.size());

  // The plug-ins go with the collection: callers never delete them, and nothing is left over.
  QList<QPointer<QObject>> objects;
  for (QDesignerCustomWidgetInterface* plugin : first)
  {
    objects << QPointer<QObject>(dynamic_cast<QObject*>(plugin));
  }
  delete this->Loader.instance();
  for (const QPointer<QObject>& object : objects)
  {
    EXPECT_TRUE(object.isNull());
  }
  // A new instance has its own plug-ins.
  collection = this->Collection();
  ASSERT_NE(collection, nullptr);
  EXPECT_EQ(collection->customWidgets().size(), first.size());
}

std::string CollectionName(const ::testing::TestParamInfo<CollectionRow>& info)
{
  return info.param.Library;
}

INSTANTIATE_TEST_SUITE_P(Collections,
  CollectionTest,
  ::testing::ValuesIn(Collections()),
  CollectionName);

// The catalogue itself: 26 widgets in eight collections, every widget in one of them.
TEST(Catalogue, CountsPerCollection)
{
  const std::vector<int> counts = { 8, 6, 4, 3, 2, 1, 1, 1 };
  ASSERT_EQ(Collections().size(), counts.size());
  size_t total = 0;
  for (size_t i = 0; i < counts.size(); ++i)
  {
    EXPECT_EQ(WidgetsOf(Collections()[i]).size(), static_cast<size_t>(counts[i]))
      << Collections()[i].Library;
    total += WidgetsOf(Collections()[i]).size();
  }
  EXPECT_EQ(total, Widgets().size());
  EXPECT_EQ(total, 26u);
}

} // namespace
