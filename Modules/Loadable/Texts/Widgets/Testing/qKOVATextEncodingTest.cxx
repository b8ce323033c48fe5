#include <qKOVATextEncoding.h>

#include <QTest>

#include <vtkSystemIncludes.h>

#include <string>

class qKOVATextEncodingTest : public QObject
{
  Q_OBJECT

private Q_SLOTS:
  void decodesByTheEncodingLabel_data();
  void decodesByTheEncodingLabel();
};

void qKOVATextEncodingTest::decodesByTheEncodingLabel_data()
{
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<int>("encoding");
  QTest::addColumn<QString>("expected");
  const struct
  {
    const char* Name;
    QByteArray Bytes;
    int Encoding;
    const char* Expected;
  } rows[] = {
    // Parts spread over the range, so that a label read as its neighbour shows.
    { "ISO-8859-1", "\xe9\xa0\xbf", VTK_ENCODING_ISO_8859_1, u8"\u00e9\u00a0\u00bf" },
    { "ISO-8859-2", "\xb1\xe6\xb3", VTK_ENCODING_ISO_8859_2, u8"\u0105\u0107\u0142" },
    { "ISO-8859-5", "\xb0\xd0", VTK_ENCODING_ISO_8859_5, u8"\u0410\u0430" },
    { "ISO-8859-7", "\xc1\xe1", VTK_ENCODING_ISO_8859_7, u8"\u0391\u03b1" },
    { "ISO-8859-13", "\xc0\xe0", VTK_ENCODING_ISO_8859_13, u8"\u0104\u0105" },
    { "ISO-8859-15", "\xa4\xbd", VTK_ENCODING_ISO_8859_15, u8"\u20ac\u0153" },
    { "ISO-8859-16", "\xaa\xba", VTK_ENCODING_ISO_8859_16, u8"\u0218\u0219" },
    // Labels that give no better answer than UTF-8, and ISO-8859-12, which was never published.
    { "UTF-8", u8"\u00e9\u20ac", VTK_ENCODING_UTF_8, u8"\u00e9\u20ac" },
    { "US-ASCII", u8"\u00e9\u20ac", VTK_ENCODING_US_ASCII, u8"\u00e9\u20ac" },
    { "Unicode", u8"\u00e9\u20ac", VTK_ENCODING_UNICODE, u8"\u00e9\u20ac" },
    { "None", u8"\u00e9\u20ac", VTK_ENCODING_NONE, u8"\u00e9\u20ac" },
    { "Unknown", u8"\u00e9\u20ac", VTK_ENCODING_UNKNOWN, u8"\u00e9\u20ac" },
    { "ISO-8859-12", u8"\u00e9\u20ac", VTK_ENCODING_ISO_8859_12, u8"\u00e9\u20ac" },
    // Bytes with no character in the encoding.
    { "invalid UTF-8", "a\xff!", VTK_ENCODING_UTF_8, u8"a\ufffd!" },
    { "byte undefined in ISO-8859-3", "a\xa5!", VTK_ENCODING_ISO_8859_3, u8"a\ufffd!" },
  };
  for (const auto& row : rows)
  {
    QTest::newRow(row.Name) << row.Bytes << row.Encoding << QString::fromUtf8(row.Expected);
  }
  // Zero bytes are decoded like any other.
  QTest::newRow("zero byte") << QByteArray("\xe9\0\xe8", 3) << int(VTK_ENCODING_ISO_8859_1)
                             << QString::fromUtf8(u8"\u00e9") + QChar(0) +
                                  QString::fromUtf8(u8"\u00e8");
}

void qKOVATextEncodingTest::decodesByTheEncodingLabel()
{
  QFETCH(QByteArray, bytes);
  QFETCH(int, encoding);
  QFETCH(QString, expected);
  QCOMPARE(qKOVATextEncoding::toQString(bytes.toStdString(), encoding), expected);
}

QTEST_APPLESS_MAIN(qKOVATextEncodingTest)
#include "qKOVATextEncodingTest.moc"
