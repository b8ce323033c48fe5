#include "dj2kcodecd.h"

#include "dj2kcond.h"
#include "dj2kcparam.h"
#include "dj2kdecj2k.h"

#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcpixseq.h"
#include "dcmtk/dcmdata/dcpxitem.h"
#include "dcmtk/dcmdata/dcstack.h"
#include "dcmtk/dcmdata/dcswap.h"
#include "dcmtk/dcmdata/dcvrpobw.h"
#include "dcmtk/dcmdata/dcxfer.h"
#include "dcmtk/ofstd/ofstd.h"
#include "dcmtk/ofstd/ofstream.h"

#include <cstring>
#include <new>

namespace
{

const Uint8
  kJP2Signature[12] = { 0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A };

const char* const kHardcopyColorImageStorage = "1.2.840.10008.5.1.1.30";
const char* const kUltrasoundMultiframeImageStorage = "1.2.840.10008.5.1.4.1.1.3.1";
const char* const kUltrasoundImageStorage = "1.2.840.10008.5.1.4.1.1.6.1";

// Geometry shared by decode and the public decodeFrame.
struct ImageGeometry
{
  Uint16 samplesPerPixel = 0;
  Uint16 rows = 0;
  Uint16 columns = 0;
  Sint32 frames = 0;
  OFBool framesPresent = OFFalse;
  Uint16 bitsStored = 0;
  Uint16 bitsAllocated = 0;
  Uint16 bytesPerSample = 0;
};

// EC_J2KUnsupportedBitDepth naming the depth and the supported ones.
OFCondition unsupportedBitsStored(Uint16 bitsStored)
{
  OFOStringStream text;
  text << "Bits Stored " << bitsStored << ", supported are 1 to 16" << OFStringStream_ends;
  OFSTRINGSTREAM_GETOFSTRING(text, detail)
  return j2kDetailedCondition(EC_J2KUnsupportedBitDepth, detail);
}

// Photometric Interpretations that name JPEG 2000's component transforms: the decoded
// samples are RGB.
OFBool namesComponentTransform(const OFString& photometric)
{
  return photometric == "YBR_RCT" || photometric == "YBR_ICT";
}

// Reads and checks the geometry attributes; with readHighBit also High Bit, whose value
// is not used.
OFCondition readGeometry(DcmItem* item, OFBool readHighBit, ImageGeometry& g)
{
  OFCondition result = item->findAndGetUint16(DCM_SamplesPerPixel, g.samplesPerPixel);
  if (result.bad())
    return result;
  if (g.samplesPerPixel != 1 && g.samplesPerPixel != 3)
    return EC_InvalidTag;
  result = item->findAndGetUint16(DCM_Rows, g.rows);
  if (result.bad())
    return result;
  if (g.rows == 0)
    return EC_InvalidTag;
  result = item->findAndGetUint16(DCM_Columns, g.columns);
  if (result.bad())
    return result;
  if (g.columns == 0)
    return EC_InvalidTag;
  g.framesPresent = item->tagExists(DCM_NumberOfFrames);
  if (item->findAndGetSint32(DCM_NumberOfFrames, g.frames).bad())
    g.frames = 0;
  result = item->findAndGetUint16(DCM_BitsStored, g.bitsStored);
  if (result.bad())
    return result;
  result = item->findAndGetUint16(DCM_BitsAllocated, g.bitsAllocated);
  if (result.bad())
    return result;
  if (readHighBit)
  {
    Uint16 highBit = 0;
    result = item->findAndGetUint16(DCM_HighBit, highBit);
    if (result.bad())
      return result;
  }
  if (g.bitsStored == 0 || g.bitsStored > 16)
    return unsupportedBitsStored(g.bitsStored);
  g.bytesPerSample = (g.bitsStored > 8 || g.bitsAllocated > 8) ? 2 : 1;
  return EC_Normal;
}

// Number of Frames lowered to the fragments the sequence can hold (one item is the Basic
// Offset Table) and raised to at least 1.
Sint32 framesUsed(Sint32 frames, DcmPixelSequence* pixSeq)
{
  const Sint64 available = static_cast<Sint64>(pixSeq->card()) - 1;
  Sint64 used = frames;
  if (used >= available)
    used = available;
  if (used < 1)
    used = 1;
  return static_cast<Sint32>(used);
}

Uint64 frameBytes(const ImageGeometry& g)
{
  return static_cast<Uint64>(g.bytesPerSample) * g.columns * g.rows * g.samplesPerPixel;
}

const char* const kSizeWarning = "cannot decompress image because uncompressed representation "
                                 "would exceed maximum possible size of PixelData "
                                 "attribute";

// Interleaves or separates three sample planes of n samples each, through a copy.
template <typename T>
OFCondition rearrangePlanes(T* frame, Uint16 columns, Uint16 rows, OFBool toPlanes)
{
  const size_t n = static_cast<size_t>(columns) * rows;
  if (frame == nullptr || n == 0)
    return EC_IllegalCall;
  T* copy = new (std::nothrow) T[3 * n];
  if (copy == nullptr)
    return EC_MemoryExhausted;
  memcpy(copy, frame, 3 * n * sizeof(T));
  if (toPlanes)
  {
    for (size_t k = 0; k < n; ++k)
    {
      frame[k] = copy[3 * k];
      frame[n + k] = copy[3 * k + 1];
      frame[2 * n + k] = copy[3 * k + 2];
    }
  }
  else
  {
    for (size_t k = 0; k < n; ++k)
    {
      frame[3 * k] = copy[k];
      frame[3 * k + 1] = copy[n + k];
      frame[3 * k + 2] = copy[2 * n + k];
    }
  }
  delete[] copy;
  return EC_Normal;
}

} // namespace

