// Codec parameter shared by the JPEG 2000 decoders and encoders.
#ifndef DJ2KCPARAM_H
#define DJ2KCPARAM_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dccodec.h"

#include "dj2kutil.h"

// Settings of a decoder or encoder registration, handed back by DCMTK on every codec call.
class WAVECODEC_EXPORT DJ2KCodecParameter : public DcmCodecParameter
{
public:
  // Every member zero or false, except that the offset table is created.
  DJ2KCodecParameter();

  // Decoder form: the encoder settings keep their defaults (offset table, no fragment
  // size, no Secondary Capture conversion).
  DJ2KCodecParameter(J2K_UIDCreation uidCreation,
    J2K_PlanarConfiguration planarConfiguration,
    OFBool ignoreOffsetTable,
    OFBool forceSingleFragmentPerFrame,
    Uint32 threadCount = 0);

  // Encoder form: the decoder settings keep their defaults (restore the planar
  // configuration, use the offset table, fail on a bad frame). refuseHighBits: refuse images
  // with sample bits set above Bits Stored instead of encoding their Bits Stored bits.
  DJ2KCodecParameter(OFBool createOffsetTable,
    Uint32 fragmentSize,
    J2K_UIDCreation uidCreation,
    OFBool convertToSC,
    OFBool refuseHighBits = OFFalse,
    Uint32 threadCount = 0);
  // A number in the place of refuseHighBits is a thread count given one argument too early,
  // which would silently turn the refusal on: it does not compile.
  DJ2KCodecParameter(OFBool createOffsetTable,
    Uint32 fragmentSize,
    J2K_UIDCreation uidCreation,
    OFBool convertToSC,
    Uint32 refuseHighBits) = delete;

  DJ2KCodecParameter(const DJ2KCodecParameter& arg);

  virtual ~DJ2KCodecParameter();

  // Returns a heap copy that the caller owns.
  virtual DcmCodecParameter* clone() const;

  // Returns "DJ2KCodecParameter".
  virtual const char* className() const;

  J2K_UIDCreation getUIDCreation() const { return uidCreation_; }
  J2K_PlanarConfiguration getPlanarConfiguration() const { return planarConfiguration_; }
  // Decoder: do not use the Basic Offset Table to split multi-frame fragments.
  OFBool ignoreOffsetTable() const { return ignoreOffsetTable_; }
  // Decoder: go on with the next frame when a frame's codestream fails to decode.
  OFBool getForceSingleFragmentPerFrame() const { return forceSingleFragmentPerFrame_; }
  // Encoder: fill the Basic Offset Table of the new pixel sequence.
  OFBool getCreateOffsetTable() const { return createOffsetTable_; }
  // Encoder: maximum fragment size in kBytes, 0 for no limit.
  Uint32 getFragmentSize() const { return fragmentSize_; }
  // Encoder: convert the data set to Secondary Capture after compression.
  OFBool getConvertToSC() const { return convertToSC_; }
  // Encoder: refuse samples with bits set above Bits Stored (otherwise only the Bits Stored
  // bits are encoded, sign-extended for signed samples).
  OFBool getRefuseHighBits() const { return refuseHighBits_; }
  // Threads that decode or encode the frames of one data set: 0 for one per processor core
  // (DJ2KThreadPool::hardwareThreads()), 1 for none besides the caller's.
  Uint32 getThreadCount() const { return threadCount_; }

private:
  DJ2KCodecParameter& operator=(const DJ2KCodecParameter&) = delete;

  J2K_UIDCreation uidCreation_;
  J2K_PlanarConfiguration planarConfiguration_;
  OFBool ignoreOffsetTable_;
  OFBool forceSingleFragmentPerFrame_;
  OFBool createOffsetTable_;
  Uint32 fragmentSize_;
  OFBool convertToSC_;
  OFBool refuseHighBits_;
  Uint32 threadCount_;
};

#endif
