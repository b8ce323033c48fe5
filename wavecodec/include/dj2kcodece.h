// JPEG 2000 encoders: compress uncompressed pixel data into a JPEG 2000 pixel sequence.
#ifndef DJ2KCODECE_H
#define DJ2KCODECE_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dccodec.h"
#include "dcmtk/ofstd/oftypes.h"

#include "dj2kutil.h"

class DJ2KCodecParameter;
class DJ2KRepresentationParameter;

// Common base of the two encoders; each frame becomes one raw JPEG 2000 codestream. The frames
// of a data set are encoded on worker threads (see DJ2KCodecParameter::getThreadCount); the
// threads end before a call returns, and the output does not depend on their number.
class WAVECODEC_EXPORT DJ2KEncoderBase : public DcmCodec
{
public:
  DJ2KEncoderBase();

  virtual ~DJ2KEncoderBase();

  // Not supported by an encoder: returns EC_IllegalCall.
  virtual OFCondition decode(const DcmRepresentationParameter* fromRepParam,
    DcmPixelSequence* pixSeq,
    DcmPolymorphOBOW& uncompressedPixelData,
    const DcmCodecParameter* cp,
    const DcmStack& objStack,
    OFBool& removeOldRep) const;

  // Not supported by an encoder: returns EC_IllegalCall.
  virtual OFCondition decodeFrame(const DcmRepresentationParameter* fromParam,
    DcmPixelSequence* fromPixSeq,
    const DcmCodecParameter* cp,
    DcmItem* dataset,
    Uint32 frameNo,
    Uint32& startFragment,
    void* buffer,
    Uint32 bufSize,
    OFString& decompressedColorModel) const;

  // Compresses every frame of pixelData (length bytes, 16-bit words in local byte order)
  // into a new pixel sequence handed to the caller through pixSeq. Writes Planar
  // Configuration 0 for colour; in a data set also the lossy marks with the achieved ratio,
  // a new SOP Instance UID when the policy or a change of SOP Class asks for one, and the
  // Secondary Capture conversion.
  virtual OFCondition encode(const Uint16* pixelData,
    const Uint32 length,
    const DcmRepresentationParameter* toRepParam,
    DcmPixelSequence*& pixSeq,
    const DcmCodecParameter* cp,
    DcmStack& objStack,
    OFBool& removeOldRep) const;

  // Transcoding between compressed syntaxes is not supported: returns EC_IllegalCall.
  virtual OFCondition encode(const E_TransferSyntax fromRepType,
    const DcmRepresentationParameter* fromRepParam,
    DcmPixelSequence* fromPixSeq,
    const DcmRepresentationParameter* toRepParam,
    DcmPixelSequence*& toPixSeq,
    const DcmCodecParameter* cp,
    DcmStack& objStack,
    OFBool& removeOldRep) const;

  // True for uncompressed pixel data to this encoder's transfer syntax.
  virtual OFBool canChangeCoding(const E_TransferSyntax oldRepType,
    const E_TransferSyntax newRepType) const;

  // An encoder does not decode: returns 0.
  virtual Uint16 decodedBitsAllocated(Uint16 bitsAllocated, Uint16 bitsStored) const;

  // Not supported by an encoder: returns EC_IllegalCall.
  virtual OFCondition determineDecompressedColorModel(const DcmRepresentationParameter* fromParam,
    DcmPixelSequence* fromPixSeq,
    const DcmCodecParameter* cp,
    DcmItem* dataset,
    OFString& decompressedColorModel) const;

private:
  // The transfer syntax this encoder writes.
  virtual E_TransferSyntax supportedTransferSyntax() const = 0;

  // Compresses one frame into a raw codestream. compressedFrame is allocated with new[]
  // and owned by the caller; it stays null when compressedSize is 0 or on failure. Only the
  // Bits Stored bits of each sample are coded; samples with other bits set above them are
  // refused with refuseHighBits, otherwise counted in a warning naming frameNumber. With
  // openjpegThreads above 1, OpenJPEG uses that many threads of its own for the frame.
  static OFCondition encodeFrame(const Uint8* framePointer,
    Uint32 columns,
    Uint32 rows,
    Uint32 samplesPerPixel,
    Uint32 bitsAllocated,
    Uint32 bitsStored,
    OFBool isSigned,
    OFBool isPlanar,
    OFBool lossless,
    double compressionRatio,
    OFBool refuseHighBits,
    Uint32 frameNumber,
    Uint8*& compressedFrame,
    Uint64& compressedSize,
    Uint32 openjpegThreads = 1);
};

// Encoder for JPEG 2000 Image Compression (Lossless Only): always reversible.
class WAVECODEC_EXPORT DJ2KLosslessEncoder : public DJ2KEncoderBase
{
private:
  virtual E_TransferSyntax supportedTransferSyntax() const;
};

// Encoder for JPEG 2000 Image Compression: lossless or lossy by the representation parameter.
class WAVECODEC_EXPORT DJ2KEncoder : public DJ2KEncoderBase
{
private:
  virtual E_TransferSyntax supportedTransferSyntax() const;
};

#endif
