#include <ctkCollapsibleButton.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

/// A collapsible button with a label below its header, in a shown window.
struct Section
{
  Section()
  {
    this->Window.resize(300, 400);
    auto* windowLayout = new QVBoxLayout(&this->Window);
    this->Button = new ctkCollapsibleButton(QStringLiteral("Settings"), &this->Window);
    auto* layout = new QVBoxLayout(this->Button);
    this->Label = new QLabel(QStringLiteral("contents"), this->Button);
    layout->addWidget(this->Label);
    windowLayout->addWidget(this->Button);
    windowLayout->addStretch(1);
  }
  QWidget Window;
  ctkCollapsibleButton* Button;
  QLabel* Label;
};

class ctkCollapsibleButtonTest : public QObject
{
  Q_OBJECT

private Q_SLOTS:
  void defaults();
  void collapsedIsTheOppositeOfChecked_data();
  void collapsedIsTheOppositeOfChecked();
  void collapsingFoldsTheContents();
  void onlyTheHeaderToggles();
  void explicitlyHiddenChildStaysHidden();
  void childrenAddedWhileCollapsedStayFolded();
};

void ctkCollapsibleButtonTest::defaults()
{
  ctkCollapsibleButton button(QStringLiteral("Title"));
  QVERIFY(button.isCheckable());
  QCOMPARE(button.property("checked").toBool(), true);
  QCOMPARE(button.property("collapsed").toBool(), false);
  QCOMPARE(button.property("text").toString(), QStringLiteral("Title"));
  button.setProperty("text", QStringLiteral("Other"));
  QCOMPARE(button.text(), QStringLiteral("Other"));
}

void ctkCollapsibleButtonTest::collapsedIsTheOppositeOfChecked_data()
{
  QTest::addColumn<QByteArray>("property");
  QTest::addColumn<bool>("value");
  QTest::addColumn<bool>("collapsed");
  QTest::newRow("checked false") << QByteArray("checked") << false << true;
  QTest::newRow("checked true") << QByteArray("checked") << true << false;
  QTest::newRow("collapsed true") << QByteArray("collapsed") << true << true;
  QTest::newRow("collapsed false") << QByteArray("collapsed") << false << false;
}

void ctkCollapsibleButtonTest::collapsedIsTheOppositeOfChecked()
{
  QFETCH(QByteArray, property);
  QFETCH(bool, value);
  QFETCH(bool, collapsed);
  ctkCollapsibleButton button;
  QSignalSpy spy(&button, &ctkCollapsibleButton::contentsCollapsed);
  QVERIFY(button.setProperty(property.constData(), value));
  QCOMPARE(button.collapsed(), collapsed);
  QCOMPARE(button.isChecked(), !collapsed);
  // Only a change is signalled.
  QCOMPARE(spy.count(), collapsed ? 1 : 0);
  if (collapsed)
  {
    QCOMPARE(spy.at(0).at(0).toBool(), true);
  }
}

void ctkCollapsibleButtonTest::collapsingFoldsTheContents()
{
  Section section;
  section.Window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&section.Window));
  QVERIFY(section.Label->isVisible());
  const int expandedHeight = section.Button->height();

  section.Button->setCollapsed(true);
  QVERIFY(!section.Label->isVisible());
  QTRY_VERIFY(section.Button->height() < expandedHeight);
  QVERIFY(section.Button->height() < section.Label->sizeHint().height() + expandedHeight / 2);
  QCOMPARE(section.Button->sizeHint().height(), section.Button->minimumSizeHint().height());

  section.Button->setCollapsed(false);
  QVERIFY(section.Label->isVisible());
  QTRY_COMPARE(section.Button->height(), expandedHeight);
  // The contents lie below the header.
  QVERIFY(section.Label->geometry().top() >= section.Button->contentsMargins().top());
  QVERIFY(section.Button->contentsMargins().top() > 0);
}

void ctkCollapsibleButtonTest::onlyTheHeaderToggles()
{
  Section section;
  section.Window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&section.Window));
  const QPoint header(section.Button->width() / 2, section.Button->contentsMargins().top() / 2);
  const QPoint contents(section.Button->width() / 2, section.Button->height() - 2);
  QVERIFY(section.Button->contentsMargins().top() < section.Button->height() - 2);

  QTest::mouseClick(section.Button, Qt::LeftButton, Qt::NoModifier, contents);
  QCOMPARE(section.Button->collapsed(), false);
  QTest::mouseClick(section.Button, Qt::LeftButton, Qt::NoModifier, header);
  QCOMPARE(section.Button->collapsed(), true);
  QVERIFY(!section.Label->isVisible());
  QTest::mouseClick(section.Button,
    Qt::LeftButton,
    Qt::NoModifier,
    QPoint(section.Button->width() / 2, section.Button->height() / 2));
  QCOMPARE(section.Button->collapsed(), false);
  QVERIFY(section.Label->isVisible());
}

void ctkCollapsibleButtonTest::explicitlyHiddenChildStaysHidden()
{
  Section section;
  auto* hidden = new QLabel(QStringLiteral("hidden"), section.Button);
  section.Button->layout()->addWidget(hidden);
  hidden->hide();
  section.Window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&section.Window));

  section.Button->setCollapsed(true);
  section.Button->setCollapsed(false);
  QVERIFY(section.Label->isVisible());
  QVERIFY(!hidden->isVisible());
}

void ctkCollapsibleButtonTest::childrenAddedWhileCollapsedStayFolded()
{
  // Built folded, as a form does: the children come after "checked" is set.
  QWidget window;
  auto* windowLayout = new QVBoxLayout(&window);
  auto* button = new ctkCollapsibleButton(&window);
  button->setProperty("checked", false);
  auto* layout = new QVBoxLayout(button);
  auto* label = new QLabel(QStringLiteral("contents"), button);
  layout->addWidget(label);
  windowLayout->addWidget(button);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QVERIFY(button->isVisible());
  QVERIFY(!label->isVisible());

  // Added while shown and folded.
  auto* late = new QLabel(QStringLiteral("late"), button);
  layout->addWidget(late);
  late->show();
  QTRY_VERIFY(!late->isVisible());

  button->setProperty("collapsed", false);
  QVERIFY(label->isVisible());
  QVERIFY(late->isVisible());
}

QTEST_MAIN(ctkCollapsibleButtonTest)
#include "ctkCollapsibleButtonTest.moc"
