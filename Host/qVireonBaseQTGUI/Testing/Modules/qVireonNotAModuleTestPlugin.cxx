#include "qVireonNotAModuleTestPlugin.h"
