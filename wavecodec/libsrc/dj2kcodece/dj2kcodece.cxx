#include "dj2kcodece.h"

#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcerror.h"
#include "dcmtk/dcmdata/dcofsetl.h"
#include "dcmtk/dcmdata/dcpixseq.h"
#include "dcmtk/dcmdata/dcpxitem.h"
#include "dcmtk/dcmdata/dcstack.h"
#include "dcmtk/dcmdata/dcuid.h"
#include "dcmtk/dcmdata/dcxfer.h"
#include "dcmtk/ofstd/ofstd.h"
#include "dcmtk/ofstd/ofstream.h"

#include "dj2kcond.h"
#include "dj2kcparam.h"
#include "dj2kframes.h"
#include "dj2kostrm.h"
#include "dj2krparam.h"

#include <openjpeg.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

namespace
{

// Default target ratio of lossy encoding when none (or a non-positive one) is given.
const double J2K_DEFAULT_RATIO = 10.0;

// Samples whose bits above Bits Stored were not zero (unsigned) or not the sign extension
// (signed), and the first of them.
struct HighBits
{
  size_t count = 0;
  long firstValue = 0;
};

// Copies component j of a frame into OpenJPEG's 32-bit samples, keeping the low bitsStored
// bits of each sample, sign-extended when the samples are signed.
template <typename T>
void fillComponent(const T* frame,
  OPJ_INT32* target,
  size_t count,
  size_t samplesPerPixel,
  size_t component,
  bool isPlanar,
  Uint32 bitsStored,
  bool isSigned,
  HighBits& highBits)
{
  const T* source = isPlanar ? frame + component * count : frame + component;
  const size_t step = isPlanar ? 1 : samplesPerPixel;
  const OPJ_INT32 mask = OPJ_INT32((Uint32(1) << bitsStored) - 1);
  const OPJ_INT32 sign = isSigned ? OPJ_INT32(1) << (bitsStored - 1) : 0;
  for (size_t k = 0; k < count; ++k)
  {
    const OPJ_INT32 v = static_cast<OPJ_INT32>(source[k * step]);
    const OPJ_INT32 stored = ((v & mask) ^ sign) - sign;
    if (stored != v)
    {
      if (highBits.count == 0)
      {
        highBits.firstValue = v;
      }
      ++highBits.count;
    }
    target[k] = stored;
  }
}

// What the high bits of a frame's samples were, for a warning or a refusal.
OFString describeHighBits(Uint32 frameNumber,
  const HighBits& highBits,
  Uint32 bitsStored,
  OFBool isSigned)
{
  OFOStringStream text;
  text << "frame " << frameNumber << ": " << highBits.count << " samples have bits "
       << (isSigned ? "above Bits Stored " : "set above Bits Stored ") << bitsStored
       << (isSigned ? " that do not repeat its sign bit" : "") << " (first value "
       << highBits.firstValue << ")" << OFStringStream_ends;
  OFSTRINGSTREAM_GETOFSTRING(text, result)
  return result;
}

// Marks the image lossy and appends this compression's ratio to Lossy Image Compression Ratio
// (0028,2112) and its method to Lossy Image Compression Method (0028,2114), as DCMTK's lossy
// codecs do: earlier values are kept, and empty methods are added first while there are fewer
// methods than ratios.
OFCondition appendLossyCompression(DcmItem* dataset, double ratio, const char* method)
{
  OFCondition result = dataset->putAndInsertString(DCM_LossyImageCompression, "01");
  if (result.bad())
  {
    return result;
  }
  OFString ratios;
  if (dataset->findAndGetOFStringArray(DCM_LossyImageCompressionRatio, ratios).good() &&
      !ratios.empty())
  {
    ratios += "\\";
  }
  char buffer[64];
  OFStandard::ftoa(buffer, sizeof(buffer), ratio, OFStandard::ftoa_uppercase, 0, 5);
  ratios += buffer;
  result = dataset->putAndInsertOFStringArray(DCM_LossyImageCompressionRatio, ratios);
  if (result.bad())
  {
    return result;
  }
  OFString methods;
  if (dataset->findAndGetOFStringArray(DCM_LossyImageCompressionMethod, methods).good() &&
      !methods.empty())
  {
    methods += "\\";
  }
  const size_t ratioSeparators = std::count(ratios.begin(), ratios.end(), '\\');
  size_t methodSeparators = std::count(methods.begin(), methods.end(), '\\');
  while (methodSeparators < ratioSeparators)
  {
    methods += "\\";
    ++methodSeparators;
  }
  methods += method;
  return dataset->putAndInsertOFStringArray(DCM_LossyImageCompressionMethod, methods);
}

// Rescale Type (0028,1054) for a Secondary Capture image whose Modality LUT is a rescale:
// Hounsfield units for a former CT image, unspecified otherwise.
OFCondition insertRescaleType(DcmItem* dataset, const OFString& formerSOPClass)
{
  if (!dataset->tagExistsWithValue(DCM_RescaleIntercept) || dataset->tagExists(DCM_RescaleType))
  {
    return EC_Normal;
  }
  return dataset->putAndInsertString(
    DCM_RescaleType, formerSOPClass == UID_CTImageStorage ? "HU" : "US");
}

// Frees the OpenJPEG objects of one frame on every exit path.
struct J2KEncodeObjects
{
  opj_image_t* image = nullptr;
  opj_codec_t* codec = nullptr;
  opj_stream_t* stream = nullptr;

