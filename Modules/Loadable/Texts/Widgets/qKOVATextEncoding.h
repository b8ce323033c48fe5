#ifndef qKOVATextEncoding_h
#define qKOVATextEncoding_h

#include "qVireonTextsModuleWidgetsExport.h"

#include <QString>

#include <string>

/// Reading a text node's bytes by the node's encoding label.
namespace qKOVATextEncoding
{
/// \a text decoded by \a encoding (a VTK_ENCODING_* value): ISO-8859-1 ... ISO-8859-16 through
/// Qt's codec of that name, UTF-8 for every other label (UTF-8, US-ASCII, Unicode, none, unknown)
/// and for an ISO-8859 part Qt has no codec for (ISO-8859-12, never published; ISO-8859-11 in Qt
/// builds without it). Bytes that are not valid in the encoding become U+FFFD. The whole string
/// is decoded, zero bytes included.
QVIREONTEXTSMODULEWIDGETS_EXPORT QString toQString(const std::string& text, int encoding);
}

#endif