DJ2KDecoderBase::DJ2KDecoderBase()
  : DcmCodec()
{
}

DJ2KDecoderBase::DJ2KDecoderBase(const DJ2KDecoderBase& arg)
  : DcmCodec(arg)
{
}

DJ2KDecoderBase& DJ2KDecoderBase::operator=(const DJ2KDecoderBase& arg)
{
  DcmCodec::operator=(arg);
  return *this;
}

DJ2KDecoderBase::~DJ2KDecoderBase() {}

OFBool DJ2KDecoderBase::canChangeCoding(const E_TransferSyntax oldRepType,
  const E_TransferSyntax newRepType) const
{
  DcmXfer newRep(newRepType);
  return newRep.isNotEncapsulated() && oldRepType == supportedTransferSyntax();
}

Uint16 DJ2KDecoderBase::decodedBitsAllocated(Uint16 /*bitsAllocated*/, Uint16 bitsStored) const
{
  if (bitsStored < 2)
    return 0;
  if (bitsStored <= 8)
    return 8;
  if (bitsStored <= 16)
    return 16;
  return 0;
}

OFCondition DJ2KDecoderBase::encode(const Uint16* /*pixelData*/,
  const Uint32 /*length*/,
  const DcmRepresentationParameter* /*toRepParam*/,
  DcmPixelSequence*& /*pixSeq*/,
  const DcmCodecParameter* /*cp*/,
  DcmStack& /*objStack*/,
  OFBool& /*removeOldRep*/) const
{
  return EC_IllegalCall;
}

OFCondition DJ2KDecoderBase::encode(const E_TransferSyntax /*fromRepType*/,
  const DcmRepresentationParameter* /*fromRepParam*/,
  DcmPixelSequence* /*fromPixSeq*/,
  const DcmRepresentationParameter* /*toRepParam*/,
  DcmPixelSequence*& /*toPixSeq*/,
  const DcmCodecParameter* /*cp*/,
  DcmStack& /*objStack*/,
  OFBool& /*removeOldRep*/) const
{
  return EC_IllegalCall;
}