  ~J2KEncodeObjects()
  {
    if (stream != nullptr)
    {
      opj_stream_destroy(stream);
    }
    if (codec != nullptr)
    {
      opj_destroy_codec(codec);
    }
    if (image != nullptr)
    {
      opj_image_destroy(image);
    }
  }
};

} // namespace

DJ2KEncoderBase::DJ2KEncoderBase()
  : DcmCodec()
{
}

DJ2KEncoderBase::~DJ2KEncoderBase() {}

OFCondition DJ2KEncoderBase::decode(const DcmRepresentationParameter* /*fromRepParam*/,
  DcmPixelSequence* /*pixSeq*/,
  DcmPolymorphOBOW& /*uncompressedPixelData*/,
  const DcmCodecParameter* /*cp*/,
  const DcmStack& /*objStack*/,
  OFBool& /*removeOldRep*/) const
{
  return EC_IllegalCall;
}

OFCondition DJ2KEncoderBase::decodeFrame(const DcmRepresentationParameter* /*fromParam*/,
  DcmPixelSequence* /*fromPixSeq*/,
  const DcmCodecParameter* /*cp*/,
  DcmItem* /*dataset*/,
  Uint32 /*frameNo*/,
  Uint32& /*startFragment*/,
  void* /*buffer*/,
  Uint32 /*bufSize*/,
  OFString& /*decompressedColorModel*/) const
{
  return EC_IllegalCall;
}

