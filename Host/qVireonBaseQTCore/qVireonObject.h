#ifndef qVireonObject_h
#define qVireonObject_h

#include "qVireonBaseQTCoreExport.h"

#include <QScopedPointer>

class vtkKOVAScene;
class qVireonObjectPrivate;

/// Scene support for the host's Qt objects; widgets and plug-ins derive from it virtually.
class QVIREONBASEQTCORE_EXPORT qVireonObject
{
public:
  qVireonObject();
  virtual ~qVireonObject();

  /// Stores the scene (holding a reference to it); null clears it.
  virtual void setKOVAScene(vtkKOVAScene* scene);
  vtkKOVAScene* kovaScene() const;

private:
  QScopedPointer<qVireonObjectPrivate> d_ptr;
  Q_DECLARE_PRIVATE(qVireonObject);
  Q_DISABLE_COPY(qVireonObject);
};

#endif
