// Qt's form builders (QFormBuilder of Qt Designer's library and QUiLoader of Qt UI Tools) load
// a form that places all catalogue widgets and create each through its designer plug-in.
#include "DesignerCatalogue.h"

#include <QDesignerCustomWidgetInterface>
#include <QFile>
#include <QFormBuilder>
#include <QLayout>
#include <QMetaProperty>
#include <QUiLoader>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

using namespace designer_test;

namespace
{

::testing::Environment* const qtEnvironment =
  ::testing::AddGlobalTestEnvironment(new QtEnvironment);

std::unique_ptr<QWidget> LoadForm(QFormBuilder& builder)
{
  QFile file(QStringLiteral(VIREON_DESIGNER_TEST_FORM));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << VIREON_DESIGNER_TEST_FORM;
  std::unique_ptr<QWidget> form(builder.load(&file));
  EXPECT_NE(form, nullptr) << builder.errorString().toStdString();
  return form;
}

std::unique_ptr<QWidget> LoadForm(QUiLoader& loader)
{
  QFile file(QStringLiteral(VIREON_DESIGNER_TEST_FORM));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << VIREON_DESIGNER_TEST_FORM;
  std::unique_ptr<QWidget> form(loader.load(&file));
  EXPECT_NE(form, nullptr) << loader.errorString().toStdString();
  return form;
}

// Object names in the form: the plug-in's default name, numbered from the second use on as
// Designer does.
std::map<std::string, std::string> FormObjectNames()
{
  std::map<std::string, std::string> names;
  std::map<std::string, int> uses;
  for (const WidgetRow& row : Widgets())
  {
    const int n = ++uses[row.ObjectName];
    names[row.Widget] = n == 1 ? row.ObjectName : row.ObjectName + ("_" + std::to_string(n));
  }
  return names;
}

class FormBuilderTest : public ::testing::TestWithParam<WidgetRow>
{
public:
  static void SetUpTestSuite()
  {
    Builder = new QFormBuilder;
    Builder->setPluginPath(QStringList() << PluginFolder());
    BuilderForm = LoadForm(*Builder).release();

    Loader = new QUiLoader;
    Loader->clearPluginPaths();
    Loader->addPluginPath(PluginFolder());
    LoaderForm = LoadForm(*Loader).release();
  }

  static void TearDownTestSuite()
  {
    delete BuilderForm;
    delete LoaderForm;
    delete Builder;
    delete Loader;
  }

protected:
  // The widget in the form, checked to be of the row's class and in the form's layout.
  static QWidget* Placed(QWidget* form)
  {
    const WidgetRow& row = GetParam();
    EXPECT_NE(form, nullptr);
    if (form == nullptr)
    {
      return nullptr;
    }
    const QString objectName = QString::fromStdString(FormObjectNames().at(row.Widget));
    auto* widget = form->findChild<QWidget*>(objectName);
    EXPECT_NE(widget, nullptr) << objectName.toStdString();
    if (widget == nullptr)
    {
      return nullptr;
    }
    EXPECT_STREQ(widget->metaObject()->className(), row.Widget);
    EXPECT_EQ(widget->parentWidget(), form);
    EXPECT_GE(form->layout()->indexOf(widget), 0);
    return widget;
  }

  // A form-B property arrives as an empty string in the declared property, not as a dynamic one.
  static void ExpectEmptyStringProperty(QWidget* widget)
  {
    const WidgetRow& row = GetParam();
    if (widget == nullptr || row.DomForm != Form::B)
    {
      return;
    }
    const int index = widget->metaObject()->indexOfProperty(row.Property);
    ASSERT_GE(index, 0) << row.Property;
    EXPECT_EQ(widget->metaObject()->property(index).type(), QVariant::String);
    const QVariant value = widget->property(row.Property);
    EXPECT_TRUE(value.isValid());
    EXPECT_EQ(value.type(), QVariant::String);
    EXPECT_TRUE(value.toString().isEmpty());
    EXPECT_FALSE(widget->dynamicPropertyNames().contains(row.Property));
  }

  static QFormBuilder* Builder;
  static QWidget* BuilderForm;
  static QUiLoader* Loader;
  static QWidget* LoaderForm;
};

QFormBuilder* FormBuilderTest::Builder = nullptr;
QWidget* FormBuilderTest::BuilderForm = nullptr;
QUiLoader* FormBuilderTest::Loader = nullptr;
QWidget* FormBuilderTest::LoaderForm = nullptr;

TEST_P(FormBuilderTest, FormBuilderCreatesTheWidgetThroughItsPlugin)
{
  bool listed = false;
  for (QDesignerCustomWidgetInterface* plugin : Builder->customWidgets())
  {
    listed = listed || plugin->name() == QLatin1String(GetParam().Widget);
  }
  EXPECT_TRUE(listed);
  ExpectEmptyStringProperty(Placed(BuilderForm));
}

TEST_P(FormBuilderTest, UiLoaderCreatesTheWidgetThroughItsPlugin)
{
  EXPECT_TRUE(Loader->availableWidgets().contains(QLatin1String(GetParam().Widget)));
  ExpectEmptyStringProperty(Placed(LoaderForm));
  // The loader also creates the widget by class name alone.
  std::unique_ptr<QWidget> single(Loader->createWidget(QLatin1String(GetParam().Widget)));
  ASSERT_NE(single, nullptr);
  EXPECT_STREQ(single->metaObject()->className(), GetParam().Widget);
}

std::string WidgetName(const ::testing::TestParamInfo<WidgetRow>& info)
{
  return info.param.Widget;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, FormBuilderTest, ::testing::ValuesIn(Widgets()), WidgetName);

} // namespace