OFCondition DJ2KEncoderBase::encode(const E_TransferSyntax /*fromRepType*/,
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

OFBool DJ2KEncoderBase::canChangeCoding(const E_TransferSyntax oldRepType,
  const E_TransferSyntax newRepType) const
{
  const DcmXfer oldRep(oldRepType);
  return oldRep.isNotEncapsulated() && newRepType == supportedTransferSyntax();
}

Uint16 DJ2KEncoderBase::decodedBitsAllocated(Uint16 /*bitsAllocated*/, Uint16 /*bitsStored*/) const
{
  return 0;
}

OFCondition DJ2KEncoderBase::determineDecompressedColorModel(
  const DcmRepresentationParameter* /*fromParam*/,
  DcmPixelSequence* /*fromPixSeq*/,
  const DcmCodecParameter* /*cp*/,
  DcmItem* /*dataset*/,
  OFString& /*decompressedColorModel*/) const
{
  return EC_IllegalCall;
}

OFCondition DJ2KEncoderBase::encode(const Uint16* pixelData,
  const Uint32 length,
  const DcmRepresentationParameter* toRepParam,
  DcmPixelSequence*& pixSeq,
  const DcmCodecParameter* cp,
  DcmStack& objStack,
  OFBool& removeOldRep) const
{
  removeOldRep = OFTrue;
  const DJ2KCodecParameter* djcp = dynamic_cast<const DJ2KCodecParameter*>(cp);
  if (djcp == nullptr)
  {
    return EC_IllegalCall;
  }

  const DJ2KRepresentationParameter defaultRep;
  const DJ2KRepresentationParameter* rep =
    dynamic_cast<const DJ2KRepresentationParameter*>(toRepParam);
  if (rep == nullptr)
  {
    rep = &defaultRep;
  }

  DcmStack stack(objStack);
  if (stack.card() < 2)
  {
    return EC_IllegalCall;
  }
  stack.pop();
  DcmItem* item = dynamic_cast<DcmItem*>(stack.top());
  if (item == nullptr)
  {
    return EC_IllegalCall;
  }

  Uint16 rows = 0;
  Uint16 columns = 0;
  Uint16 samplesPerPixel = 0;
  Uint16 bitsAllocated = 0;
  Uint16 bitsStored = 0;
  if (item->findAndGetUint16(DCM_Rows, rows).bad() ||
      item->findAndGetUint16(DCM_Columns, columns).bad() ||
      item->findAndGetUint16(DCM_SamplesPerPixel, samplesPerPixel).bad() ||
      item->findAndGetUint16(DCM_BitsAllocated, bitsAllocated).bad() ||
      item->findAndGetUint16(DCM_BitsStored, bitsStored).bad())
  {
    return EC_IllegalCall;
  }
  Uint16 pixelRepresentation = 0;
  if (item->findAndGetUint16(DCM_PixelRepresentation, pixelRepresentation).bad())
  {
    pixelRepresentation = 0;
  }
  Uint16 planarConfiguration = 0;
  if (item->findAndGetUint16(DCM_PlanarConfiguration, planarConfiguration).bad())
  {
    planarConfiguration = 0;
  }
  Sint32 numberOfFrames = 1;
  if (item->findAndGetSint32(DCM_NumberOfFrames, numberOfFrames).bad() || numberOfFrames < 1)
  {
    numberOfFrames = 1;
  }

  if (rows == 0 || columns == 0 || samplesPerPixel == 0 || bitsAllocated == 0 || bitsStored == 0)
  {
    return EC_J2KCodecInvalidParameters;
  }
  if (bitsAllocated != 8 && bitsAllocated != 16)
  {
    OFOStringStream text;
    text << "Bits Allocated " << bitsAllocated << ", supported are 8 and 16" << OFStringStream_ends;
    OFSTRINGSTREAM_GETOFSTRING(text, detail)
    return j2kDetailedCondition(EC_J2KUnsupportedBitDepth, detail);
  }
  // More bits stored than allocated cannot describe the samples (and OpenJPEG would write
  // a codestream of a precision it cannot read back).
  if (bitsStored > bitsAllocated)
  {
    return EC_J2KCodecInvalidParameters;
  }

  const OFBool isSigned = pixelRepresentation != 0;
  const OFBool isPlanar = planarConfiguration == 1 && samplesPerPixel > 1;
  const Uint64 frameSize = OFstatic_cast(Uint64, bitsAllocated / 8) * samplesPerPixel * columns *
                           OFstatic_cast(Uint64, rows);

  OFBool lossless = OFTrue;
  double ratio = 0.0;
  if (supportedTransferSyntax() != EXS_JPEG2000LosslessOnly && !rep->useLosslessProcess())
  {
    lossless = OFFalse;
    ratio = rep->getCompressionRatio() > 0.0 ? rep->getCompressionRatio() : J2K_DEFAULT_RATIO;
  }

  const OFBool createOffsetTable = djcp->getCreateOffsetTable();
  const Uint32 fragmentSize = j2kFragmentSizeArgument(djcp->getFragmentSize());

  // Compared by division: frame size times frames may not fit 64 bits.
  if (pixelData == nullptr || length / frameSize < OFstatic_cast(Uint64, numberOfFrames))
  {
    OFString photometric;
    (void)item->findAndGetOFString(DCM_PhotometricInterpretation, photometric);
    OFOStringStream text;
    text << "Uncompressed pixel data too short: " << (pixelData == nullptr ? 0 : length)
         << " bytes for " << numberOfFrames << (numberOfFrames == 1 ? " frame" : " frames")
         << " of " << columns << " x " << rows << " pixels, " << samplesPerPixel
         << (samplesPerPixel == 1 ? " sample" : " samples") << " of " << bitsAllocated / 8
         << (bitsAllocated == 8 ? " byte" : " bytes") << " each (" << frameSize
         << " bytes per frame)";
    if (photometric == "YBR_FULL_422")
    {
      text << "; YBR_FULL_422 pixel data share their chroma samples between two pixels, "
              "which JPEG 2000 encoding does not support";
    }
    text << OFStringStream_ends;
    OFSTRINGSTREAM_GETOFSTRING(text, detail)
    return j2kCondition(EC_J2KUncompressedBufferTooSmall, detail);
  }

  DcmPixelSequence* sequence = new (std::nothrow) DcmPixelSequence(DcmTag(DCM_PixelData, EVR_OB));
  DcmPixelItem* offsetTable =
    sequence == nullptr ? nullptr : new (std::nothrow) DcmPixelItem(DcmTag(DCM_Item, EVR_OB));
  if (sequence == nullptr || offsetTable == nullptr)
  {
    delete offsetTable;
    delete sequence;
    return EC_MemoryExhausted;
  }
  OFCondition result = sequence->insert(offsetTable);
  if (result.bad())
  {
    delete offsetTable;
    delete sequence;
    return result;
  }

  // Frames are encoded on worker threads and stored in frame order; a frame waits for its
  // turn with its codestream, and at most one frame per worker is started ahead of the
  // frames stored.
  struct EncodedFrame
  {
    OFCondition result;
    Uint8* bytes = nullptr;
    Uint64 size = 0;
  };
  std::vector<EncodedFrame> encoded(static_cast<size_t>(numberOfFrames));
  const DJ2KFrameRunner runner(
    djcp->getThreadCount(), encoded.size(), static_cast<Uint64>(columns) * rows * samplesPerPixel);
  DcmOffsetList offsetList;
  const Uint8* frames = OFreinterpret_cast(const Uint8*, pixelData);
  Uint64 totalCompressedSize = 0;
  const OFBool refuseHighBits = djcp->getRefuseHighBits();
  runner.run(
    [&](size_t i)
    {
      encoded[i].result = encodeFrame(frames + i * frameSize,
        columns,
        rows,
        samplesPerPixel,
        bitsAllocated,
        bitsStored,
        isSigned,
        isPlanar,
        lossless,
        ratio,
        refuseHighBits,
        OFstatic_cast(Uint32, i + 1),
        encoded[i].bytes,
        encoded[i].size,
        runner.openjpegThreads(i));
    },
    [&](size_t i) -> OFBool
    {
      result = encoded[i].result;
      if (result.good())
      {
        // The bytes the fragments hold: DCMTK pads each frame to even length.
        totalCompressedSize += encoded[i].size + (encoded[i].size & 1);
        result = j2kStoreCompressedFrame(
          sequence, offsetList, encoded[i].bytes, encoded[i].size, fragmentSize);
      }
      delete[] encoded[i].bytes;
      encoded[i].bytes = nullptr;
      return result.good();
    },
    runner.workers());
  // Frames encoded after a failing one are not stored.
  for (EncodedFrame& frame : encoded)
  {
    delete[] frame.bytes;
  }
  if (result.bad())
  {
    delete sequence;
    return result;
  }

  if (createOffsetTable)
  {
    result = offsetTable->createOffsetTable(offsetList);
    if (result.bad())
    {
      delete sequence;
      return result;
    }
  }

  pixSeq = sequence;

  // The codestream defines the component layout: by pixel, as the standard asks.
  if (samplesPerPixel > 1)
  {
    (void)item->putAndInsertUint16(DCM_PlanarConfiguration, 0);
  }

  DcmDataset* dataset = dynamic_cast<DcmDataset*>(item);
  if (dataset != nullptr)
  {
    const J2K_UIDCreation uidCreation = djcp->getUIDCreation();
    OFString sopClass;
    (void)dataset->findAndGetOFString(DCM_SOPClassUID, sopClass);
    OFBool newUID = OFFalse;
    if (!lossless)
    {
      // The achieved ratio: Bits Stored, as the encoder's rates count them, over the bytes
      // of the new fragments.
      const double uncompressedSize =
        double(columns) * rows * samplesPerPixel * bitsStored / 8.0 * double(numberOfFrames);
      const double achieved =
        totalCompressedSize > 0 ? uncompressedSize / double(totalCompressedSize) : 0.0;
      (void)appendLossyCompression(dataset, achieved, "ISO_15444_1");
      newUID = uidCreation != EJ2KUC_never;
    }
    else
    {
      newUID = uidCreation == EJ2KUC_always;
    }
    // An instance of another SOP Class is another instance.
    const OFBool changesSOPClass =
      djcp->getConvertToSC() && sopClass != UID_SecondaryCaptureImageStorage;
    if (newUID || changesSOPClass)
    {
      result = DcmCodec::newInstance(dataset, nullptr, nullptr, nullptr);
      if (result.bad())
      {
        return result;
      }
    }
    if (djcp->getConvertToSC())
    {
      result = DcmCodec::convertToSecondaryCapture(dataset);
      if (result.bad())
      {
        return result;
      }
      result = insertRescaleType(dataset, sopClass);
      if (result.bad())
      {
        return result;
      }
    }
  }
  return EC_Normal;
}

OFCondition DJ2KEncoderBase::encodeFrame(const Uint8* framePointer,
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
  Uint32 openjpegThreads)
{
  compressedFrame = nullptr;
  compressedSize = 0;

  // The output buffer outlives the stream, whose destruction releases it.
  J2KOutputBuffer output;
  std::memset(&output, 0, sizeof(output));
  J2KEncodeObjects objects;
  {
    opj_image_cmptparm_t* componentParameters =
      new (std::nothrow) opj_image_cmptparm_t[samplesPerPixel];
    if (componentParameters == nullptr)
    {
      return EC_MemoryExhausted;
    }
    std::memset(componentParameters, 0, sizeof(opj_image_cmptparm_t) * samplesPerPixel);
    for (Uint32 j = 0; j < samplesPerPixel; ++j)
    {
      opj_image_cmptparm_t& c = componentParameters[j];
      c.dx = 1;
      c.dy = 1;
      c.w = columns;
      c.h = rows;
      c.x0 = 0;
      c.y0 = 0;
      c.prec = bitsStored;
      c.sgnd = isSigned ? 1 : 0;
    }
    const OPJ_COLOR_SPACE colorSpace = samplesPerPixel == 1 ? OPJ_CLRSPC_GRAY : OPJ_CLRSPC_SRGB;
    objects.image = opj_image_create(samplesPerPixel, componentParameters, colorSpace);
    delete[] componentParameters;
  }
  if (objects.image == nullptr)
  {
    return EC_MemoryExhausted;
  }
  opj_image_t* image = objects.image;
  image->x0 = 0;
  image->y0 = 0;
  image->x1 = columns;
  image->y1 = rows;

  // Only the Bits Stored bits are coded: padding values, overlay bits or signed samples that
  // are not sign-extended would otherwise be clipped by OpenJPEG.
  const size_t count = OFstatic_cast(size_t, columns) * rows;
  HighBits highBits;
  for (Uint32 j = 0; j < samplesPerPixel; ++j)
  {
    OPJ_INT32* target = image->comps[j].data;
    if (bitsAllocated == 8)
    {
      if (isSigned)
      {
        fillComponent(OFreinterpret_cast(const Sint8*, framePointer),
          target,
          count,
          samplesPerPixel,
          j,
          isPlanar,
          bitsStored,
          true,
          highBits);
      }
      else
      {
        fillComponent(
          framePointer, target, count, samplesPerPixel, j, isPlanar, bitsStored, false, highBits);
      }
    }
    else if (isSigned)
    {
      fillComponent(OFreinterpret_cast(const Sint16*, framePointer),
        target,
        count,
        samplesPerPixel,
        j,
        isPlanar,
        bitsStored,
        true,
        highBits);
    }
    else
    {
      fillComponent(OFreinterpret_cast(const Uint16*, framePointer),
        target,
        count,
        samplesPerPixel,
        j,
        isPlanar,
        bitsStored,
        false,
        highBits);
    }
  }
  if (highBits.count > 0)
  {
    const OFString detail = describeHighBits(frameNumber, highBits, bitsStored, isSigned);
    if (refuseHighBits)
    {
      return j2kDetailedCondition(EC_J2KCodecUnsupportedValue, detail);
    }
    DCMJ2K_WARN(detail << "; encoding only the stored bits" << (isSigned ? ", sign-extended" : ""));
  }

  opj_cparameters_t parameters;
  opj_set_default_encoder_parameters(&parameters);
  parameters.cp_disto_alloc = 1;
  parameters.tcp_numlayers = 1;
  parameters.tcp_rates[0] = lossless ? 0.0f : OFstatic_cast(float, compressionRatio);
  parameters.irreversible = lossless ? 0 : 1;
  // Every resolution level needs at least one sample in each direction: fewer levels than
  // the default for images smaller than 2^(levels - 1), which OpenJPEG refuses otherwise.
  while (parameters.numresolution > 1 && ((columns >> (parameters.numresolution - 1)) == 0 ||
                                           (rows >> (parameters.numresolution - 1)) == 0))
  {
    --parameters.numresolution;
  }

  objects.codec = opj_create_compress(OPJ_CODEC_J2K);
  if (objects.codec == nullptr)
  {
    return EC_MemoryExhausted;
  }
  opj_set_info_handler(objects.codec, nullptr, nullptr);
  opj_set_warning_handler(objects.codec, nullptr, nullptr);
  opj_set_error_handler(objects.codec, nullptr, nullptr);

  if (!opj_setup_encoder(objects.codec, &parameters, image))
  {
    return EC_J2KCodecInvalidParameters;
  }
  // OpenJPEG 2.5 encodes the code blocks and the wavelet transform on its own threads; the
  // codestream does not depend on their number. A refusal leaves it on this thread.
  if (openjpegThreads > 1)
  {
    (void)opj_codec_set_threads(
      objects.codec, static_cast<int>(openjpegThreads < INT_MAX ? openjpegThreads : INT_MAX));
  }

  objects.stream = opj_stream_create(J2K_OUTPUT_CHUNK, OPJ_FALSE);
  if (objects.stream == nullptr)
  {
    return EC_MemoryExhausted;
  }
  opj_stream_set_user_data(objects.stream, &output, j2kOutputRelease);
  opj_stream_set_user_data_length(objects.stream, 0);
  opj_stream_set_write_function(objects.stream, j2kOutputWrite);
  opj_stream_set_skip_function(objects.stream, j2kOutputSkip);
  opj_stream_set_seek_function(objects.stream, j2kOutputSeek);

  if (!opj_start_compress(objects.codec, image, objects.stream) ||
      !opj_encode(objects.codec, objects.stream) ||
      !opj_end_compress(objects.codec, objects.stream))
  {
    return EC_J2KInvalidCompressedData;
  }

  Uint8* bytes = nullptr;
  if (output.length > 0)
  {
    bytes = new (std::nothrow) Uint8[output.length];
    if (bytes == nullptr)
    {
      return EC_MemoryExhausted;
    }
    std::memcpy(bytes, output.data, output.length);
  }
  compressedFrame = bytes;
  compressedSize = output.length;
  return EC_Normal;
}

E_TransferSyntax DJ2KLosslessEncoder::supportedTransferSyntax() const
{
  return EXS_JPEG2000LosslessOnly;
}

E_TransferSyntax DJ2KEncoder::supportedTransferSyntax() const
{
  return EXS_JPEG2000;
}
