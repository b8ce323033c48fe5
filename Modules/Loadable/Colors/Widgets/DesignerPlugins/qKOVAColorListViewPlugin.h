// Qt Designer plug-in of qKOVAColorListView.
#ifndef qKOVAColorListViewPlugin_h
#define qKOVAColorListViewPlugin_h

#include "qVireonColorsModuleWidgetsAbstractPlugin.h"

#include <QObject>

class QVIREONCOLORSMODULEWIDGETSPLUGINS_EXPORT qKOVAColorListViewPlugin
  : public QObject
  , public qVireonColorsModuleWidgetsAbstractPlugin
{
  Q_OBJECT
public:
  explicit qKOVAColorListViewPlugin(QObject* parent = nullptr);

  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  QIcon icon() const override;
  QString includeFile() const override;
  bool isContainer() const override;
  QString name() const override;
};

#endif
