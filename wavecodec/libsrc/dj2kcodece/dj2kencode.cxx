#include "dj2kencode.h"

#include "dcmtk/dcmdata/dccodec.h"

#include "dj2kcodece.h"
#include "dj2kcparam.h"

#include <openjpeg.h>

OFBool DJ2KEncoderRegistration::registered_ = OFFalse;
DJ2KCodecParameter* DJ2KEncoderRegistration::cp_ = nullptr;
DJ2KLosslessEncoder* DJ2KEncoderRegistration::losslessEncoder_ = nullptr;
DJ2KEncoder* DJ2KEncoderRegistration::encoder_ = nullptr;

void DJ2KEncoderRegistration::registerCodecs(OFBool createOffsetTable,
  Uint32 fragmentSize,
  J2K_UIDCreation uidCreation,
  OFBool convertToSC,
  OFBool refuseHighBits,
  Uint32 threadCount)
{
  if (registered_)
  {
    return;
  }
  cp_ = new DJ2KCodecParameter(
    createOffsetTable, fragmentSize, uidCreation, convertToSC, refuseHighBits, threadCount);
  losslessEncoder_ = new DJ2KLosslessEncoder();
  DcmCodecList::registerCodec(losslessEncoder_, nullptr, cp_);
  encoder_ = new DJ2KEncoder();
  DcmCodecList::registerCodec(encoder_, nullptr, cp_);
  registered_ = OFTrue;
}

void DJ2KEncoderRegistration::cleanup()
{
  if (!registered_)
  {
    return;
  }
  DcmCodecList::deregisterCodec(losslessEncoder_);
  DcmCodecList::deregisterCodec(encoder_);
  delete losslessEncoder_;
  losslessEncoder_ = nullptr;
  delete encoder_;
  encoder_ = nullptr;
  delete cp_;
  cp_ = nullptr;
  registered_ = OFFalse;
}

OFString DJ2KEncoderRegistration::getLibraryVersionString()
{
  OFString version("OpenJPEG, Version ");
  version += opj_version();
  return version;
}
