#include <qKOVAMarkupsTestLineWidget.h>

#include <vtkKOVAMarkupsTestLineNode.h>

#include <ctkCollapsibleButton.h>
#include <vtkKOVAMarkupsCurveNode.h>
#include <vtkKOVAMarkupsLineNode.h>

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QSet>
#include <QTest>
#include <QTranslator>
#include <QVBoxLayout>

#include <vtkNew.h>
#include <vtkSmartPointer.h>

#include <memory>

namespace
{
ctkCollapsibleButton* Section(QWidget& widget)
{
  return widget.findChild<ctkCollapsibleButton*>("lineTestCollapsibleButton");
}

QLabel* Label(QWidget& widget)
{
  return widget.findChild<QLabel*>("qKOVAMarkupsTestLineWidgetLabel");
}

/// Records the contexts in which texts are translated, and translates one of them.
class RecordingTranslator : public QTranslator
{
public:
  QString translate(const char* context,
    const char* sourceText,
    const char* disambiguation = nullptr,
    int n = -1) const override
  {
    Q_UNUSED(disambiguation);
    Q_UNUSED(n);
    this->Requests.insert(QString("%1|%2").arg(context, sourceText));
    if (QLatin1String(sourceText) == QLatin1String("Test Line Settings") &&
        QLatin1String(context) == QLatin1String("qKOVAMarkupsTestLineWidget"))
    {
      return "Testlinien-Einstellungen";
    }
    return QString();
  }
  bool isEmpty() const override { return false; }
  mutable QSet<QString> Requests;
};
}

class qKOVAMarkupsTestLineWidgetTest : public QObject
{
  Q_OBJECT

private slots:
  void freshWidget();
  void userInterface();
  void metaObject();
  void managesOnlyTestLines();
  void sectionHiddenForOtherMarkups();
  void nullNodeDisablesTheWidget();
  void testLineShowsTheFoldedSection();
  void deletedNodeHidesTheSection();
  void createInstance();
  void textsAreTranslatedInTheClassContext();
};

void qKOVAMarkupsTestLineWidgetTest::freshWidget()
{
  qKOVAMarkupsTestLineWidget widget;
  widget.show();
  QVERIFY(QTest::qWaitForWindowExposed(&widget));
  QVERIFY(widget.isEnabled());
  QVERIFY(Section(widget));
  QVERIFY(!Section(widget)->isVisible());
  QCOMPARE(widget.kovaMarkupsNode(), static_cast<vtkKOVAMarkupsNode*>(nullptr));
  QCOMPARE(widget.className(), QString("qKOVAMarkupsTestLineWidget"));
  QCOMPARE(widget.property("className").toString(), QString("qKOVAMarkupsTestLineWidget"));
}

void qKOVAMarkupsTestLineWidgetTest::userInterface()
{
  qKOVAMarkupsTestLineWidget widget;
  QCOMPARE(widget.objectName(), QString("qKOVAMarkupsTestLineWidget"));
  QCOMPARE(widget.size(), QSize(431, 120));
  QCOMPARE(widget.windowTitle(), QString("Test Line Properties"));

  auto* verticalLayout = qobject_cast<QVBoxLayout*>(widget.layout());
  QVERIFY(verticalLayout);
  QCOMPARE(verticalLayout->objectName(), QString("verticalLayout"));
  QCOMPARE(verticalLayout->contentsMargins(), QMargins(0, 0, 0, 0));

  ctkCollapsibleButton* section = Section(widget);
  QVERIFY(section);
  QCOMPARE(section->parentWidget(), &widget);
  QCOMPARE(verticalLayout->count(), 1);
  QCOMPARE(verticalLayout->itemAt(0)->widget(), static_cast<QWidget*>(section));
  QCOMPARE(verticalLayout->stretch(0), 0);
  QCOMPARE(section->text(), QString("Test Line Settings"));
  QVERIFY(!section->isChecked());
  QVERIFY(section->collapsed());

  auto* grid = qobject_cast<QGridLayout*>(section->layout());
  QVERIFY(grid);
  QCOMPARE(grid->objectName(), QString("gridLayout_2"));
  const QMargins margins = grid->contentsMargins();
  QCOMPARE(margins.left(), 9);
  QCOMPARE(margins.right(), 9);

  QLabel* label = Label(widget);
  QVERIFY(label);
  QCOMPARE(label->parentWidget(), static_cast<QWidget*>(section));
  QCOMPARE(label->text(), QString("This is a test label in a test widget!"));
  int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
  grid->getItemPosition(grid->indexOf(label), &row, &column, &rowSpan, &columnSpan);
  QCOMPARE(row, 0);
  QCOMPARE(column, 0);
  QCOMPARE(rowSpan, 1);
  QCOMPARE(columnSpan, 1);
}