OFCondition DJ2KDecoderBase::decode(const DcmRepresentationParameter* /*fromRepParam*/,
  DcmPixelSequence* pixSeq,
  DcmPolymorphOBOW& uncompressedPixelData,
  const DcmCodecParameter* cp,
  const DcmStack& objStack,
  OFBool& removeOldRep) const
{
  removeOldRep = OFTrue;
  DcmStack localStack(objStack);
  (void)localStack.pop();
  DcmObject* dobject = localStack.pop();
  if (dobject == nullptr || (dobject->ident() != EVR_dataset && dobject->ident() != EVR_item))
    return EC_InvalidTag;
  if (pixSeq == nullptr || cp == nullptr)
    return EC_IllegalCall;
  DcmItem* ditem = static_cast<DcmItem*>(dobject);
  const DJ2KCodecParameter* djcp = static_cast<const DJ2KCodecParameter*>(cp);

  ImageGeometry g;
  OFCondition result = readGeometry(ditem, OFTrue, g);
  if (result.bad())
    return result;
  const Sint32 frames = framesUsed(g.frames, pixSeq);

  const Uint64 frameSize = frameBytes(g);
  if (frameSize > 0xFFFFFFFFu)
  {
    DCMJ2K_WARN(kSizeWarning);
    return EC_ElemLengthExceeds32BitField;
  }
  const Uint64 totalSize = frameSize * static_cast<Uint64>(frames);
  if (totalSize >= 0xFFFFFFFFu)
  {
    DCMJ2K_WARN(kSizeWarning);
    return EC_ElemLengthExceeds32BitField;
  }

  Uint16* pixelData16 = nullptr;
  result =
    uncompressedPixelData.createUint16Array(static_cast<Uint32>((totalSize + 1) / 2), pixelData16);
  if (result.bad())
    return result;
  Uint8* pixelData8 = reinterpret_cast<Uint8*>(pixelData16);

  Uint32 startFragment = 1;
  OFBool rgbOutput = OFFalse;
  for (Sint32 frame = 0; frame < frames; ++frame)
  {
    DCMJ2K_DEBUG("JPEG 2000 decoder processes frame " << (frame + 1));
    OFBool frameRGB = OFFalse;
    result = decodeFrame(pixSeq,
      djcp,
      ditem,
      static_cast<Uint32>(frame),
      startFragment,
      pixelData8 + static_cast<size_t>(frame) * frameSize,
      static_cast<Uint32>(frameSize),
      frames,
      g.columns,
      g.rows,
      g.samplesPerPixel,
      g.bytesPerSample,
      frameRGB);
    rgbOutput = rgbOutput || frameRGB;
    if (result == EC_J2KInvalidCompressedData && djcp->getForceSingleFragmentPerFrame())
    {
      DCMJ2K_WARN("JPEG 2000 bitstream invalid or incomplete, ignoring (but image is likely to be "
                  "incomplete)");
      result = EC_Normal;
    }
    if (result.bad())
      return result;
  }

  // Samples of one byte were written byte by byte into the word array.
  if (g.bytesPerSample == 1)
    (void)swapIfNecessary(gLocalByteOrder,
      EBO_LittleEndian,
      pixelData16,
      static_cast<Uint32>(totalSize + 1) & ~1u,
      sizeof(Uint16));

  if (g.framesPresent || frames > 1)
  {
    char numBuf[32];
    OFStandard::snprintf(numBuf, sizeof(numBuf), "%ld", static_cast<long>(frames));
    result = ditem->putAndInsertString(DCM_NumberOfFrames, numBuf);
    if (result.bad())
      return result;
  }

  // The samples are RGB now; YBR_RCT and YBR_ICT describe JPEG 2000 codestreams only.
  if (rgbOutput)
  {
    result = ditem->putAndInsertString(DCM_PhotometricInterpretation, "RGB");
    if (result.bad())
      return result;
  }

  if (dobject->ident() == EVR_dataset)
  {
    if (djcp->getUIDCreation() == EJ2KUC_always)
    {
      result = DcmCodec::newInstance(ditem, nullptr, nullptr, nullptr);
      if (result.bad())
        return result;
    }
    if (!isLosslessProcess())
    {
      return ditem->putAndInsertString(DCM_LossyImageCompression, "01");
    }
  }
  return result;
}

OFCondition DJ2KDecoderBase::decodeFrame(const DcmRepresentationParameter* /*fromParam*/,
  DcmPixelSequence* fromPixSeq,
  const DcmCodecParameter* cp,
  DcmItem* dataset,
  Uint32 frameNo,
  Uint32& startFragment,
  void* buffer,
  Uint32 bufSize,
  OFString& decompressedColorModel) const
{
  if (fromPixSeq == nullptr || cp == nullptr || dataset == nullptr || buffer == nullptr)
    return EC_IllegalCall;
  ImageGeometry g;
  OFCondition result = readGeometry(dataset, OFFalse, g);
  if (result.bad())
    return result;
  const Sint32 frames = framesUsed(g.frames, fromPixSeq);

  // The frame must fit the caller's buffer before anything is decoded into it.
  const Uint64 frameSize = frameBytes(g);
  if (frameSize > bufSize)
  {
    DCMJ2K_ERROR("Output buffer too small: need " << frameSize << " bytes, have " << bufSize);
    return EC_J2KUncompressedBufferTooSmall;
  }

  if (startFragment == 0)
  {
    result = DcmCodec::determineStartFragment(frameNo, frames, fromPixSeq, startFragment);
    if (result.bad())
      return result;
  }
  DCMJ2K_DEBUG("starting to decode frame " << frameNo << " with fragment " << startFragment);
  OFBool rgbOutput = OFFalse;
  result = decodeFrame(fromPixSeq,
    static_cast<const DJ2KCodecParameter*>(cp),
    dataset,
    frameNo,
    startFragment,
    buffer,
    bufSize,
    frames,
    g.columns,
    g.rows,
    g.samplesPerPixel,
    g.bytesPerSample,
    rgbOutput);
  if (result.good())
  {
    result = dataset->findAndGetOFString(DCM_PhotometricInterpretation, decompressedColorModel);
    if (result.good() && rgbOutput)
      decompressedColorModel = "RGB";
  }
  return result;
}

