#include "dj2kcparam.h"

DJ2KCodecParameter::DJ2KCodecParameter()
  : DcmCodecParameter()
  , uidCreation_(EJ2KUC_default)
  , planarConfiguration_(EJ2KPC_restore)
  , ignoreOffsetTable_(OFFalse)
  , forceSingleFragmentPerFrame_(OFFalse)
  , createOffsetTable_(OFTrue)
  , fragmentSize_(0)
  , convertToSC_(OFFalse)
  , refuseHighBits_(OFFalse)
  , threadCount_(0)
{
}

DJ2KCodecParameter::DJ2KCodecParameter(J2K_UIDCreation uidCreation,
  J2K_PlanarConfiguration planarConfiguration,
  OFBool ignoreOffsetTable,
  OFBool forceSingleFragmentPerFrame,
  Uint32 threadCount)
  : DcmCodecParameter()
  , uidCreation_(uidCreation)
  , planarConfiguration_(planarConfiguration)
  , ignoreOffsetTable_(ignoreOffsetTable)
  , forceSingleFragmentPerFrame_(forceSingleFragmentPerFrame)
  , createOffsetTable_(OFTrue)
  , fragmentSize_(0)
  , convertToSC_(OFFalse)
  , refuseHighBits_(OFFalse)
  , threadCount_(threadCount)
{
}

DJ2KCodecParameter::DJ2KCodecParameter(OFBool createOffsetTable,
  Uint32 fragmentSize,
  J2K_UIDCreation uidCreation,
  OFBool convertToSC,
  OFBool refuseHighBits,
  Uint32 threadCount)
  : DcmCodecParameter()
  , uidCreation_(uidCreation)
  , planarConfiguration_(EJ2KPC_restore)
  , ignoreOffsetTable_(OFFalse)
  , forceSingleFragmentPerFrame_(OFFalse)
  , createOffsetTable_(createOffsetTable)
  , fragmentSize_(fragmentSize)
  , convertToSC_(convertToSC)
  , refuseHighBits_(refuseHighBits)
  , threadCount_(threadCount)
{
}

DJ2KCodecParameter::DJ2KCodecParameter(const DJ2KCodecParameter& arg)
  : DcmCodecParameter(arg)
  , uidCreation_(arg.uidCreation_)
  , planarConfiguration_(arg.planarConfiguration_)
  , ignoreOffsetTable_(arg.ignoreOffsetTable_)
  , forceSingleFragmentPerFrame_(arg.forceSingleFragmentPerFrame_)
  , createOffsetTable_(arg.createOffsetTable_)
  , fragmentSize_(arg.fragmentSize_)
  , convertToSC_(arg.convertToSC_)
  , refuseHighBits_(arg.refuseHighBits_)
  , threadCount_(arg.threadCount_)
{
}

DJ2KCodecParameter::~DJ2KCodecParameter() {}

DcmCodecParameter* DJ2KCodecParameter::clone() const
{
  return new DJ2KCodecParameter(*this);
}

const char* DJ2KCodecParameter::className() const
{
  return "DJ2KCodecParameter";
}