void qKOVAMarkupsTestLineWidgetTest::metaObject()
{
  const QMetaObject& meta = qKOVAMarkupsTestLineWidget::staticMetaObject;
  QCOMPARE(QString(meta.className()), QString("qKOVAMarkupsTestLineWidget"));
  QStringList slotNames, signalNames;
  for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
  {
    const QMetaMethod method = meta.method(i);
    if (method.methodType() == QMetaMethod::Slot)
    {
      slotNames << QString::fromLatin1(method.methodSignature());
    }
    else if (method.methodType() == QMetaMethod::Signal)
    {
      signalNames << QString::fromLatin1(method.methodSignature());
    }
  }
  QCOMPARE(slotNames, QStringList{ "setKOVAMarkupsNode(vtkKOVAMarkupsNode*)" });
  QVERIFY(signalNames.isEmpty());
  QCOMPARE(meta.propertyCount() - meta.propertyOffset(), 1);
  const QMetaProperty property = meta.property(meta.propertyOffset());
  QCOMPARE(QString(property.name()), QString("className"));
  QCOMPARE(QString(property.typeName()), QString("QString"));
  QVERIFY(property.isReadable());
  QVERIFY(!property.isWritable());
  QVERIFY(property.isConstant());
}

void qKOVAMarkupsTestLineWidgetTest::managesOnlyTestLines()
{
  qKOVAMarkupsTestLineWidget widget;
  vtkNew<vtkKOVAMarkupsLineNode> line;
  vtkNew<vtkKOVAMarkupsCurveNode> curve;
  vtkNew<vtkKOVAMarkupsTestLineNode> testLine;
  QVERIFY(!widget.canManageKOVAMarkupsNode(nullptr));
  QVERIFY(!widget.canManageKOVAMarkupsNode(line));
  QVERIFY(!widget.canManageKOVAMarkupsNode(curve));
  QVERIFY(widget.canManageKOVAMarkupsNode(testLine));
}

void qKOVAMarkupsTestLineWidgetTest::sectionHiddenForOtherMarkups()
{
  qKOVAMarkupsTestLineWidget widget;
  widget.show();
  QVERIFY(QTest::qWaitForWindowExposed(&widget));
  vtkNew<vtkKOVAMarkupsTestLineNode> testLine;
  widget.setKOVAMarkupsNode(testLine);
  widget.updateWidgetFromKOVA();
  QVERIFY(Section(widget)->isVisible());

  vtkNew<vtkKOVAMarkupsLineNode> line;
  widget.setKOVAMarkupsNode(line);
  // Enabled (a node was given) but no node stored: the refresh hides the section.
  QVERIFY(widget.isEnabled());
  widget.updateWidgetFromKOVA();
  QVERIFY(!Section(widget)->isVisible());
  // The base class's node was not set either.
  QCOMPARE(widget.kovaMarkupsNode(), static_cast<vtkKOVAMarkupsNode*>(nullptr));
}

void qKOVAMarkupsTestLineWidgetTest::nullNodeDisablesTheWidget()
{
  qKOVAMarkupsTestLineWidget widget;
  vtkNew<vtkKOVAMarkupsTestLineNode> testLine;
  widget.setKOVAMarkupsNode(testLine);
  QVERIFY(widget.isEnabled());
  widget.setKOVAMarkupsNode(nullptr);
  QVERIFY(!widget.isEnabled());
  widget.updateWidgetFromKOVA();
  QVERIFY(!Section(widget)->isVisibleTo(&widget));
  widget.setKOVAMarkupsNode(testLine);
  QVERIFY(widget.isEnabled());
}

