#ifndef qVireonAbstractModuleRepresentation_h
#define qVireonAbstractModuleRepresentation_h

#include "qVireonBaseQTCoreExport.h"

class qVireonAbstractCoreModule;

/// Base of a module's user-interface panel. The module creates it through
/// createWidgetRepresentation, sets itself as its module, calls setup() and owns it.
class QVIREONBASEQTCORE_EXPORT qVireonAbstractModuleRepresentation
{
public:
  qVireonAbstractModuleRepresentation();
  virtual ~qVireonAbstractModuleRepresentation();

  qVireonAbstractCoreModule* module() const;

protected:
  /// Builds the panel once its module is known.
  virtual void setup() {}

private:
  friend class qVireonAbstractCoreModule;
  qVireonAbstractCoreModule* Module = nullptr;

  qVireonAbstractModuleRepresentation(const qVireonAbstractModuleRepresentation&) = delete;
  void operator=(const qVireonAbstractModuleRepresentation&) = delete;
};

#endif
