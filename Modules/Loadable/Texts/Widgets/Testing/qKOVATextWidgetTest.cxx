#include <qKOVATextWidget.h>

#include <vtkKOVAScene.h>
#include <vtkKOVASelectionNode.h>
#include <vtkKOVATestEventRecorder.h>
#include <vtkKOVATextNode.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTextEdit>

#include <vtkNew.h>
#include <vtkSmartPointer.h>
#include <vtkWeakPointer.h>

#include <memory>
#include <string>
#include <vector>

Q_DECLARE_METATYPE(vtkKOVANode*)

namespace
{
const char* const WarningToolTip = "The original text has been modified since editing was started";

/// The names of a class's own members of one kind, in declaration order.
QStringList OwnMethods(const QMetaObject& meta, QMetaMethod::MethodType type)
{
  QStringList names;
  for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
  {
    if (meta.method(i).methodType() == type)
    {
      names << QString::fromLatin1(meta.method(i).methodSignature());
    }
  }
  return names;
}

/// Types text into a widget key by key; characters outside ASCII come as key events that carry
/// only their text, as a keyboard layout sends them.
void TypeText(QWidget* widget, const QString& text)
{
  for (const QChar c : text)
  {
    if (c.unicode() < 0x80)
    {
      QTest::keyClick(widget, c.toLatin1());
      continue;
    }
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}
}

class qKOVATextWidgetTest : public QObject
{
  Q_OBJECT

private Q_SLOTS:
  void initTestCase();
  void init();
  void cleanup();

  void declaresItsInterfaceInOrder();
  void withoutNodeShowsNothingAndWritesNothing();
  void settingNodesObservesOnlyTheCurrentOne();
  void manualEditCancelRestoresTheNodeText();
  void manualEditSaveWritesUtf8();
  void nodeChangeDuringEditIsFlaggedOnSave_data();
  void nodeChangeDuringEditIsFlaggedOnSave();
  void anotherNodeEndsTheEditSilently();
  void autoSaveWritesEachKeystrokeKeepingTheCursor();
  void refillKeepsOrClampsTheCursor_data();
  void refillKeepsOrClampsTheCursor();
  void readOnlyWhileEditingWritesTheFieldAndKeepsEditing();
  void autoSaveWhileEditingEndsTheEdit();
  void markupLikeTextComesBackUnchanged_data();
  void markupLikeTextComesBackUnchanged();
  void uneditedNodeKeepsItsBytesAndEncoding_data();
  void uneditedNodeKeepsItsBytesAndEncoding();
  void editIsWrittenAsUtf8_data();
  void editIsWrittenAsUtf8();
  void editKeepsEveryUntouchedCharacter_data();
  void editKeepsEveryUntouchedCharacter();
  void wordWrapFollowsTheFieldMode();
  void sceneIsStoredAndRefreshes();
  void destroyedWidgetReleasesItsNode();

private:
  /// What a user does to a widget that shows Node, starting while not editing.
  struct Action
  {
    const char* Name;
    void (*Run)(qKOVATextWidgetTest& test);
  };
  static const std::vector<Action>& actionsThatLeaveNoEdit();

  QTextEdit* edit() const { return this->Widget->textEditWidget(); }
  QPushButton* button(const char* name) const
  {
    return this->Widget->findChild<QPushButton*>(QLatin1String(name));
  }
  /// Whether each of Edit, Cancel, Save is shown ("E", "C", "S" in that order, "-" if hidden).
  QString shownButtons() const
  {
    return QString(this->button("EditButton")->isVisible() ? "E" : "-") +
           (this->button("CancelButton")->isVisible() ? "C" : "-") +
           (this->button("SaveButton")->isVisible() ? "S" : "-");
  }
  bool saveWarningShown() const
  {
    QPushButton* save = this->button("SaveButton");
    const bool icon = !save->icon().isNull();
    const bool tip = save->toolTip() == QLatin1String(WarningToolTip);
    return icon && tip;
  }
  /// Puts the cursor at a position as a user would: Ctrl+Home, then Right arrow presses.
  void moveCursorTo(int position)
  {
    QTest::keyClick(this->edit(), Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < position; ++i)
    {
      QTest::keyClick(this->edit(), Qt::Key_Right);
    }
  }
  void clickEdit() { QTest::mouseClick(this->button("EditButton"), Qt::LeftButton); }
  void clickCancel() { QTest::mouseClick(this->button("CancelButton"), Qt::LeftButton); }
  void clickSave() { QTest::mouseClick(this->button("SaveButton"), Qt::LeftButton); }
  /// Records the widget's signals in emission order into Log.
  void recordSignals()
  {
    qKOVATextWidget* w = this->Widget.get();
    QStringList* log = &this->Log;
    connect(
      w, &qKOVATextWidget::updateWidgetFromKOVAFinished, [log]() { *log << "widgetUpdated"; });
    connect(w, &qKOVATextWidget::updateKOVAFromWidgetFinished, [log]() { *log << "nodeUpdated"; });
    connect(w,
      &qKOVATextWidget::readOnlyChanged,
      [log](bool on) { *log << QString("readOnlyChanged(%1)").arg(on); });
    connect(w,
      &qKOVATextWidget::autoSaveChanged,
      [log](bool on)
      {
        *log << QString("autoSaveChanged(%1)").arg(on);
        return true;
      });
    connect(w,
      &qKOVATextWidget::editingChanged,
      [log](bool on) { *log << QString("editingChanged(%1)").arg(on); });
  }