void qKOVAMarkupsTestLineWidgetTest::testLineShowsTheFoldedSection()
{
  qKOVAMarkupsTestLineWidget widget;
  widget.show();
  QVERIFY(QTest::qWaitForWindowExposed(&widget));
  vtkNew<vtkKOVAMarkupsTestLineNode> testLine;

  // Setting the node does not refresh the widget.
  widget.setKOVAMarkupsNode(testLine);
  QVERIFY(!Section(widget)->isVisible());

  widget.updateWidgetFromKOVA();
  ctkCollapsibleButton* section = Section(widget);
  QVERIFY(section->isVisible());
  QVERIFY(section->collapsed());
  QCOMPARE(section->text(), QString("Test Line Settings"));
  QVERIFY(!Label(widget)->isVisible());

  // Clicking the header unfolds the section and shows the label.
  QTest::mouseClick(section, Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
  QVERIFY(!section->collapsed());
  QVERIFY(Label(widget)->isVisible());
  QCOMPARE(Label(widget)->text(), QString("This is a test label in a test widget!"));
}

void qKOVAMarkupsTestLineWidgetTest::deletedNodeHidesTheSection()
{
  qKOVAMarkupsTestLineWidget widget;
  auto testLine = vtkSmartPointer<vtkKOVAMarkupsTestLineNode>::New();
  widget.setKOVAMarkupsNode(testLine);
  widget.updateWidgetFromKOVA();
  QVERIFY(Section(widget)->isVisibleTo(&widget));
  testLine = nullptr;
  widget.updateWidgetFromKOVA();
  QVERIFY(!Section(widget)->isVisibleTo(&widget));
}

void qKOVAMarkupsTestLineWidgetTest::createInstance()
{
  qKOVAMarkupsTestLineWidget widget;
  vtkNew<vtkKOVAMarkupsTestLineNode> testLine;
  widget.setKOVAMarkupsNode(testLine);
  widget.updateWidgetFromKOVA();

  std::unique_ptr<qKOVAMarkupsAbstractOptionsWidget> instance(widget.createInstance());
  QVERIFY(instance);
  QVERIFY(instance.get() != &widget);
  QVERIFY(!instance->parent());
  QCOMPARE(instance->className(), QString("qKOVAMarkupsTestLineWidget"));
  QVERIFY(qobject_cast<qKOVAMarkupsTestLineWidget*>(instance.get()));
  QVERIFY(!Section(*instance)->isVisibleTo(instance.get()));
  // The instance has no node: its refresh keeps the section hidden.
  instance->updateWidgetFromKOVA();
  QVERIFY(!Section(*instance)->isVisibleTo(instance.get()));
}

void qKOVAMarkupsTestLineWidgetTest::textsAreTranslatedInTheClassContext()
{
  RecordingTranslator translator;
  QCoreApplication::installTranslator(&translator);
  qKOVAMarkupsTestLineWidget widget;
  QCoreApplication::removeTranslator(&translator);
  QCOMPARE(Section(widget)->text(), QString("Testlinien-Einstellungen"));
  QVERIFY(translator.Requests.contains("qKOVAMarkupsTestLineWidget|Test Line Properties"));
  QVERIFY(translator.Requests.contains("qKOVAMarkupsTestLineWidget|Test Line Settings"));
  QVERIFY(translator.Requests.contains(
    "qKOVAMarkupsTestLineWidget|This is a test label in a test widget!"));
  QCOMPARE(qKOVAMarkupsTestLineWidget::tr("Test Line Settings"), QString("Test Line Settings"));
}

QTEST_MAIN(qKOVAMarkupsTestLineWidgetTest)
#include "qKOVAMarkupsTestLineWidgetTest.moc"
