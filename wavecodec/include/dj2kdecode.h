// Registration of the JPEG 2000 decoders with DCMTK's codec list.
#ifndef DJ2KDECODE_H
#define DJ2KDECODE_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/ofstd/ofstring.h"

#include "dj2kutil.h"

class DJ2KCodecParameter;
class DJ2KLosslessDecoder;
class DJ2KDecoder;

// Switches the two JPEG 2000 decoders on and off; never instantiated.
class WAVECODEC_EXPORT DJ2KDecoderRegistration
{
public:
  // Registers both decoders with these settings; does nothing while registered.
  // threadCount: threads that decode the frames of one data set, 0 for one per processor
  // core, 1 to decode on the calling thread only.
  static void registerCodecs(J2K_UIDCreation uidCreation = EJ2KUC_default,
    J2K_PlanarConfiguration planarConfiguration = EJ2KPC_restore,
    OFBool ignoreOffsetTable = OFFalse,
    OFBool forceSingleFragmentPerFrame = OFFalse,
    Uint32 threadCount = 0);

  // Deregisters and deletes the decoders; does nothing while unregistered.
  static void cleanup();

  // "OpenJPEG, Version " followed by OpenJPEG's version.
  static OFString getLibraryVersionString();

private:
  DJ2KDecoderRegistration() = delete;

  static OFBool registered_;
  static DJ2KCodecParameter* cp_;
  static DJ2KLosslessDecoder* losslessDecoder_;
  static DJ2KDecoder* decoder_;
};

#endif
