#ifndef qVireonAbstractModule_h
#define qVireonAbstractModule_h

#include "qVireonBaseQTGUIExport.h"

#include <qVireonAbstractCoreModule.h>

#include <QIcon>
#include <QImage>

/// A module of the graphical application: adds the icon and logo to the core module.
class QVIREONBASEQTGUI_EXPORT qVireonAbstractModule : public qVireonAbstractCoreModule
{
  Q_OBJECT
  Q_PROPERTY(QIcon icon READ icon)

public:
  explicit qVireonAbstractModule(QObject* parent = nullptr);
  ~qVireonAbstractModule() override;

  /// Default: an empty icon.
  virtual QIcon icon() const;
  /// Default: a null image.
  virtual QImage logo() const;

private:
  Q_DISABLE_COPY(qVireonAbstractModule);
};

#endif
