#include "qVireonAbstractModuleRepresentation.h"

qVireonAbstractModuleRepresentation::qVireonAbstractModuleRepresentation() = default;

qVireonAbstractModuleRepresentation::~qVireonAbstractModuleRepresentation() = default;

qVireonAbstractCoreModule* qVireonAbstractModuleRepresentation::module() const
{
  return this->Module;
}
