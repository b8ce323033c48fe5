#ifndef qVireonNotAModuleTestPlugin_h
#define qVireonNotAModuleTestPlugin_h

#include <QObject>

/// A plug-in that claims the loadable module interface but is a plain QObject.
class qVireonNotAModuleTestPlugin : public QObject
{
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.vireon.modules.loadable.qVireonLoadableModule/1.0")

public:
  using QObject::QObject;
};

#endif
