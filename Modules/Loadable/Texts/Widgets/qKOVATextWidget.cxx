#include "qKOVATextWidget.h"

#include "qKOVATextEncoding.h"
#include "ui_qKOVATextWidget.h"

#include <vtkKOVATextNode.h>

#include <QStyle>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <vtkSmartPointer.h>
#include <vtkSystemIncludes.h>

#include <string>

//------------------------------------------------------------------------------
class qKOVATextWidgetPrivate : public Ui_qKOVATextWidget
{
  Q_DECLARE_PUBLIC(qKOVATextWidget);

protected:
  qKOVATextWidget* const q_ptr;

public:
  explicit qKOVATextWidgetPrivate(qKOVATextWidget& object)
    : q_ptr(&object)
  {
  }

  vtkSmartPointer<vtkKOVATextNode> TextNode;
  /// The node's text changed since the field was last filled from it.
  bool TextNodeContentsModified = false;
  /// A manual edit is in progress.
  bool Editing = false;
  /// The field's raw text (QTextDocument::toRawText) when it was last filled from or written to
  /// the node. The field holds an edit exactly when its text differs from this.
  QString UneditedText;

  bool hasEdit() const { return this->TextEdit->document()->toRawText() != this->UneditedText; }
  /// The field's plain text with its no-break spaces, which plain text gives as blanks.
  QString fieldText() const;
};

QString qKOVATextWidgetPrivate::fieldText() const
{
  QString text = this->TextEdit->toPlainText();
  // Plain text is the raw text with some characters replaced one for one.
  const QString raw = this->TextEdit->document()->toRawText();
  if (raw.size() == text.size())
  {
    for (int i = 0; i < raw.size(); ++i)
    {
      if (raw.at(i) == QChar::Nbsp)
      {
        text[i] = QChar::Nbsp;
      }
    }
  }
  return text;
}

//------------------------------------------------------------------------------
qKOVATextWidget::qKOVATextWidget(QWidget* parent)
  : Superclass(parent)
  , d_ptr(new qKOVATextWidgetPrivate(*this))
  , AutoSave(false)
  , ReadOnly(false)
{
  this->setup();
}

qKOVATextWidget::~qKOVATextWidget()
{
  this->setKOVATextNode(nullptr);
}

//------------------------------------------------------------------------------
void qKOVATextWidget::setup()
{
  Q_D(qKOVATextWidget);
  d->setupUi(this);
  connect(d->TextEdit, &QTextEdit::textChanged, this, &qKOVATextWidget::onTextEditChanged);
  connect(d->EditButton, &QPushButton::clicked, this, &qKOVATextWidget::startEdits);
  connect(d->CancelButton, &QPushButton::clicked, this, &qKOVATextWidget::cancelEdits);
  connect(d->SaveButton, &QPushButton::clicked, this, &qKOVATextWidget::saveEdits);
  connect(this,
    &qKOVATextWidget::updateWidgetFromKOVARequested,
    this,
    &qKOVATextWidget::updateWidgetFromKOVA);
  connect(this,
    &qKOVATextWidget::updateKOVAFromWidgetRequested,
    this,
    &qKOVATextWidget::updateKOVAFromWidget);
  emit this->updateWidgetFromKOVARequested();
}

//------------------------------------------------------------------------------
void qKOVATextWidget::setKOVAScene(vtkKOVAScene* scene)
{
  this->Superclass::setKOVAScene(scene);
  emit this->updateWidgetFromKOVARequested();
}

void qKOVATextWidget::setKOVANode(vtkKOVANode* node)
{
  this->setKOVATextNode(vtkKOVATextNode::SafeDownCast(node));
}

void qKOVATextWidget::setKOVATextNode(vtkKOVATextNode* node)
{
  Q_D(qKOVATextWidget);
  if (d->TextNode == node)
  {
    return;
  }
  this->qvtkReconnect(d->TextNode,
    node,
    vtkKOVATextNode::TextModifiedEvent,
    this,
    SLOT(onTextNodeContentsModified()),
    0.0f,
    Qt::AutoConnection);
  d->TextNode = node;
  d->Editing = false;
  emit this->updateWidgetFromKOVARequested();
  emit this->kovaNodeChanged(node);
}

vtkKOVATextNode* qKOVATextWidget::kovaTextNode() const
{
  Q_D(const qKOVATextWidget);
  return d->TextNode;
}

vtkKOVANode* qKOVATextWidget::kovaNode() const
{
  Q_D(const qKOVATextWidget);
  return d->TextNode;
}

QTextEdit* qKOVATextWidget::textEditWidget()
{
  Q_D(qKOVATextWidget);
  return d->TextEdit;
}

//------------------------------------------------------------------------------
bool qKOVATextWidget::isEditing() const
{
  Q_D(const qKOVATextWidget);
  return d->Editing;
}

bool qKOVATextWidget::isAutoSave() const
{
  return this->AutoSave;
}

bool qKOVATextWidget::isReadOnly() const
{
  return this->ReadOnly;
}

bool qKOVATextWidget::wordWrap() const
{
  Q_D(const qKOVATextWidget);
  return d->TextEdit->wordWrapMode() != QTextOption::NoWrap;
}

