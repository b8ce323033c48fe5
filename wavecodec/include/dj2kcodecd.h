// JPEG 2000 decoders for DCMTK's codec framework.
#ifndef DJ2KCODECD_H
#define DJ2KCODECD_H

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dccodec.h"
#include "dcmtk/ofstd/ofstring.h"

#include "dj2kutil.h"

class DJ2KCodecParameter;
struct DJ2KFrameFragments;

// Decodes JPEG 2000 pixel sequences to uncompressed pixel data; the subclasses pick the
// transfer syntax. Holds no state. The frames of a data set are decoded on worker threads
// (see DJ2KCodecParameter::getThreadCount); the threads end before a call returns.
class WAVECODEC_EXPORT DJ2KDecoderBase : public DcmCodec
{
public:
  DJ2KDecoderBase();
  DJ2KDecoderBase(const DJ2KDecoderBase& arg);
  DJ2KDecoderBase& operator=(const DJ2KDecoderBase& arg);
  virtual ~DJ2KDecoderBase();

  // Decodes every frame of pixSeq into a new word array of uncompressedPixelData and updates
  // Planar Configuration, Number of Frames, Lossy Image Compression and, when asked for, the
  // SOP Instance UID of the data set or item below the pixel data on objStack. Colour that
  // the inverse component transform turned into RGB (YBR_RCT, YBR_ICT) is labelled RGB. The
  // result does not depend on the number of threads: the condition is the first failing frame's.
  virtual OFCondition decode(const DcmRepresentationParameter* fromRepParam,
    DcmPixelSequence* pixSeq,
    DcmPolymorphOBOW& uncompressedPixelData,
    const DcmCodecParameter* cp,
    const DcmStack& objStack,
    OFBool& removeOldRep) const;

  // Decodes frame frameNo (0-based) into buffer. startFragment is the index of the frame's first
  // fragment, 0 to have it determined; on return it indexes the fragment after the frame.
  // Several threads may decode frames at once, of the same data set too.
  virtual OFCondition decodeFrame(const DcmRepresentationParameter* fromParam,
    DcmPixelSequence* fromPixSeq,
    const DcmCodecParameter* cp,
    DcmItem* dataset,
    Uint32 frameNo,
    Uint32& startFragment,
    void* buffer,
    Uint32 bufSize,
    OFString& decompressedColorModel) const;

  // Decoders do not encode: EC_IllegalCall.
  virtual OFCondition encode(const Uint16* pixelData,
    const Uint32 length,
    const DcmRepresentationParameter* toRepParam,
    DcmPixelSequence*& pixSeq,
    const DcmCodecParameter* cp,
    DcmStack& objStack,
    OFBool& removeOldRep) const;

  // Decoders do not transcode: EC_IllegalCall.
  virtual OFCondition encode(const E_TransferSyntax fromRepType,
    const DcmRepresentationParameter* fromRepParam,
    DcmPixelSequence* fromPixSeq,
    const DcmRepresentationParameter* toRepParam,
    DcmPixelSequence*& toPixSeq,
    const DcmCodecParameter* cp,
    DcmStack& objStack,
    OFBool& removeOldRep) const;

  // True from this decoder's transfer syntax to any native (not encapsulated) one.
  virtual OFBool canChangeCoding(const E_TransferSyntax oldRepType,
    const E_TransferSyntax newRepType) const;

  // Bits allocated per decoded sample: 8 for 2 to 8 bits stored, 16 for 9 to 16, else 0.
  virtual Uint16 decodedBitsAllocated(Uint16 bitsAllocated, Uint16 bitsStored) const;

  // The colour model after decompression: the data set's Photometric Interpretation, RGB for
  // YBR_RCT and YBR_ICT.
  virtual OFCondition determineDecompressedColorModel(const DcmRepresentationParameter* fromParam,
    DcmPixelSequence* fromPixSeq,
    const DcmCodecParameter* cp,
    DcmItem* dataset,
    OFString& decompressedColorModel) const;

private:
  friend class DJ2KDecoderBaseTestAccess;

  virtual E_TransferSyntax supportedTransferSyntax() const = 0;

  // Whether decompression leaves the image as lossless as it was.
  virtual OFBool isLosslessProcess() const = 0;

  // Decodes one frame of imageFrames frames; the worker behind decode and decodeFrame.
  // rgbOutput tells whether the frame's samples became RGB through the inverse component
  // transform (or a YBR_RCT or YBR_ICT label).
  static OFCondition decodeFrame(DcmPixelSequence* fromPixSeq,
    const DJ2KCodecParameter* cp,
    DcmItem* dataset,
    Uint32 frameNo,
    Uint32& startFragment,
    void* buffer,
    Uint32 bufSize,
    Sint32 imageFrames,
    Uint16 imageColumns,
    Uint16 imageRows,
    Uint16 imageSamplesPerPixel,
    Uint16 bytesPerSample,
    OFBool& rgbOutput);

