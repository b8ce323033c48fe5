#include "dj2kdecode.h"

#include "dj2kcodecd.h"
#include "dj2kcparam.h"

#include "dcmtk/dcmdata/dccodec.h"

#include <openjpeg.h>

OFBool DJ2KDecoderRegistration::registered_ = OFFalse;
DJ2KCodecParameter* DJ2KDecoderRegistration::cp_ = nullptr;
DJ2KLosslessDecoder* DJ2KDecoderRegistration::losslessDecoder_ = nullptr;
DJ2KDecoder* DJ2KDecoderRegistration::decoder_ = nullptr;

void DJ2KDecoderRegistration::registerCodecs(J2K_UIDCreation uidCreation,
  J2K_PlanarConfiguration planarConfiguration,
  OFBool ignoreOffsetTable,
  OFBool forceSingleFragmentPerFrame,
  Uint32 threadCount)
{
  if (registered_)
  {
    return;
  }
  cp_ = new DJ2KCodecParameter(
    uidCreation, planarConfiguration, ignoreOffsetTable, forceSingleFragmentPerFrame, threadCount);
  losslessDecoder_ = new DJ2KLosslessDecoder();
  (void)DcmCodecList::registerCodec(losslessDecoder_, nullptr, cp_);
  decoder_ = new DJ2KDecoder();
  (void)DcmCodecList::registerCodec(decoder_, nullptr, cp_);
  registered_ = OFTrue;
}

void DJ2KDecoderRegistration::cleanup()
{
  if (!registered_)
  {
    return;
  }
  (void)DcmCodecList::deregisterCodec(losslessDecoder_);
  (void)DcmCodecList::deregisterCodec(decoder_);
  delete losslessDecoder_;
  delete decoder_;
  delete cp_;
  losslessDecoder_ = nullptr;
  decoder_ = nullptr;
  cp_ = nullptr;
  registered_ = OFFalse;
}

OFString DJ2KDecoderRegistration::getLibraryVersionString()
{
  OFString version("OpenJPEG, Version ");
  version += opj_version();
  return version;
}
