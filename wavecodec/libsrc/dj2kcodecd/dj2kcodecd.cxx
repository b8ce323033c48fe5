#include "dj2kcodecd.h"

#include "dj2kcond.h"
#include "dj2kcparam.h"
#include "dj2kdecj2k.h"
#include "dj2kframes.h"

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
#include <mutex>
#include <new>
#include <vector>

// The compressed bytes of one frame as its fragments hold them, in order. The items are found
// first; their bytes are fetched (DCMTK reads a value from its file on first use) just before
// the frame is decoded.
struct DJ2KFrameFragments
{
  struct Piece
  {
    DcmPixelItem* item;
    size_t length;
    const Uint8* data; // null until fetched
  };
  std::vector<Piece> pieces;
  Uint64 length = 0; // of all pieces
};

namespace
{

// DCMTK's data sets and pixel sequences are not safe for use by several threads at once
// (even a lookup moves a list's cursor): the codec reads and writes them under this lock and
// decodes without it.
std::mutex& dcmtkMutex()
{
  static std::mutex mutex;
  return mutex;
}

// Pixel Representation, 0 when absent.
Uint16 pixelRepresentation(DcmItem* item)
{
  Uint16 value = 0;
  if (item->findAndGetUint16(DCM_PixelRepresentation, value).bad())
    value = 0;
  return value;
}

// Photometric Interpretation, empty when absent.
OFString photometricInterpretation(DcmItem* item)
{
  OFString value;
  if (item->findAndGetOFString(DCM_PhotometricInterpretation, value).bad())
    value.clear();
  return value;
}

// The bytes of located fragments; the caller holds dcmtkMutex(). A fragment without bytes
// adds nothing.
OFCondition fetchFragments(DJ2KFrameFragments& fragments)
{
  fragments.length = 0;
  for (DJ2KFrameFragments::Piece& piece : fragments.pieces)
  {
    Uint8* bytes = nullptr;
    const OFCondition result = piece.item->getUint8Array(bytes);
    if (result.bad())
      return result;
    piece.data = bytes;
    if (bytes == nullptr)
      piece.length = 0;
    fragments.length += piece.length;
  }
  return EC_Normal;
}

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

  std::unique_lock<std::mutex> lock(dcmtkMutex());
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

  // Every frame's fragments are found before the first is decoded, frame after frame as a
  // serial decoding meets them; the search stops at the first frame whose fragments cannot
  // be had, which then fails with that condition in its turn. Their bytes are fetched frame by
  // frame as the frames are decoded, so that reading them from the file overlaps decoding.
  const Uint16 pixelRep = pixelRepresentation(ditem);
  const OFString photometric = photometricInterpretation(ditem);
  std::vector<DJ2KFrameFragments> fragments(static_cast<size_t>(frames));
  std::vector<OFCondition> results(static_cast<size_t>(frames));
  std::vector<char> transformed(static_cast<size_t>(frames), 0);
  size_t used = 0;
  Uint32 startFragment = 1;
  while (used < fragments.size())
  {
    results[used] =
      locateFrame(pixSeq, djcp, static_cast<Uint32>(used), startFragment, frames, fragments[used]);
    if (results[used++].bad())
      break;
  }
  lock.unlock();

  // Each frame is decoded into its own part of the array, on any thread. What depends on the
  // data set (the planar configuration, which the frames before may have written) is decided
  // as the frames are committed, in frame order.
  const DJ2KFrameRunner runner(
    djcp->getThreadCount(), used, static_cast<Uint64>(g.columns) * g.rows * g.samplesPerPixel);
  const OFBool ignoreBadFrames = djcp->getForceSingleFragmentPerFrame();
  OFBool rgbOutput = OFFalse;
  result = EC_Normal;
  runner.run(
    [&](size_t frame)
    {
      DCMJ2K_DEBUG("JPEG 2000 decoder processes frame " << (frame + 1));
      if (results[frame].good())
      {
        std::lock_guard<std::mutex> guard(dcmtkMutex());
        results[frame] = fetchFragments(fragments[frame]);
      }
      if (results[frame].good())
      {
        OFBool componentTransform = OFFalse;
        results[frame] = decodeFragments(fragments[frame],
          pixelData8 + frame * frameSize,
          static_cast<Uint32>(frameSize),
          g.columns,
          g.rows,
          g.samplesPerPixel,
          g.bytesPerSample,
          pixelRep,
          runner.openjpegThreads(frame),
          componentTransform);
        transformed[frame] = componentTransform ? 1 : 0;
      }
    },
    [&](size_t frame) -> OFBool
    {
      OFCondition frameResult = results[frame];
      Uint16 planarConfig = 0;
      {
        std::lock_guard<std::mutex> guard(dcmtkMutex());
        planarConfig = outputPlanarConfiguration(ditem, djcp, g.samplesPerPixel, OFTrue);
      }
      OFBool frameRGB = OFFalse;
      if (frameResult.good())
        frameResult = arrangeFrame(djcp,
          pixelData8 + frame * frameSize,
          g.columns,
          g.rows,
          g.samplesPerPixel,
          g.bytesPerSample,
          transformed[frame] != 0 || namesComponentTransform(photometric),
          planarConfig,
          frameRGB);
      rgbOutput = rgbOutput || frameRGB;
      if (frameResult.good() && g.samplesPerPixel > 1)
      {
        std::lock_guard<std::mutex> guard(dcmtkMutex());
        (void)ditem->putAndInsertUint16(DCM_PlanarConfiguration, planarConfig);
      }
      if (frameResult == EC_J2KInvalidCompressedData && ignoreBadFrames)
      {
        DCMJ2K_WARN("JPEG 2000 bitstream invalid or incomplete, ignoring (but image is likely to "
                    "be incomplete)");
        frameResult = EC_Normal;
      }
      result = frameResult;
      return result.good();
    },
    0);
  if (result.bad())
    return result;

