#ifndef qKOVATextWidget_h
#define qKOVATextWidget_h

#include "qVireonTextsModuleWidgetsExport.h"

#include <qVireonWidget.h>

#include <QScopedPointer>

class QTextEdit;
class vtkKOVANode;
class vtkKOVAScene;
class vtkKOVATextNode;
class qKOVATextWidgetPrivate;

/// Shows and edits the text of a text node.
///
/// Three ways of working: read-only (the text is shown, not editable), auto-save (every change
/// in the field is written to the node at once) and manual editing (read-only until Edit; Save
/// writes the field to the node, Cancel throws the changes away). While editing manually the
/// widget keeps watching the node; if the node's text changes meanwhile, the Save button shows
/// a warning, and Save then overwrites the node's text with the edited one.
///
/// The node's text is shown as plain text decoded by the node's encoding label (see
/// qKOVATextEncoding::toQString). Only an edit is written back, as UTF-8 (encoding
/// VTK_ENCODING_UTF_8), so the characters the user left untouched keep their meaning; Save, or
/// switching read-only or auto-save, without a change in the field leaves the node's bytes and
/// encoding as they are.
class QVIREONTEXTSMODULEWIDGETS_EXPORT qKOVATextWidget : public qVireonWidget
{
  Q_OBJECT
  Q_PROPERTY(bool autoSave READ isAutoSave WRITE setAutoSave)
  Q_PROPERTY(bool editing READ isEditing)
  Q_PROPERTY(bool readOnly READ isReadOnly WRITE setReadOnly)
  Q_PROPERTY(bool wordWrap READ wordWrap WRITE setWordWrap)

public:
  typedef qVireonWidget Superclass;
  explicit qKOVATextWidget(QWidget* parent = nullptr);
  ~qKOVATextWidget() override;

  Q_INVOKABLE vtkKOVATextNode* kovaTextNode() const;
  Q_INVOKABLE vtkKOVANode* kovaNode() const;
  Q_INVOKABLE QTextEdit* textEditWidget();

  bool isEditing() const;
  bool isAutoSave() const;
  bool isReadOnly() const;
  /// True unless the field's word wrap mode is QTextOption::NoWrap.
  bool wordWrap() const;

Q_SIGNALS:
  void updateWidgetFromKOVARequested();
  void updateKOVAFromWidgetRequested();
  void updateWidgetFromKOVAFinished();
  void updateKOVAFromWidgetFinished();
  void kovaNodeChanged(vtkKOVANode* node);
  void readOnlyChanged(bool readOnly);
  bool autoSaveChanged(bool autoSave);
  void editingChanged(bool editing);

public Q_SLOTS:
  void setKOVAScene(vtkKOVAScene* scene) override;
  /// Writes an edit in the field to the node and refreshes; editing is left as it is.
  void setReadOnly(bool readOnly);
  /// Writes an edit in the field to the node and refreshes; switching auto-save on ends a
  /// manual edit.
  void setAutoSave(bool autoSave);
  void setWordWrap(bool wordWrap);
  /// Shows and observes \a textNode (holding a reference); ends a manual edit without
  /// emitting editingChanged.
  void setKOVATextNode(vtkKOVATextNode* textNode);
  /// setKOVATextNode with \a textNode if it is a text node, else with null.
  void setKOVANode(vtkKOVANode* textNode);
  void startEdits();
  void cancelEdits();
  void saveEdits();

protected Q_SLOTS:
  /// Shows the node: the only place that changes what the widget shows.
  void updateWidgetFromKOVA();
  /// Writes the field's plain text (no-break spaces kept) to the node, as UTF-8, if it holds an
  /// edit: a text that differs from the one last filled from or written to the node. Otherwise
  /// nothing is emitted.
  void updateKOVAFromWidget();
  void onTextNodeContentsModified();
  void onTextEditChanged();

protected:
  /// Builds the user interface and connects it; called by the constructor.
  virtual void setup();

  QScopedPointer<qKOVATextWidgetPrivate> d_ptr;

  bool AutoSave;
  bool ReadOnly;

private:
  Q_DECLARE_PRIVATE(qKOVATextWidget);
  Q_DISABLE_COPY(qKOVATextWidget);
};

#endif
