// Qt Designer plug-in of qVireonTableColumnPropertiesWidget.
#ifndef qVireonTableColumnPropertiesWidgetPlugin_h
#define qVireonTableColumnPropertiesWidgetPlugin_h

#include "qVireonTablesModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONTABLESMODULEWIDGETSPLUGINS_EXPORT qVireonTableColumnPropertiesWidgetPlugin
  : public QObject
  , public qVireonTablesModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qVireonTableColumnPropertiesWidgetPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
