// Conditions with a text of their own (internal to the library).
#ifndef DJ2KCOND_H
#define DJ2KCOND_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/ofstd/ofcond.h"
#include "dcmtk/ofstd/ofstring.h"

// A condition of the same module, code and status as kind (comparisons with kind hold) whose
// text is text.
OFCondition j2kCondition(const OFConditionConst& kind, const OFString& text);

// kind's own text followed by ": " and detail.
OFCondition j2kDetailedCondition(const OFConditionConst& kind, const OFString& detail);

#endif