void qKOVATextWidget::setWordWrap(bool wordWrap)
{
  Q_D(qKOVATextWidget);
  d->TextEdit->setWordWrapMode(
    wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
}

void qKOVATextWidget::setReadOnly(bool readOnly)
{
  if (this->ReadOnly == readOnly)
  {
    return;
  }
  this->ReadOnly = readOnly;
  emit this->updateKOVAFromWidgetRequested();
  emit this->readOnlyChanged(readOnly);
  emit this->updateWidgetFromKOVARequested();
}

void qKOVATextWidget::setAutoSave(bool autoSave)
{
  Q_D(qKOVATextWidget);
  if (this->AutoSave == autoSave)
  {
    return;
  }
  this->AutoSave = autoSave;
  if (autoSave && d->Editing)
  {
    d->Editing = false;
    emit this->editingChanged(false);
  }
  emit this->updateKOVAFromWidgetRequested();
  emit this->autoSaveChanged(autoSave);
  emit this->updateWidgetFromKOVARequested();
}

//------------------------------------------------------------------------------
void qKOVATextWidget::startEdits()
{
  Q_D(qKOVATextWidget);
  d->TextEdit->setFocus(Qt::OtherFocusReason);
  if (!d->Editing)
  {
    d->Editing = true;
    emit this->editingChanged(true);
  }
  emit this->updateWidgetFromKOVARequested();
}

void qKOVATextWidget::cancelEdits()
{
  Q_D(qKOVATextWidget);
  if (d->Editing)
  {
    d->Editing = false;
    emit this->editingChanged(false);
  }
  emit this->updateWidgetFromKOVARequested();
}

void qKOVATextWidget::saveEdits()
{
  Q_D(qKOVATextWidget);
  emit this->updateKOVAFromWidgetRequested();
  if (d->Editing)
  {
    d->Editing = false;
    emit this->editingChanged(false);
  }
  emit this->updateWidgetFromKOVARequested();
}

//------------------------------------------------------------------------------
void qKOVATextWidget::updateWidgetFromKOVA()
{
  Q_D(qKOVATextWidget);

  bool fillFromNode = true;
  if (this->ReadOnly)
  {
    d->TextEdit->setReadOnly(true);
    d->EditButton->setVisible(false);
    d->CancelButton->setVisible(false);
    d->SaveButton->setVisible(false);
  }
  else if (this->AutoSave)
  {
    d->TextEdit->setReadOnly(false);
    d->EditButton->setVisible(false);
    d->CancelButton->setVisible(false);
    d->SaveButton->setVisible(false);
  }
  else if (d->Editing)
  {
    d->TextEdit->setReadOnly(false);
    d->EditButton->setVisible(false);
    d->CancelButton->setVisible(true);
    d->SaveButton->setVisible(true);
    fillFromNode = false;
  }
  else
  {
    d->TextEdit->setReadOnly(true);
    d->EditButton->setVisible(true);
    d->CancelButton->setVisible(false);
    d->SaveButton->setVisible(false);
  }
  d->EditButton->setEnabled(!d->Editing);
  d->CancelButton->setEnabled(d->Editing);
  d->SaveButton->setEnabled(d->Editing);

  // Refilling the field is not a user edit.
  const bool wasBlocked = d->TextEdit->blockSignals(true);
  if (!d->TextNode)
  {
    d->TextEdit->setReadOnly(true);
    d->TextEdit->clear();
    d->UneditedText.clear();
    d->TextNodeContentsModified = false;
    d->EditButton->setEnabled(false);
    d->CancelButton->setEnabled(false);
    d->SaveButton->setEnabled(false);
  }
  else if (fillFromNode)
  {
    const int position = d->TextEdit->textCursor().position();
    // The node's text, read up to its first zero byte and decoded by its encoding label. It is
    // plain text: markup-like content ("<b>x</b>", "a &lt; b") is shown as typed and saved back
    // unchanged.
    const QString text = qKOVATextEncoding::toQString(
      std::string(d->TextNode->GetText().c_str()), d->TextNode->GetEncoding());
    if (d->fieldText() != text)
    {
      d->TextEdit->setPlainText(text);
    }
    d->UneditedText = d->TextEdit->document()->toRawText();
    d->TextNodeContentsModified = false;
    QTextCursor cursor = d->TextEdit->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.setPosition(qMin(position, cursor.position()));
    d->TextEdit->setTextCursor(cursor);
  }
  d->TextEdit->blockSignals(wasBlocked);

  if (d->TextNodeContentsModified)
  {
    d->SaveButton->setToolTip(tr("The original text has been modified since editing was started"));
    d->SaveButton->setIcon(
      QIcon(this->style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(QSize(12, 12))));
  }
  else
  {
    d->SaveButton->setToolTip(QString());
    d->SaveButton->setIcon(QIcon());
  }

  emit this->updateWidgetFromKOVAFinished();
}

void qKOVATextWidget::updateKOVAFromWidget()
{
  Q_D(qKOVATextWidget);
  // Keeps the node alive should a slot run from its event set another node.
  const vtkSmartPointer<vtkKOVATextNode> node = d->TextNode;
  // Only an edit is written: the field holds the node's text decoded (bytes invalid in its
  // encoding as U+FFFD, line ends as LF), so writing an unedited field back as UTF-8 would change
  // the node's bytes and encoding.
  if (!node || !d->hasEdit())
  {
    return;
  }
  d->UneditedText = d->TextEdit->document()->toRawText();
  const QByteArray utf8 = d->fieldText().toUtf8();
  // Cut at the first zero byte, as the node's text is read back.
  const std::string text(utf8.constData());
  node->SetText(text, VTK_ENCODING_UTF_8);
  emit this->updateKOVAFromWidgetFinished();
}

void qKOVATextWidget::onTextNodeContentsModified()
{
  Q_D(qKOVATextWidget);
  d->TextNodeContentsModified = true;
  emit this->updateWidgetFromKOVARequested();
}

void qKOVATextWidget::onTextEditChanged()
{
  Q_D(qKOVATextWidget);
  if (d->TextNode && this->AutoSave)
  {
    emit this->updateKOVAFromWidgetRequested();
  }
}
