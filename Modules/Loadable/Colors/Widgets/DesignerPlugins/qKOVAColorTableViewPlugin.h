// Qt Designer plug-in of qKOVAColorTableView.
#ifndef qKOVAColorTableViewPlugin_h
#define qKOVAColorTableViewPlugin_h

#include "qVireonColorsModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONCOLORSMODULEWIDGETSPLUGINS_EXPORT qKOVAColorTableViewPlugin
  : public QObject
  , public qVireonColorsModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVAColorTableViewPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QIcon icon() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