OFCondition DJ2KDecoderBase::decodeFrame(DcmPixelSequence* fromPixSeq,
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
  OFBool& rgbOutput)
{
  rgbOutput = OFFalse;
  OFCondition result = EC_Normal;
  Uint16 pixelRep = 0;
  if (dataset->findAndGetUint16(DCM_PixelRepresentation, pixelRep).bad())
    pixelRep = 0;

  const Uint32 numberOfFragments = computeNumberOfFragments(
    imageFrames, frameNo, startFragment, cp->ignoreOffsetTable(), fromPixSeq);
  if (numberOfFragments == 0)
    result = EC_J2KCannotComputeNumberOfFragments;

  OFString sopClassUID;
  OFString photometric;
  if (dataset->findAndGetOFString(DCM_SOPClassUID, sopClassUID).bad())
    sopClassUID.clear();
  if (dataset->findAndGetOFString(DCM_PhotometricInterpretation, photometric).bad())
    photometric.clear();

  Uint16 planarConfig = 0;
  if (imageSamplesPerPixel > 1)
  {
    planarConfig = 2;
    Uint16 stored = 0;
    if (dataset->findAndGetUint16(DCM_PlanarConfiguration, stored).good())
    {
      planarConfig = stored;
      if (stored != 0)
      {
        DCMJ2K_WARN("invalid value for PlanarConfiguration " << DCM_PlanarConfiguration
                                                             << ", should be \"0\"");
      }
    }
    switch (cp->getPlanarConfiguration())
    {
      case EJ2KPC_auto:
        planarConfig = determinePlanarConfiguration(sopClassUID, photometric);
        break;
      case EJ2KPC_colorByPixel:
        planarConfig = 0;
        break;
      case EJ2KPC_colorByPlane:
        planarConfig = 1;
        break;
      case EJ2KPC_restore:
      default:
        // An unknown policy restores too, so that no value above 1 is written.
        if (planarConfig > 1)
          planarConfig = determinePlanarConfiguration(sopClassUID, photometric);
        break;
    }
  }

  if (result.bad())
    return result;

  // The fragments of this frame, all inside the sequence.
  const unsigned long itemCount = fromPixSeq->card();
  Uint64 totalLength = 0;
  for (Uint32 k = 0; k < numberOfFragments; ++k)
  {
    DcmPixelItem* item = nullptr;
    result = fromPixSeq->getItem(item, static_cast<unsigned long>(startFragment) + k);
    if (result.bad())
      return result;
    if (item != nullptr)
      totalLength += item->getLength();
  }
  if (startFragment + static_cast<Uint64>(numberOfFragments) > itemCount ||
      totalLength > static_cast<Uint64>(static_cast<size_t>(-1) / 2))
    return EC_J2KCannotComputeNumberOfFragments;

  Uint8* joined = new (std::nothrow) Uint8[totalLength == 0 ? 1 : static_cast<size_t>(totalLength)];
  if (joined == nullptr)
    return EC_MemoryExhausted;
  Uint64 offset = 0;
  for (Uint32 k = 0; k < numberOfFragments && result.good(); ++k)
  {
    DcmPixelItem* item = nullptr;
    result = fromPixSeq->getItem(item, startFragment);
    ++startFragment;
    if (result.good() && item != nullptr)
    {
      Uint8* bytes = nullptr;
      const Uint32 length = item->getLength();
      result = item->getUint8Array(bytes);
      if (result.good() && bytes != nullptr && length > 0)
      {
        // Never more than the space counted above, even if an item changed its length.
        const Uint64 n = length < totalLength - offset ? length : totalLength - offset;
        memcpy(joined + offset, bytes, static_cast<size_t>(n));
        offset += n;
      }
    }
  }

  OFBool componentTransform = OFFalse;
  if (result.good())
    result = decodeJPEG2000(joined,
      offset,
      buffer,
      bufSize,
      imageColumns,
      imageRows,
      imageSamplesPerPixel,
      bytesPerSample,
      pixelRep,
      &componentTransform);

  // After the inverse component transform, or for a frame labelled with one, the samples are
  // RGB interleaved by pixel; only an explicit request keeps them by plane.
  if (result.good() && imageSamplesPerPixel > 1 &&
      (componentTransform || namesComponentTransform(photometric)))
  {
    rgbOutput = OFTrue;
    if (cp->getPlanarConfiguration() != EJ2KPC_colorByPlane)
      planarConfig = 0;
  }

  if (result.good() && imageSamplesPerPixel == 3 && planarConfig == 1)
  {
    DCMJ2K_DEBUG("converting to planar configuration 1");
    if (bytesPerSample == 1)
      result = createPlanarConfiguration1Byte(static_cast<Uint8*>(buffer), imageColumns, imageRows);
    else
      result =
        createPlanarConfiguration1Word(static_cast<Uint16*>(buffer), imageColumns, imageRows);
  }

  if (result.good() && imageSamplesPerPixel > 1)
    (void)dataset->putAndInsertUint16(DCM_PlanarConfiguration, planarConfig);

  delete[] joined;
  return result;
}

