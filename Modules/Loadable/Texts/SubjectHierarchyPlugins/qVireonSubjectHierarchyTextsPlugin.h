#ifndef qVireonSubjectHierarchyTextsPlugin_h
#define qVireonSubjectHierarchyTextsPlugin_h

#include "qVireonTextsSubjectHierarchyPluginsExport.h"

#include <qVireonSubjectHierarchyAbstractPlugin.h>

#include <QScopedPointer>

class qVireonSubjectHierarchyTextsPluginPrivate;

/// Subject hierarchy plug-in for text nodes: owns them, gives them the text icon and adds the
/// text's encoding and the text itself to their tool tip.
class QVIREONTEXTSSUBJECTHIERARCHYPLUGINS_EXPORT qVireonSubjectHierarchyTextsPlugin
  : public qVireonSubjectHierarchyAbstractPlugin
{
  Q_OBJECT

public:
  typedef qVireonSubjectHierarchyAbstractPlugin Superclass;
  explicit qVireonSubjectHierarchyTextsPlugin(QObject* parent = nullptr);
  ~qVireonSubjectHierarchyTextsPlugin() override;

  /// 0.5 for text nodes (and their subclasses), 0.0 otherwise.
  double canOwnSubjectHierarchyItem(vtkIdType itemID) const override;
  /// "Text".
  Q_INVOKABLE QString roleForPlugin() const override;
  /// The text icon for owned items, an empty icon otherwise.
  QIcon icon(vtkIdType itemID) override;
  /// The framework's tool tip; for text nodes followed by " (Encoding: <name>)", a line break and
  /// the whole text.
  QString tooltip(vtkIdType itemID) const override;
  /// 0.5 for text nodes (and their subclasses), 0.0 otherwise.
  double canAddNodeToSubjectHierarchy(vtkKOVANode* node, vtkIdType parentItemID = 0) const override;

protected:
  QScopedPointer<qVireonSubjectHierarchyTextsPluginPrivate> d_ptr;

private:
  Q_DECLARE_PRIVATE(qVireonSubjectHierarchyTextsPlugin)
  Q_DISABLE_COPY(qVireonSubjectHierarchyTextsPlugin)
};

#endif