  // Finds the fragments of frame frameNo, which start at startFragment (their bytes are
  // fetched later); advances startFragment past them.
  static OFCondition locateFrame(DcmPixelSequence* fromPixSeq,
    const DJ2KCodecParameter* cp,
    Uint32 frameNo,
    Uint32& startFragment,
    Sint32 imageFrames,
    DJ2KFrameFragments& fragments);

  // Decodes located fragments into buffer; componentTransform tells whether OpenJPEG applied
  // the inverse component transform. Reads and writes no DCMTK object, so that it can run on
  // any thread.
  static OFCondition decodeFragments(const DJ2KFrameFragments& fragments,
    void* buffer,
    Uint32 bufSize,
    Uint16 imageColumns,
    Uint16 imageRows,
    Uint16 imageSamplesPerPixel,
    Uint16 bytesPerSample,
    Uint16 pixelRepresentation,
    Uint32 openjpegThreads,
    OFBool& componentTransform);

  // Settles a decoded frame's planar configuration (colour from a component transform is RGB
  // by pixel unless by plane is asked for; rgbOutput says so) and arranges its planes.
  static OFCondition arrangeFrame(const DJ2KCodecParameter* cp,
    void* buffer,
    Uint16 imageColumns,
    Uint16 imageRows,
    Uint16 imageSamplesPerPixel,
    Uint16 bytesPerSample,
    OFBool componentTransform,
    Uint16& planarConfiguration,
    OFBool& rgbOutput);

  // Planar Configuration of the decoded frames under the codec parameter's policy; with
  // warn, a value other than 0 in the data set is reported.
  static Uint16 outputPlanarConfiguration(DcmItem* dataset,
    const DJ2KCodecParameter* cp,
    Uint16 imageSamplesPerPixel,
    OFBool warn);

  // Number of fragments of frame currentFrame, which starts at item startItem; 0 when it
  // cannot be told.
  static Uint32 computeNumberOfFragments(Sint32 numberOfFrames,
    Uint32 currentFrame,
    Uint32 startItem,
    OFBool ignoreOffsetTable,
    DcmPixelSequence* pixSeq);

  // True when the bytes start with an SOC marker or a JP2 signature box.
  static OFBool isJPEG2000StartOfCodestream(const Uint8* fragmentData, Uint32 fragmentLength);

  // 1 for colour-by-plane SOP classes (hardcopy colour, ultrasound YBR_FULL), else 0.
  static Uint16 determinePlanarConfiguration(const OFString& sopClassUID,
    const OFString& photometricInterpretation);

  // Rearrange one three-sample frame of columns x rows pixels in place.
  static OFCondition createPlanarConfiguration1Byte(Uint8* imageFrame, Uint16 columns, Uint16 rows);
  static OFCondition createPlanarConfiguration1Word(Uint16* imageFrame,
    Uint16 columns,
    Uint16 rows);
  static OFCondition createPlanarConfiguration0Byte(Uint8* imageFrame, Uint16 columns, Uint16 rows);
  static OFCondition createPlanarConfiguration0Word(Uint16* imageFrame,
    Uint16 columns,
    Uint16 rows);
};

// Decoder for JPEG 2000 Image Compression (Lossless Only), 1.2.840.10008.1.2.4.90.
class WAVECODEC_EXPORT DJ2KLosslessDecoder : public DJ2KDecoderBase
{
public:
  DJ2KLosslessDecoder();
  DJ2KLosslessDecoder(const DJ2KLosslessDecoder& arg);
  DJ2KLosslessDecoder& operator=(const DJ2KLosslessDecoder& arg);
  virtual ~DJ2KLosslessDecoder();

private:
  virtual E_TransferSyntax supportedTransferSyntax() const;
  virtual OFBool isLosslessProcess() const;
};

// Decoder for JPEG 2000 Image Compression, 1.2.840.10008.1.2.4.91; marks images lossy.
class WAVECODEC_EXPORT DJ2KDecoder : public DJ2KDecoderBase
{
public:
  DJ2KDecoder();
  DJ2KDecoder(const DJ2KDecoder& arg);
  DJ2KDecoder& operator=(const DJ2KDecoder& arg);
  virtual ~DJ2KDecoder();

private:
  virtual E_TransferSyntax supportedTransferSyntax() const;
  virtual OFBool isLosslessProcess() const;
};

#endif
