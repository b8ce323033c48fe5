#include "qVireonObject.h"

#include <vtkKOVAScene.h>
#include <vtkSmartPointer.h>

class qVireonObjectPrivate
{
public:
  vtkSmartPointer<vtkKOVAScene> Scene;
};

qVireonObject::qVireonObject()
  : d_ptr(new qVireonObjectPrivate)
{
}

qVireonObject::~qVireonObject() = default;

void qVireonObject::setKOVAScene(vtkKOVAScene* scene)
{
  Q_D(qVireonObject);
  d->Scene = scene;
}

vtkKOVAScene* qVireonObject::kovaScene() const
{
  Q_D(const qVireonObject);
  return d->Scene;
}
