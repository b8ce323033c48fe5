#include "qKOVATextEncoding.h"

#include <QByteArray>
#include <QTextCodec>

#include <vtkSystemIncludes.h>

QString qKOVATextEncoding::toQString(const std::string& text, int encoding)
{
  QTextCodec* codec = nullptr;
  if (encoding >= VTK_ENCODING_ISO_8859_1 && encoding <= VTK_ENCODING_ISO_8859_16)
  {
    // Only the ISO-8859 parts go through Qt's codecs: Qt's "US-ASCII" would turn text labelled
    // US-ASCII but holding UTF-8 into U+FFFD, and its "unicode" is UTF-16.
    const int part = encoding - VTK_ENCODING_ISO_8859_1 + 1;
    codec = QTextCodec::codecForName("ISO-8859-" + QByteArray::number(part));
  }
  if (!codec)
  {
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
  }
  return codec->toUnicode(text.data(), static_cast<int>(text.size()));
}