  lock.lock();
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
  Sint32 frames = 0;
  {
    std::lock_guard<std::mutex> lock(dcmtkMutex());
    OFCondition result = readGeometry(dataset, OFFalse, g);
    if (result.bad())
      return result;
    frames = framesUsed(g.frames, fromPixSeq);

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
  }
  DCMJ2K_DEBUG("starting to decode frame " << frameNo << " with fragment " << startFragment);
  OFBool rgbOutput = OFFalse;
  OFCondition result = decodeFrame(fromPixSeq,
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
    std::lock_guard<std::mutex> lock(dcmtkMutex());
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
  DJ2KFrameFragments fragments;
  Uint16 pixelRep = 0;
  Uint16 planarConfig = 0;
  OFString photometric;
  OFCondition result;
  {
    std::lock_guard<std::mutex> lock(dcmtkMutex());
    pixelRep = pixelRepresentation(dataset);
    photometric = photometricInterpretation(dataset);
    planarConfig = outputPlanarConfiguration(dataset, cp, imageSamplesPerPixel, OFTrue);
    result = locateFrame(fromPixSeq, cp, frameNo, startFragment, imageFrames, fragments);
    if (result.good())
      result = fetchFragments(fragments);
  }
  // One frame: OpenJPEG has every thread the codec may use.
  OFBool componentTransform = OFFalse;
  if (result.good())
    result = decodeFragments(fragments,
      buffer,
      bufSize,
      imageColumns,
      imageRows,
      imageSamplesPerPixel,
      bytesPerSample,
      pixelRep,
      DJ2KFrameRunner(cp->getThreadCount(),
        1,
        static_cast<Uint64>(imageColumns) * imageRows * imageSamplesPerPixel)
        .openjpegThreads(0),
      componentTransform);
  if (result.good())
    result = arrangeFrame(cp,
      buffer,
      imageColumns,
      imageRows,
      imageSamplesPerPixel,
      bytesPerSample,
      componentTransform || namesComponentTransform(photometric),
      planarConfig,
      rgbOutput);
  if (result.good() && imageSamplesPerPixel > 1)
  {
    std::lock_guard<std::mutex> lock(dcmtkMutex());
    (void)dataset->putAndInsertUint16(DCM_PlanarConfiguration, planarConfig);
  }
  return result;
}

Uint16 DJ2KDecoderBase::outputPlanarConfiguration(DcmItem* dataset,
  const DJ2KCodecParameter* cp,
  Uint16 imageSamplesPerPixel,
  OFBool warn)
{
  if (imageSamplesPerPixel <= 1)
    return 0;
  Uint16 planarConfig = 2;
  Uint16 stored = 0;
  if (dataset->findAndGetUint16(DCM_PlanarConfiguration, stored).good())
  {
    planarConfig = stored;
    if (stored != 0 && warn)
    {
      DCMJ2K_WARN(
        "invalid value for PlanarConfiguration " << DCM_PlanarConfiguration << ", should be \"0\"");
    }
  }
  OFString sopClassUID;
  if (dataset->findAndGetOFString(DCM_SOPClassUID, sopClassUID).bad())
    sopClassUID.clear();
  const OFString photometric = photometricInterpretation(dataset);
  switch (cp->getPlanarConfiguration())
  {
    case EJ2KPC_auto:
      return determinePlanarConfiguration(sopClassUID, photometric);
    case EJ2KPC_colorByPixel:
      return 0;
    case EJ2KPC_colorByPlane:
      return 1;
    case EJ2KPC_restore:
    default:
      // An unknown policy restores too, so that no value above 1 is written.
      if (planarConfig > 1)
        planarConfig = determinePlanarConfiguration(sopClassUID, photometric);
      return planarConfig;
  }
}

OFCondition DJ2KDecoderBase::arrangeFrame(const DJ2KCodecParameter* cp,
  void* buffer,
  Uint16 imageColumns,
  Uint16 imageRows,
  Uint16 imageSamplesPerPixel,
  Uint16 bytesPerSample,
  OFBool componentTransform,
  Uint16& planarConfiguration,
  OFBool& rgbOutput)
{
  rgbOutput = OFFalse;
  // After the inverse component transform, or for a frame labelled with one, the samples are
  // RGB interleaved by pixel; only an explicit request keeps them by plane.
  if (imageSamplesPerPixel > 1 && componentTransform)
  {
    rgbOutput = OFTrue;
    if (cp->getPlanarConfiguration() != EJ2KPC_colorByPlane)
      planarConfiguration = 0;
  }
  if (imageSamplesPerPixel == 3 && planarConfiguration == 1)
  {
    DCMJ2K_DEBUG("converting to planar configuration 1");
    if (bytesPerSample == 1)
      return createPlanarConfiguration1Byte(static_cast<Uint8*>(buffer), imageColumns, imageRows);
    return createPlanarConfiguration1Word(static_cast<Uint16*>(buffer), imageColumns, imageRows);
  }
  return EC_Normal;
}

OFCondition DJ2KDecoderBase::locateFrame(DcmPixelSequence* fromPixSeq,
  const DJ2KCodecParameter* cp,
  Uint32 frameNo,
  Uint32& startFragment,
  Sint32 imageFrames,
  DJ2KFrameFragments& fragments)
{
  fragments.pieces.clear();
  fragments.length = 0;
  const Uint32 numberOfFragments = computeNumberOfFragments(
    imageFrames, frameNo, startFragment, cp->ignoreOffsetTable(), fromPixSeq);
  if (numberOfFragments == 0)
    return EC_J2KCannotComputeNumberOfFragments;

  // The fragments of this frame, all inside the sequence.
  const unsigned long itemCount = fromPixSeq->card();
  Uint64 totalLength = 0;
  for (Uint32 k = 0; k < numberOfFragments; ++k)
  {
    DcmPixelItem* item = nullptr;
    OFCondition result = fromPixSeq->getItem(item, static_cast<unsigned long>(startFragment) + k);
    if (result.bad())
      return result;
    if (item != nullptr)
      totalLength += item->getLength();
  }
  if (startFragment + static_cast<Uint64>(numberOfFragments) > itemCount ||
      totalLength > static_cast<Uint64>(static_cast<size_t>(-1) / 2))
    return EC_J2KCannotComputeNumberOfFragments;

  fragments.pieces.reserve(numberOfFragments);
  for (Uint32 k = 0; k < numberOfFragments; ++k)
  {
    DcmPixelItem* item = nullptr;
    OFCondition result = fromPixSeq->getItem(item, startFragment);
    ++startFragment;
    if (result.bad())
      return result;
    const Uint32 length = item == nullptr ? 0 : item->getLength();
    if (length > 0)
    {
      // Never more than the space counted above, even if an item changed its length.
      const Uint64 n =
        length < totalLength - fragments.length ? length : totalLength - fragments.length;
      fragments.pieces.push_back(
        DJ2KFrameFragments::Piece{ item, static_cast<size_t>(n), nullptr });
      fragments.length += n;
    }
  }
  return EC_Normal;
}

OFCondition DJ2KDecoderBase::decodeFragments(const DJ2KFrameFragments& fragments,
  void* buffer,
  Uint32 bufSize,
  Uint16 imageColumns,
  Uint16 imageRows,
  Uint16 imageSamplesPerPixel,
  Uint16 bytesPerSample,
  Uint16 pixelRepresentation,
  Uint32 openjpegThreads,
  OFBool& componentTransform)
{
  componentTransform = OFFalse;
  // A frame in one fragment is decoded where it lies; fragments are joined first.
  Uint8* joined = nullptr;
  const Uint8* codestream = nullptr;
  if (fragments.pieces.size() == 1)
  {
    codestream = fragments.pieces[0].data;
  }
  else
  {
    joined =
      new (std::nothrow) Uint8[fragments.length == 0 ? 1 : static_cast<size_t>(fragments.length)];
    if (joined == nullptr)
      return EC_MemoryExhausted;
    size_t offset = 0;
    for (const DJ2KFrameFragments::Piece& piece : fragments.pieces)
    {
      if (piece.length > 0)
        memcpy(joined + offset, piece.data, piece.length);
      offset += piece.length;
    }
    codestream = joined;
  }
  const OFCondition result = decodeJPEG2000(const_cast<Uint8*>(codestream),
    fragments.length,
    buffer,
    bufSize,
    imageColumns,
    imageRows,
    imageSamplesPerPixel,
    bytesPerSample,
    pixelRepresentation,
    &componentTransform,
    openjpegThreads);
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