Uint32 DJ2KDecoderBase::computeNumberOfFragments(Sint32 numberOfFrames,
  Uint32 currentFrame,
  Uint32 startItem,
  OFBool ignoreOffsetTable,
  DcmPixelSequence* pixSeq)
{
  if (pixSeq == nullptr)
    return 0;
  const unsigned long numItems = pixSeq->card();
  // A start at or beyond the last item leaves no fragment for this frame.
  if (startItem >= numItems)
    return 0;

  if (numberOfFrames <= 1 || static_cast<Sint64>(currentFrame) + 1 == numberOfFrames)
    return static_cast<Uint32>(numItems - startItem);
  // A frame beyond the last one has no fragments.
  if (static_cast<Sint64>(currentFrame) >= numberOfFrames)
    return 0;

  if (static_cast<Uint64>(numberOfFrames) + 1 == numItems)
    return 1;

  if (!ignoreOffsetTable)
  {
    DcmPixelItem* offsetTable = nullptr;
    Uint8* table = nullptr;
    if (pixSeq->getItem(offsetTable, 0).good() && offsetTable != nullptr &&
        offsetTable->getLength() == 4 * static_cast<Uint64>(numberOfFrames) &&
        offsetTable->getUint8Array(table).good() && table != nullptr)
    {
      Uint32 nextOffset = 0;
      memcpy(&nextOffset, table + 4 * (static_cast<size_t>(currentFrame) + 1), sizeof(nextOffset));
      swapIfNecessary(
        gLocalByteOrder, EBO_LittleEndian, &nextOffset, sizeof(nextOffset), sizeof(nextOffset));
      if (nextOffset != 0)
      {
        Uint64 sum = 0;
        unsigned long index = 1;
        while (sum < nextOffset && index < numItems)
        {
          DcmPixelItem* item = nullptr;
          if (pixSeq->getItem(item, index).bad() || item == nullptr)
            break;
          sum += static_cast<Uint64>(item->getLength()) + 8;
          ++index;
        }
        if (sum == nextOffset && index > startItem)
          return static_cast<Uint32>(index - startItem);
      }
    }
  }

  for (unsigned long index = static_cast<unsigned long>(startItem) + 1; index < numItems; ++index)
  {
    DcmPixelItem* item = nullptr;
    if (pixSeq->getItem(item, index).bad() || item == nullptr)
      break;
    // A fragment too short to start a codestream continues the frame: with a maximum fragment
    // size, a frame's last fragment may hold just its last bytes (the end marker).
    const Uint32 length = item->getLength();
    if (length < 4)
      continue;
    Uint8* bytes = nullptr;
    if (item->getUint8Array(bytes).bad() || bytes == nullptr)
      break;
    if (isJPEG2000StartOfCodestream(bytes, length))
      return static_cast<Uint32>(index - startItem);
  }
  return 0;
}

OFBool DJ2KDecoderBase::isJPEG2000StartOfCodestream(const Uint8* fragmentData,
  Uint32 fragmentLength)
{
  if (fragmentData == nullptr)
    return OFFalse;
  if (fragmentLength >= 2 && fragmentData[0] == 0xFF && fragmentData[1] == 0x4F)
    return OFTrue;
  return fragmentLength >= sizeof(kJP2Signature) &&
         memcmp(fragmentData, kJP2Signature, sizeof(kJP2Signature)) == 0;
}

