#include "dj2krparam.h"

DJ2KRepresentationParameter::DJ2KRepresentationParameter(OFBool losslessProcess,
  double compressionRatio)
  : DcmRepresentationParameter()
  , losslessProcess_(losslessProcess)
  , compressionRatio_(compressionRatio)
{
}

DJ2KRepresentationParameter::DJ2KRepresentationParameter(const DJ2KRepresentationParameter& arg)
  : DcmRepresentationParameter(arg)
  , losslessProcess_(arg.losslessProcess_)
  , compressionRatio_(arg.compressionRatio_)
{
}

DJ2KRepresentationParameter& DJ2KRepresentationParameter::operator=(
  const DJ2KRepresentationParameter& arg)
{
  DcmRepresentationParameter::operator=(arg);
  losslessProcess_ = arg.losslessProcess_;
  compressionRatio_ = arg.compressionRatio_;
  return *this;
}

DJ2KRepresentationParameter::~DJ2KRepresentationParameter() {}

DcmRepresentationParameter* DJ2KRepresentationParameter::clone() const
{
  return new DJ2KRepresentationParameter(*this);
}

const char* DJ2KRepresentationParameter::className() const
{
  return "DJ2KRepresentationParameter";
}

OFBool DJ2KRepresentationParameter::operator==(const DcmRepresentationParameter& arg) const
{
  const DJ2KRepresentationParameter* other = dynamic_cast<const DJ2KRepresentationParameter*>(&arg);
  if (other == nullptr)
  {
    return OFFalse;
  }
  if (losslessProcess_ != other->losslessProcess_)
  {
    return OFFalse;
  }
  // Exact comparison on purpose: a NaN ratio equals nothing.
  return compressionRatio_ == other->compressionRatio_;
}
