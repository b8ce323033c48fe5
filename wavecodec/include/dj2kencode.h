// Registration of the JPEG 2000 encoders with DCMTK's codec list.
#ifndef DJ2KENCODE_H
#define DJ2KENCODE_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/ofstd/ofstring.h"

#include "dj2kutil.h"

class DJ2KCodecParameter;
class DJ2KLosslessEncoder;
class DJ2KEncoder;

// Switches the two JPEG 2000 encoders on and off; never instantiated.
class WAVECODEC_EXPORT DJ2KEncoderRegistration
{
public:
  // Registers both encoders with the given settings; does nothing while registered.
  // fragmentSize: maximum fragment size in kBytes, 0 for one fragment per frame.
  // refuseHighBits: refuse images with sample bits set above Bits Stored instead of encoding
  // only their Bits Stored bits.
  // threadCount: threads that encode the frames of one data set, 0 for one per processor
  // core, 1 to encode on the calling thread only.
  static void registerCodecs(OFBool createOffsetTable = OFTrue,
    Uint32 fragmentSize = 0,
    J2K_UIDCreation uidCreation = EJ2KUC_default,
    OFBool convertToSC = OFFalse,
    OFBool refuseHighBits = OFFalse,
    Uint32 threadCount = 0);
  // A number in the place of refuseHighBits is a thread count given one argument too early,
  // which would silently turn the refusal on: it does not compile.
  static void registerCodecs(OFBool createOffsetTable,
    Uint32 fragmentSize,
    J2K_UIDCreation uidCreation,
    OFBool convertToSC,
    Uint32 refuseHighBits) = delete;

  // Deregisters and deletes both encoders and their parameter; does nothing when not registered.
  static void cleanup();

  // "OpenJPEG, Version " followed by OpenJPEG's version text.
  static OFString getLibraryVersionString();

private:
  DJ2KEncoderRegistration() = delete;

  static OFBool registered_;
  static DJ2KCodecParameter* cp_;
  static DJ2KLosslessEncoder* losslessEncoder_;
  static DJ2KEncoder* encoder_;
};

#endif