Uint16 DJ2KDecoderBase::determinePlanarConfiguration(const OFString& sopClassUID,
  const OFString& photometricInterpretation)
{
  if (sopClassUID == kHardcopyColorImageStorage)
    return 1;
  if (photometricInterpretation == "YBR_FULL" &&
      (sopClassUID == kUltrasoundMultiframeImageStorage || sopClassUID == kUltrasoundImageStorage))
    return 1;
  return 0;
}

OFCondition DJ2KDecoderBase::determineDecompressedColorModel(
  const DcmRepresentationParameter* /*fromParam*/,
  DcmPixelSequence* /*fromPixSeq*/,
  const DcmCodecParameter* /*cp*/,
  DcmItem* dataset,
  OFString& decompressedColorModel) const
{
  OFCondition result = EC_IllegalParameter;
  if (dataset != nullptr)
  {
    result = dataset->findAndGetOFString(DCM_PhotometricInterpretation, decompressedColorModel);
    if (result == EC_TagNotFound)
    {
      DCMJ2K_WARN("mandatory element PhotometricInterpretation " << DCM_PhotometricInterpretation
                                                                 << " is missing");
      result = EC_MissingAttribute;
    }
    else if (result.bad())
    {
      DCMJ2K_WARN("cannot retrieve value of element PhotometricInterpretation "
                  << DCM_PhotometricInterpretation << ": " << result.text());
    }
    else if (decompressedColorModel.empty())
    {
      DCMJ2K_WARN("no value for mandatory element PhotometricInterpretation "
                  << DCM_PhotometricInterpretation);
      result = EC_MissingValue;
    }
    else if (namesComponentTransform(decompressedColorModel))
    {
      decompressedColorModel = "RGB";
    }
  }
  return result;
}

OFCondition DJ2KDecoderBase::createPlanarConfiguration1Byte(Uint8* imageFrame,
  Uint16 columns,
  Uint16 rows)
{
  return rearrangePlanes(imageFrame, columns, rows, OFTrue);
}

OFCondition DJ2KDecoderBase::createPlanarConfiguration1Word(Uint16* imageFrame,
  Uint16 columns,
  Uint16 rows)
{
  return rearrangePlanes(imageFrame, columns, rows, OFTrue);
}

OFCondition DJ2KDecoderBase::createPlanarConfiguration0Byte(Uint8* imageFrame,
  Uint16 columns,
  Uint16 rows)
{
  return rearrangePlanes(imageFrame, columns, rows, OFFalse);
}

OFCondition DJ2KDecoderBase::createPlanarConfiguration0Word(Uint16* imageFrame,
  Uint16 columns,
  Uint16 rows)
{
  return rearrangePlanes(imageFrame, columns, rows, OFFalse);
}

DJ2KLosslessDecoder::DJ2KLosslessDecoder()
  : DJ2KDecoderBase()
{
}

DJ2KLosslessDecoder::DJ2KLosslessDecoder(const DJ2KLosslessDecoder& arg)
  : DJ2KDecoderBase(arg)
{
}

DJ2KLosslessDecoder& DJ2KLosslessDecoder::operator=(const DJ2KLosslessDecoder& arg)
{
  DJ2KDecoderBase::operator=(arg);
  return *this;
}

DJ2KLosslessDecoder::~DJ2KLosslessDecoder() {}

E_TransferSyntax DJ2KLosslessDecoder::supportedTransferSyntax() const
{
  return EXS_JPEG2000LosslessOnly;
}

OFBool DJ2KLosslessDecoder::isLosslessProcess() const
{
  return OFTrue;
}

DJ2KDecoder::DJ2KDecoder()
  : DJ2KDecoderBase()
{
}

DJ2KDecoder::DJ2KDecoder(const DJ2KDecoder& arg)
  : DJ2KDecoderBase(arg)
{
}

DJ2KDecoder& DJ2KDecoder::operator=(const DJ2KDecoder& arg)
{
  DJ2KDecoderBase::operator=(arg);
  return *this;
}

DJ2KDecoder::~DJ2KDecoder() {}

E_TransferSyntax DJ2KDecoder::supportedTransferSyntax() const
{
  return EXS_JPEG2000;
}

OFBool DJ2KDecoder::isLosslessProcess() const
{
  return OFFalse;
}