  /// Changes the node's text from outside the widget, keeping its encoding, and records it as
  /// the text the node must keep.
  void changeNodeElsewhere()
  {
    this->KeptText = this->Node->GetText() + this->Node->GetText();
    this->Node->SetText(this->KeptText);
  }

  std::unique_ptr<qKOVATextWidget> Widget;
  vtkSmartPointer<vtkKOVATextNode> Node;
  QStringList Log;
  /// The node's text as last set from outside the widget.
  std::string KeptText;
};

const std::vector<qKOVATextWidgetTest::Action>& qKOVATextWidgetTest::actionsThatLeaveNoEdit()
{
  static const std::vector<Action> actions = {
    { "read-only on", [](qKOVATextWidgetTest& t) { t.Widget->setReadOnly(true); } },
    { "read-only on and off",
      [](qKOVATextWidgetTest& t)
      {
        t.Widget->setReadOnly(true);
        t.Widget->setReadOnly(false);
      } },
    { "auto-save on", [](qKOVATextWidgetTest& t) { t.Widget->setAutoSave(true); } },
    { "auto-save on and off",
      [](qKOVATextWidgetTest& t)
      {
        t.Widget->setAutoSave(true);
        t.Widget->setAutoSave(false);
      } },
    { "Edit, Save",
      [](qKOVATextWidgetTest& t)
      {
        t.clickEdit();
        t.clickSave();
      } },
    { "Edit, read-only on and off, Save",
      [](qKOVATextWidgetTest& t)
      {
        t.clickEdit();
        t.Widget->setReadOnly(true);
        t.Widget->setReadOnly(false);
        t.clickSave();
      } },
    { "Edit, auto-save on",
      [](qKOVATextWidgetTest& t)
      {
        t.clickEdit();
        t.Widget->setAutoSave(true);
      } },
    { "Edit, type and delete it, Save",
      [](qKOVATextWidgetTest& t)
      {
        t.clickEdit();
        QTest::keyClick(t.edit(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(t.edit(), "xy");
        QTest::keyClick(t.edit(), Qt::Key_Backspace);
        QTest::keyClick(t.edit(), Qt::Key_Backspace);
        t.clickSave();
      } },
    { "Edit, type, Cancel, read-only on",
      [](qKOVATextWidgetTest& t)
      {
        t.clickEdit();
        QTest::keyClicks(t.edit(), "draft");
        t.clickCancel();
        t.Widget->setReadOnly(true);
      } },
    { "Edit, type, another node, this node again, read-only on",
      [](qKOVATextWidgetTest& t)
      {
        t.clickEdit();
        QTest::keyClicks(t.edit(), "draft");
        vtkNew<vtkKOVATextNode> other;
        other->SetText("Other");
        t.Widget->setKOVATextNode(other);
        t.Widget->setKOVATextNode(t.Node);
        t.Widget->setReadOnly(true);
      } },
    { "Edit, node changed elsewhere, Save",
      [](qKOVATextWidgetTest& t)
      {
        t.clickEdit();
        t.changeNodeElsewhere();
        t.clickSave();
      } },
    { "auto-save on, node changed elsewhere, auto-save off",
      [](qKOVATextWidgetTest& t)
      {
        t.Widget->setAutoSave(true);
        t.changeNodeElsewhere();
        t.Widget->setAutoSave(false);
      } },
    { "auto-save on, the field's text made bold",
      [](qKOVATextWidgetTest& t)
      {
        t.Widget->setAutoSave(true);
        t.edit()->selectAll();
        t.edit()->setFontWeight(QFont::Bold);
      } },
  };
  return actions;
}

//------------------------------------------------------------------------------
void qKOVATextWidgetTest::initTestCase()
{
  qRegisterMetaType<vtkKOVANode*>("vtkKOVANode*");
}

void qKOVATextWidgetTest::init()
{
  this->Log.clear();
  this->Node = vtkSmartPointer<vtkKOVATextNode>::New();
  this->Node->SetText("Hello", VTK_ENCODING_US_ASCII);
  this->Widget = std::make_unique<qKOVATextWidget>();
  this->Widget->show();
  QApplication::setActiveWindow(this->Widget.get());
  QVERIFY(QTest::qWaitForWindowActive(this->Widget.get()));
}

void qKOVATextWidgetTest::cleanup()
{
  this->Widget.reset();
  this->Node = nullptr;
}

//------------------------------------------------------------------------------
void qKOVATextWidgetTest::declaresItsInterfaceInOrder()
{
  const QMetaObject& meta = qKOVATextWidget::staticMetaObject;
  QCOMPARE(QString(meta.className()), QStringLiteral("qKOVATextWidget"));
  QCOMPARE(OwnMethods(meta, QMetaMethod::Signal),
    QStringList({ "updateWidgetFromKOVARequested()",
      "updateKOVAFromWidgetRequested()",
      "updateWidgetFromKOVAFinished()",
      "updateKOVAFromWidgetFinished()",
      "kovaNodeChanged(vtkKOVANode*)",
      "readOnlyChanged(bool)",
      "autoSaveChanged(bool)",
      "editingChanged(bool)" }));
  QCOMPARE(OwnMethods(meta, QMetaMethod::Slot),
    QStringList({ "setKOVAScene(vtkKOVAScene*)",
      "setReadOnly(bool)",
      "setAutoSave(bool)",
      "setWordWrap(bool)",
      "setKOVATextNode(vtkKOVATextNode*)",
      "setKOVANode(vtkKOVANode*)",
      "startEdits()",
      "cancelEdits()",
      "saveEdits()",
      "updateWidgetFromKOVA()",
      "updateKOVAFromWidget()",
      "onTextNodeContentsModified()",
      "onTextEditChanged()" }));
  QCOMPARE(OwnMethods(meta, QMetaMethod::Method),
    QStringList({ "kovaTextNode()", "kovaNode()", "textEditWidget()" }));
  QStringList properties;
  for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
  {
    properties << QString("%1%2")
                    .arg(meta.property(i).name())
                    .arg(meta.property(i).isWritable() ? "" : " (read-only)");
  }
  QCOMPARE(properties, QStringList({ "autoSave", "editing (read-only)", "readOnly", "wordWrap" }));

  QCOMPARE(this->Widget->windowTitle(), QStringLiteral("Text Properties"));
  QCOMPARE(this->button("EditButton")->text(), QStringLiteral("Edit"));
  QCOMPARE(this->button("CancelButton")->text(), QStringLiteral("Cancel"));
  QCOMPARE(this->button("SaveButton")->text(), QStringLiteral("Save"));
  QCOMPARE(this->edit()->objectName(), QStringLiteral("TextEdit"));
  QCOMPARE(this->edit()->font().family(), QStringLiteral("Courier"));
}

void qKOVATextWidgetTest::withoutNodeShowsNothingAndWritesNothing()
{
  QSignalSpy written(this->Widget.get(), &qKOVATextWidget::updateKOVAFromWidgetFinished);
  QVERIFY(!this->Widget->kovaTextNode());
  QVERIFY(this->edit()->toPlainText().isEmpty());
  QVERIFY(this->edit()->isReadOnly());
  QCOMPARE(this->shownButtons(), QStringLiteral("E--"));
  QVERIFY(!this->button("EditButton")->isEnabled());
  QVERIFY(!this->button("CancelButton")->isEnabled());
  QVERIFY(!this->button("SaveButton")->isEnabled());

  QTest::keyClicks(this->edit(), "typed");
  QVERIFY(this->edit()->toPlainText().isEmpty());
  QVERIFY(QMetaObject::invokeMethod(this->Widget.get(), "updateKOVAFromWidget"));
  this->Widget->saveEdits();
  this->Widget->setAutoSave(true);
  QCOMPARE(written.count(), 0);

  // A node shown and taken away again leaves the field empty.
  this->Widget->setAutoSave(false);
  this->Widget->setKOVATextNode(this->Node);
  QCOMPARE(this->edit()->toPlainText(), QStringLiteral("Hello"));
  QVERIFY(this->button("EditButton")->isEnabled());
  this->Widget->setKOVATextNode(nullptr);
  QVERIFY(this->edit()->toPlainText().isEmpty());
  QVERIFY(!this->button("EditButton")->isEnabled());
}

void qKOVATextWidgetTest::settingNodesObservesOnlyTheCurrentOne()
{
  QSignalSpy changed(this->Widget.get(), &qKOVATextWidget::kovaNodeChanged);
  this->Widget->setKOVATextNode(this->Node);
  QCOMPARE(changed.count(), 1);
  QCOMPARE(changed.at(0).at(0).value<vtkKOVANode*>(), this->Node.GetPointer());
  this->Widget->setKOVANode(this->Node);
  QCOMPARE(changed.count(), 1);
  QCOMPARE(this->Widget->kovaNode(), this->Node.GetPointer());
  vtkKOVATextNode* invoked = nullptr;
  QVERIFY(QMetaObject::invokeMethod(
    this->Widget.get(), "kovaTextNode", Q_RETURN_ARG(vtkKOVATextNode*, invoked)));
  QCOMPARE(invoked, this->Node.GetPointer());

  // The shown node's changes are followed, the previous node's are not.
  vtkNew<vtkKOVATextNode> other;
  other->SetText("Other");
  this->Widget->setKOVANode(other);
  QCOMPARE(changed.count(), 2);
  QCOMPARE(this->edit()->toPlainText(), QStringLiteral("Other"));
  this->Node->SetText("Changed elsewhere");
  QCOMPARE(this->edit()->toPlainText(), QStringLiteral("Other"));
  other->SetText("Other, changed");
  QCOMPARE(this->edit()->toPlainText(), QStringLiteral("Other, changed"));

  // A node that is no text node counts as none.
  vtkNew<vtkKOVASelectionNode> selection;
  this->Widget->setKOVANode(selection);
  QCOMPARE(changed.count(), 3);
  QVERIFY(!changed.at(2).at(0).value<vtkKOVANode*>());
  QVERIFY(!this->Widget->kovaNode());
  QVERIFY(this->edit()->toPlainText().isEmpty());
  QVERIFY(!other->HasObserver(vtkKOVATextNode::TextModifiedEvent));
}

void qKOVATextWidgetTest::manualEditCancelRestoresTheNodeText()
{
  this->Widget->setKOVATextNode(this->Node);
  QSignalSpy editing(this->Widget.get(), &qKOVATextWidget::editingChanged);
  QCOMPARE(this->shownButtons(), QStringLiteral("E--"));
  QVERIFY(this->edit()->isReadOnly());
  QTest::keyClicks(this->edit(), "ignored");
  QCOMPARE(this->edit()->toPlainText(), QStringLiteral("Hello"));

  this->clickEdit();
  QVERIFY(this->Widget->isEditing());
  QVERIFY(this->Widget->property("editing").toBool());
  QCOMPARE(editing.count(), 1);
  QCOMPARE(editing.at(0).at(0).toBool(), true);
  QTRY_VERIFY(this->edit()->hasFocus());
  QVERIFY(!this->edit()->isReadOnly());
  QCOMPARE(this->shownButtons(), QStringLiteral("-CS"));
  QVERIFY(this->button("CancelButton")->isEnabled());
  QVERIFY(this->button("SaveButton")->isEnabled());
  QVERIFY(!this->saveWarningShown());

  QTest::keyClick(this->edit(), Qt::Key_End);
  QTest::keyClicks(this->edit(), ", world");
  QCOMPARE(this->edit()->toPlainText(), QStringLiteral("Hello, world"));
  QCOMPARE(this->Node->GetText(), std::string("Hello"));

  this->clickCancel();
  QVERIFY(!this->Widget->isEditing());
  QCOMPARE(editing.count(), 2);
  QCOMPARE(editing.at(1).at(0).toBool(), false);
  QCOMPARE(this->edit()->toPlainText(), QStringLiteral("Hello"));
  QCOMPARE(this->Node->GetText(), std::string("Hello"));
  QCOMPARE(this->Node->GetEncoding(), VTK_ENCODING_US_ASCII);
  QCOMPARE(this->shownButtons(), QStringLiteral("E--"));
  QVERIFY(this->edit()->isReadOnly());
}

void qKOVATextWidgetTest::manualEditSaveWritesUtf8()
{
  // Text beyond the basic plane and a second line survive the round trip, too.
  this->Node->SetText(u8"Stra\u00dfe \U0001F600\nline two");
  this->Widget->setKOVATextNode(this->Node);
  QCOMPARE(this->edit()->toPlainText(), QString::fromUtf8(u8"Stra\u00dfe \U0001F600\nline two"));
  QSignalSpy written(this->Widget.get(), &qKOVATextWidget::updateKOVAFromWidgetFinished);
  vtkKOVATestEventRecorder textModified(this->Node, vtkKOVATextNode::TextModifiedEvent);

  this->clickEdit();
  QTest::keyClick(this->edit(), Qt::Key_End, Qt::ControlModifier);
  TypeText(this->edit(), QString::fromUtf8(u8" \u00e9t\u00e9 \u65e5\u672c"));
  QCOMPARE(textModified.Count(), 0);
  this->clickSave();

  QCOMPARE(this->Node->GetText(),
    std::string(u8"Stra\u00dfe \U0001F600\nline two \u00e9t\u00e9 \u65e5\u672c"));
  QCOMPARE(this->Node->GetEncoding(), VTK_ENCODING_UTF_8);
  QCOMPARE(std::string(this->Node->GetEncodingAsString()), std::string("UTF-8"));
  QCOMPARE(textModified.Count(), 1);
  QCOMPARE(written.count(), 1);
  QVERIFY(!this->Widget->isEditing());
  QCOMPARE(this->shownButtons(), QStringLiteral("E--"));
  QVERIFY(!this->saveWarningShown());
  QCOMPARE(this->edit()->toPlainText(),
    QString::fromUtf8(u8"Stra\u00dfe \U0001F600\nline two \u00e9t\u00e9 \u65e5\u672c"));
}

void qKOVATextWidgetTest::nodeChangeDuringEditIsFlaggedOnSave_data()
{
  QTest::addColumn<bool>("save");
  QTest::newRow("save overwrites the node") << true;
  QTest::newRow("cancel takes the node's text") << false;
}

void qKOVATextWidgetTest::nodeChangeDuringEditIsFlaggedOnSave()
{
  QFETCH(bool, save);
  this->Widget->setKOVATextNode(this->Node);
  this->clickEdit();
  QTest::keyClick(this->edit(), Qt::Key_End);
  QTest::keyClicks(this->edit(), " mine");
  QVERIFY(!this->saveWarningShown());

  this->Node->SetText("Theirs");
  QCOMPARE(this->edit()->toPlainText(), QStringLiteral("Hello mine"));
  QVERIFY(this->Widget->isEditing());
  QVERIFY(this->saveWarningShown());
  const QSize iconSize = this->button("SaveButton")->icon().availableSizes().value(0);
  QVERIFY(iconSize.width() <= 12 && iconSize.height() <= 12 && !iconSize.isEmpty());
  // Typing on keeps the warning.
  QTest::keyClicks(this->edit(), "!");
  QVERIFY(this->saveWarningShown());

  if (save)
  {
    this->clickSave();
    QCOMPARE(this->Node->GetText(), std::string("Hello mine!"));
  }
  else
  {
    this->clickCancel();
    QCOMPARE(this->Node->GetText(), std::string("Theirs"));
  }
  QCOMPARE(this->edit()->toPlainText(), QString::fromStdString(this->Node->GetText()));
  QVERIFY(!this->Widget->isEditing());
  QVERIFY(this->button("SaveButton")->icon().isNull());
  QVERIFY(this->button("SaveButton")->toolTip().isEmpty());
}

void qKOVATextWidgetTest::anotherNodeEndsTheEditSilently()
{
  this->Widget->setKOVATextNode(this->Node);
  this->clickEdit();
  QTest::keyClicks(this->edit(), "draft ");
  QSignalSpy editing(this->Widget.get(), &qKOVATextWidget::editingChanged);
  vtkNew<vtkKOVATextNode> other;
  other->SetText("Other");
  this->Widget->setKOVATextNode(other);
  QVERIFY(!this->Widget->isEditing());
  QCOMPARE(editing.count(), 0);
  QCOMPARE(this->edit()->toPlainText(), QStringLiteral("Other"));
  QCOMPARE(this->shownButtons(), QStringLiteral("E--"));
  QVERIFY(this->edit()->isReadOnly());
  QCOMPARE(this->Node->GetText(), std::string("Hello"));
}

void qKOVATextWidgetTest::autoSaveWritesEachKeystrokeKeepingTheCursor()
{
  this->Node->SetText("abc");
  this->Widget->setKOVATextNode(this->Node);
  QSignalSpy autoSave(this->Widget.get(), &qKOVATextWidget::autoSaveChanged);
  this->Widget->setProperty("autoSave", true);
  QVERIFY(this->Widget->isAutoSave());
  QCOMPARE(autoSave.count(), 1);
  QCOMPARE(autoSave.at(0).at(0).toBool(), true);
  QCOMPARE(this->shownButtons(), QStringLiteral("---"));
  QVERIFY(!this->edit()->isReadOnly());

  vtkKOVATestEventRecorder textModified(this->Node, vtkKOVATextNode::TextModifiedEvent);
  this->moveCursorTo(1);
  TypeText(this->edit(), "X");
  QCOMPARE(this->Node->GetText(), std::string("aXbc"));
  QCOMPARE(this->edit()->textCursor().position(), 2);
  TypeText(this->edit(), QString::fromUtf8(u8"\u00fc"));
  QCOMPARE(this->Node->GetText(), std::string(u8"aX\u00fcbc"));
  QCOMPARE(this->Node->GetEncoding(), VTK_ENCODING_UTF_8);
  QCOMPARE(this->edit()->textCursor().position(), 3);
  QVERIFY(!this->edit()->textCursor().hasSelection());
  QTest::keyClick(this->edit(), Qt::Key_Backspace);
  QCOMPARE(this->Node->GetText(), std::string("aXbc"));
  QCOMPARE(this->edit()->textCursor().position(), 2);
  QCOMPARE(textModified.Count(), 3);
  // Moving the cursor writes nothing.
  QTest::keyClick(this->edit(), Qt::Key_End);
  QCOMPARE(textModified.Count(), 3);
}

void qKOVATextWidgetTest::refillKeepsOrClampsTheCursor_data()
{
  QTest::addColumn<bool>("autoSave");
  QTest::addColumn<int>("position");
  QTest::addColumn<QString>("newText");
  QTest::addColumn<int>("expected");
  for (bool autoSave : { true, false })
  {
    const char* mode = autoSave ? "auto-save" : "viewing";
    QTest::addRow("%s, longer text keeps the cursor", mode) << autoSave << 3 << "abcdefgh" << 3;
    QTest::addRow("%s, shorter text puts it at the end", mode) << autoSave << 5 << "ab" << 2;
    QTest::addRow("%s, empty text", mode) << autoSave << 6 << "" << 0;
    QTest::addRow("%s, text as long as the position", mode) << autoSave << 4 << "wxyz" << 4;
  }
}

void qKOVATextWidgetTest::refillKeepsOrClampsTheCursor()
{
  QFETCH(bool, autoSave);
  QFETCH(int, position);
  QFETCH(QString, newText);
  QFETCH(int, expected);
  this->Node->SetText("abcdef");
  this->Widget->setKOVATextNode(this->Node);
  this->Widget->setAutoSave(autoSave);
  if (autoSave)
  {
    this->moveCursorTo(position);
  }
  else
  {
    // The read-only field takes the cursor from a mouse click only; place it directly.
    QTextCursor cursor = this->edit()->textCursor();
    cursor.setPosition(position);
    this->edit()->setTextCursor(cursor);
  }
  QCOMPARE(this->edit()->textCursor().position(), position);

  this->Node->SetText(newText.toStdString());
  QCOMPARE(this->edit()->toPlainText(), newText);
  QCOMPARE(this->edit()->textCursor().position(), expected);
  QVERIFY(!this->edit()->textCursor().hasSelection());
  QVERIFY(!this->saveWarningShown());
}

void qKOVATextWidgetTest::readOnlyWhileEditingWritesTheFieldAndKeepsEditing()
{
  this->Widget->setKOVATextNode(this->Node);
  this->clickEdit();
  QTest::keyClick(this->edit(), Qt::Key_End);
  QTest::keyClicks(this->edit(), " there");
  this->recordSignals();
  QStringList& log = this->Log;

  this->Widget->setReadOnly(true);
  // The node's text-modified event refreshes the widget before the write reports back.
  QCOMPARE(
    log, QStringList({ "widgetUpdated", "nodeUpdated", "readOnlyChanged(1)", "widgetUpdated" }));
  QCOMPARE(this->Node->GetText(), std::string("Hello there"));
  QVERIFY(this->Widget->isReadOnly());
  QVERIFY(this->Widget->isEditing());
  QCOMPARE(this->shownButtons(), QStringLiteral("---"));
  QVERIFY(this->edit()->isReadOnly());
  QTest::keyClicks(this->edit(), "x");
  QCOMPARE(this->edit()->toPlainText(), QStringLiteral("Hello there"));

  // Unchanged: nothing happens.
  log.clear();
  this->Widget->setReadOnly(true);
  QVERIFY(log.isEmpty());

  // Back to the edit in progress.
  this->Widget->setProperty("readOnly", false);
  QVERIFY(this->Widget->isEditing());
  QCOMPARE(this->shownButtons(), QStringLiteral("-CS"));
  QVERIFY(!this->edit()->isReadOnly());
}

void qKOVATextWidgetTest::autoSaveWhileEditingEndsTheEdit()
{
  this->Widget->setKOVATextNode(this->Node);
  this->clickEdit();
  QTest::keyClick(this->edit(), Qt::Key_End);
  QTest::keyClicks(this->edit(), "zz");
  this->recordSignals();
  QStringList& log = this->Log;

  this->Widget->setAutoSave(true);
  QCOMPARE(log,
    QStringList({ "editingChanged(0)",
      "widgetUpdated",
      "nodeUpdated",
      "autoSaveChanged(1)",
      "widgetUpdated" }));
  QVERIFY(!this->Widget->isEditing());
  QCOMPARE(this->Node->GetText(), std::string("Hellozz"));
  QCOMPARE(this->shownButtons(), QStringLiteral("---"));

  // Leaving auto-save goes back to viewing.
  this->Widget->setAutoSave(false);
  QCOMPARE(this->shownButtons(), QStringLiteral("E--"));
  QVERIFY(this->edit()->isReadOnly());
}

void qKOVATextWidgetTest::markupLikeTextComesBackUnchanged_data()
{
  QTest::addColumn<QString>("text");
  QTest::newRow("tag") << "<b>x</b>";
  QTest::newRow("entity") << "a &amp; b";
  QTest::newRow("escaped tag") << "a &lt;b&gt; c";
  QTest::newRow("document") << "<!DOCTYPE html><html><body><p>para</p></body></html>";
  QTest::newRow("leading blanks and lines") << "  <i>lead</i>\nsecond <br> line";
}

void qKOVATextWidgetTest::markupLikeTextComesBackUnchanged()
{
  QFETCH(QString, text);
  const std::string original = text.toStdString();
  this->Node->SetText(original);
  this->Widget->setKOVATextNode(this->Node);
  QCOMPARE(this->edit()->toPlainText(), text);

  // Save without changes.
  this->clickEdit();
  this->clickSave();
  QCOMPARE(this->Node->GetText(), original);

  // Save with a change at the end.
  this->clickEdit();
  QTest::keyClick(this->edit(), Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(this->edit(), "!");
  this->clickSave();
  QCOMPARE(this->Node->GetText(), original + "!");

  // Auto-save and read-only switches leave it unchanged, too.
  this->Node->SetText(original);
  this->Widget->setAutoSave(true);
  this->Widget->setReadOnly(true);
  this->Widget->setReadOnly(false);
  QCOMPARE(this->Node->GetText(), original);
}

void qKOVATextWidgetTest::uneditedNodeKeepsItsBytesAndEncoding_data()
{
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<int>("encoding");
  QTest::addColumn<int>("action");
  const struct
  {
    const char* Name;
    const char* Text;
    int Encoding;
  } nodes[] = {
    // Bytes that are not UTF-8, a no-break space (0xA0) among them.
    { "ISO-8859-1", "Caf\xe9 cr\xe8me, 5\xa0mg\r\n\xbfS\xed?", VTK_ENCODING_ISO_8859_1 },
    { "CRLF, lone CR and U+00A0", "first\r\nsecond\rthird 5\xc2\xa0mg\r\n", VTK_ENCODING_UTF_8 },
    { "ASCII labelled US-ASCII", "plain text", VTK_ENCODING_US_ASCII },
  };
  const std::vector<Action>& actions = actionsThatLeaveNoEdit();
  for (const auto& node : nodes)
  {
    for (std::size_t i = 0; i < actions.size(); ++i)
    {
      QTest::addRow("%s: %s", node.Name, actions[i].Name)
        << QByteArray(node.Text) << node.Encoding << static_cast<int>(i);
    }
  }
}

void qKOVATextWidgetTest::uneditedNodeKeepsItsBytesAndEncoding()
{
  QFETCH(QByteArray, text);
  QFETCH(int, encoding);
  QFETCH(int, action);
  this->Node->SetText(text.toStdString(), encoding);
  this->KeptText = this->Node->GetText();
  this->Widget->setKOVATextNode(this->Node);
  QSignalSpy written(this->Widget.get(), &qKOVATextWidget::updateKOVAFromWidgetFinished);

  actionsThatLeaveNoEdit()[action].Run(*this);

  QCOMPARE(
    QByteArray::fromStdString(this->Node->GetText()), QByteArray::fromStdString(this->KeptText));
  QCOMPARE(this->Node->GetEncoding(), encoding);
  QCOMPARE(written.count(), 0);
}

void qKOVATextWidgetTest::editIsWrittenAsUtf8_data()
{
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<int>("encoding");
  QTest::addColumn<int>("position");
  QTest::addColumn<int>("deleted");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QByteArray>("expected");
  // An edit writes the whole field as UTF-8; bytes with no character in the node's encoding are
  // shown and written as U+FFFD. Bytes and label agree.
  QTest::newRow("invalid UTF-8, typed at the end")
    << QByteArray("5\xa0mg") << int(VTK_ENCODING_UTF_8) << 4 << 0 << "!"
    << QByteArray("5\xef\xbf\xbdmg!");
  QTest::newRow("byte undefined in ISO-8859-3, typed at the end")
    << QByteArray("5\xa5mg") << int(VTK_ENCODING_ISO_8859_3) << 4 << 0 << "!"
    << QByteArray("5\xef\xbf\xbdmg!");
  // Plain text gives U+00A0 as a blank, too: replacing it by a blank is still an edit.
  QTest::newRow("U+00A0 replaced by a blank")
    << QByteArray("5\xc2\xa0mg") << int(VTK_ENCODING_UTF_8) << 2 << 1 << " " << QByteArray("5 mg");
}

void qKOVATextWidgetTest::editIsWrittenAsUtf8()
{
  QFETCH(QByteArray, text);
  QFETCH(int, encoding);
  QFETCH(int, position);
  QFETCH(int, deleted);
  QFETCH(QString, typed);
  QFETCH(QByteArray, expected);
  this->Node->SetText(text.toStdString(), encoding);
  this->Widget->setKOVATextNode(this->Node);
  this->clickEdit();
  this->moveCursorTo(position);
  for (int i = 0; i < deleted; ++i)
  {
    QTest::keyClick(this->edit(), Qt::Key_Backspace);
  }
  TypeText(this->edit(), typed);
  this->clickSave();
  QCOMPARE(QByteArray::fromStdString(this->Node->GetText()), expected);
  QCOMPARE(this->Node->GetEncoding(), VTK_ENCODING_UTF_8);
}

void qKOVATextWidgetTest::editKeepsEveryUntouchedCharacter_data()
{
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<int>("encoding");
  QTest::addColumn<QByteArray>("utf8");
  QTest::addColumn<bool>("autoSave");
  const struct
  {
    const char* Name;
    QByteArray Bytes;
    int Encoding;
    /// The characters the bytes stand for in the encoding.
    const char* Utf8;
  } nodes[] = {
    { "ISO-8859-1",
      "Caf\xe9 cr\xe8me, 5\xa0mg, \xbfS\xed?",
      VTK_ENCODING_ISO_8859_1,
      u8"Caf\u00e9 cr\u00e8me, 5\u00a0mg, \u00bfS\u00ed?" },
    { "ISO-8859-2",
      "Za\xbf\xf3\xb3\xe6 g\xea\xb6l\xb1 ja\xbc\xf1",
      VTK_ENCODING_ISO_8859_2,
      u8"Za\u017c\u00f3\u0142\u0107 g\u0119\u015bl\u0105 ja\u017a\u0144" },
    // The same bytes as ISO-8859-1 stand for other characters.
    { "ISO-8859-15",
      "5\xa4, \xbduvre, \xa6koda",
      VTK_ENCODING_ISO_8859_15,
      u8"5\u20ac, \u0153uvre, \u0160koda" },
    { "UTF-8",
      u8"Stra\u00dfe 5\u00a0mg \u65e5\u672c \U0001F600",
      VTK_ENCODING_UTF_8,
      u8"Stra\u00dfe 5\u00a0mg \u65e5\u672c \U0001F600" },
    { "US-ASCII holding UTF-8",
      u8"Sch\u00e4del \u2713",
      VTK_ENCODING_US_ASCII,
      u8"Sch\u00e4del \u2713" },
    { "ISO-8859-1 up to a zero byte",
      QByteArray("\xe9t\xe9\0hidden", 10),
      VTK_ENCODING_ISO_8859_1,
      u8"\u00e9t\u00e9" },
  };
  for (const auto& node : nodes)
  {
    for (const bool autoSave : { false, true })
    {
      QTest::addRow("%s, %s", node.Name, autoSave ? "auto-save keystroke" : "Edit, type, Save")
        << node.Bytes << node.Encoding << QByteArray(node.Utf8) << autoSave;
    }
  }
}

void qKOVATextWidgetTest::editKeepsEveryUntouchedCharacter()
{
  QFETCH(QByteArray, bytes);
  QFETCH(int, encoding);
  QFETCH(QByteArray, utf8);
  QFETCH(bool, autoSave);
  this->Node->SetText(bytes.toStdString(), encoding);
  this->Widget->setKOVATextNode(this->Node);
  // Raw text: plain text would give U+00A0 as a blank.
  const QString shown = QString::fromUtf8(utf8);
  QCOMPARE(this->edit()->document()->toRawText(), shown);

  if (autoSave)
  {
    this->Widget->setAutoSave(true);
  }
  else
  {
    this->clickEdit();
  }
  this->moveCursorTo(0);
  TypeText(this->edit(), "!");
  if (!autoSave)
  {
    this->clickSave();
  }

  QCOMPARE(QByteArray::fromStdString(this->Node->GetText()), "!" + utf8);
  QCOMPARE(this->Node->GetEncoding(), VTK_ENCODING_UTF_8);
  QCOMPARE(this->edit()->document()->toRawText(), "!" + shown);
}

void qKOVATextWidgetTest::wordWrapFollowsTheFieldMode()
{
  this->Widget->setWordWrap(false);
  QVERIFY(!this->Widget->wordWrap());
  QCOMPARE(this->edit()->wordWrapMode(), QTextOption::NoWrap);
  this->Widget->setProperty("wordWrap", true);
  QVERIFY(this->Widget->property("wordWrap").toBool());
  QCOMPARE(this->edit()->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
  // Any mode but NoWrap counts as wrapping.
  this->edit()->setWordWrapMode(QTextOption::WordWrap);
  QVERIFY(this->Widget->wordWrap());
}

void qKOVATextWidgetTest::sceneIsStoredAndRefreshes()
{
  QSignalSpy refreshed(this->Widget.get(), &qKOVATextWidget::updateWidgetFromKOVAFinished);
  vtkNew<vtkKOVAScene> scene;
  this->Widget->setKOVAScene(scene);
  QCOMPARE(this->Widget->kovaScene(), scene.GetPointer());
  QCOMPARE(refreshed.count(), 1);
}

void qKOVATextWidgetTest::destroyedWidgetReleasesItsNode()
{
  vtkWeakPointer<vtkKOVATextNode> weak;
  {
    vtkKOVATextNode* node = vtkKOVATextNode::New();
    weak = node;
    this->Widget->setKOVATextNode(node);
    node->Delete();
    QVERIFY(weak);
    this->Widget->setKOVATextNode(this->Node);
    QVERIFY(!weak);
  }
  this->Widget.reset();
  QVERIFY(!this->Node->HasObserver(vtkKOVATextNode::TextModifiedEvent));
  QCOMPARE(this->Node->GetReferenceCount(), 1);
  this->Node->SetText("after the widget");
}

QTEST_MAIN(qKOVATextWidgetTest)
#include "qKOVATextWidgetTest.moc"
