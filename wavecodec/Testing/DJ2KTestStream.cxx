#include "DJ2KTestStream.h"

#include <algorithm>
#include <cstring>

namespace dj2ktest
{

namespace
{

// Output: a vector that grows to the highest position written or skipped to.
struct Output
{
  std::vector<uint8_t> data;
  size_t position = 0;
};

OPJ_SIZE_T OutputWrite(void* buffer, OPJ_SIZE_T count, void* user)
{
  Output* out = static_cast<Output*>(user);
  if (out->position + count > out->data.size())
    out->data.resize(out->position + count);
  std::memcpy(out->data.data() + out->position, buffer, count);
  out->position += count;
  return count;
}

OPJ_OFF_T OutputSkip(OPJ_OFF_T count, void* user)
{
  Output* out = static_cast<Output*>(user);
  out->position += size_t(count);
  if (out->position > out->data.size())
    out->data.resize(out->position);
  return count;
}

OPJ_BOOL OutputSeek(OPJ_OFF_T position, void* user)
{
  Output* out = static_cast<Output*>(user);
  out->position = size_t(position);
  if (out->position > out->data.size())
    out->data.resize(out->position);
  return OPJ_TRUE;
}

// Input: bytes that belong to the caller.
struct Input
{
  const uint8_t* data;
  size_t size;
  size_t position;
};

OPJ_SIZE_T InputRead(void* buffer, OPJ_SIZE_T count, void* user)
{
  Input* in = static_cast<Input*>(user);
  if (in->position >= in->size)
    return OPJ_SIZE_T(-1);
  const size_t n = std::min(size_t(count), in->size - in->position);
  std::memcpy(buffer, in->data + in->position, n);
  in->position += n;
  return n;
}

OPJ_OFF_T InputSkip(OPJ_OFF_T count, void* user)
{
  Input* in = static_cast<Input*>(user);
  if (count < 0)
    return -1;
  const size_t n = std::min(size_t(count), in->size - in->position);
  in->position += n;
  return OPJ_OFF_T(n);
}

OPJ_BOOL InputSeek(OPJ_OFF_T position, void* user)
{
  Input* in = static_cast<Input*>(user);
  if (position < 0 || size_t(position) > in->size)
    return OPJ_FALSE;
  in->position = size_t(position);
  return OPJ_TRUE;
}

} // namespace

std::vector<uint8_t> CompressToMemory(opj_image_t* image,
  opj_cparameters_t& parameters,
  OPJ_CODEC_FORMAT format)
{
  Output out;
  opj_codec_t* codec = opj_create_compress(format);
  opj_stream_t* stream = nullptr;
  bool ok = codec != nullptr && opj_setup_encoder(codec, &parameters, image);
  if (ok)
  {
    stream = opj_stream_create(1 << 20, OPJ_FALSE);
    ok = stream != nullptr;
  }
  if (ok)
  {
    opj_stream_set_user_data(stream, &out, nullptr);
    opj_stream_set_write_function(stream, OutputWrite);
    opj_stream_set_skip_function(stream, OutputSkip);
    opj_stream_set_seek_function(stream, OutputSeek);
    ok = opj_start_compress(codec, image, stream) && opj_encode(codec, stream) &&
         opj_end_compress(codec, stream);
  }
  if (stream != nullptr)
    opj_stream_destroy(stream);
  if (codec != nullptr)
    opj_destroy_codec(codec);
  return ok ? out.data : std::vector<uint8_t>();
}

OpjImage DecompressFromMemory(const uint8_t* data, size_t size)
{
  if (data == nullptr || size < 2)
    return nullptr;
  // A raw codestream starts with the SOC marker FF 4F, a JP2 file with its signature box.
  opj_codec_t* codec = opj_create_decompress(data[0] == 0xFF ? OPJ_CODEC_J2K : OPJ_CODEC_JP2);
  opj_dparameters_t parameters;
  opj_set_default_decoder_parameters(&parameters);
  Input in{ data, size, 0 };
  opj_stream_t* stream = opj_stream_create(size, OPJ_TRUE);
  opj_image_t* image = nullptr;
  bool ok = codec != nullptr && stream != nullptr && opj_setup_decoder(codec, &parameters);
  if (ok)
  {
    opj_stream_set_user_data(stream, &in, nullptr);
    opj_stream_set_user_data_length(stream, size);
    opj_stream_set_read_function(stream, InputRead);
    opj_stream_set_skip_function(stream, InputSkip);
    opj_stream_set_seek_function(stream, InputSeek);
    ok = opj_read_header(stream, codec, &image) && opj_decode(codec, stream, image) &&
         opj_end_decompress(codec, stream);
  }
  if (stream != nullptr)
    opj_stream_destroy(stream);
  if (codec != nullptr)
    opj_destroy_codec(codec);
  OpjImage result(image);
  if (!ok)
    result.reset();
  return result;
}

std::vector<uint8_t> Encode(const Image& image, bool jp2, bool lossless)
{
  const uint32_t numcomps = uint32_t(image.comps.size());
  std::vector<opj_image_cmptparm_t> params(numcomps);
  for (uint32_t c = 0; c < numcomps; ++c)
  {
    opj_image_cmptparm_t& p = params[c];
    std::memset(&p, 0, sizeof(p));
    p.dx = c == 0 ? 1 : image.dx;
    p.dy = c == 0 ? 1 : image.dy;
    p.w = (image.columns + p.dx - 1) / p.dx;
    p.h = (image.rows + p.dy - 1) / p.dy;
    p.prec = image.bitsStored;
    p.sgnd = image.isSigned() ? 1 : 0;
  }
  OpjImage img(
    opj_image_create(numcomps, params.data(), numcomps == 1 ? OPJ_CLRSPC_GRAY : OPJ_CLRSPC_SRGB));
  if (!img)
    return {};
  img->x0 = 0;
  img->y0 = 0;
  img->x1 = image.columns;
  img->y1 = image.rows;
  for (uint32_t c = 0; c < numcomps; ++c)
  {
    const size_t n = size_t(img->comps[c].w) * img->comps[c].h;
    for (size_t k = 0; k < n; ++k)
      img->comps[c].data[k] = k < image.comps[c].size() ? image.comps[c][k] : 0;
  }
  opj_cparameters_t parameters;
  opj_set_default_encoder_parameters(&parameters);
  parameters.tcp_numlayers = 1;
  parameters.cp_disto_alloc = 1;
  parameters.tcp_rates[0] = lossless ? 0.0f : 10.0f;
  parameters.irreversible = lossless ? 0 : 1;
  // OpenJPEG needs every resolution level to keep at least one sample per component.
  uint32_t smallest = std::min<uint32_t>(image.columns, image.rows);
  if (image.dx > 1 || image.dy > 1)
    smallest = std::min(smallest, std::min(image.columns / image.dx, image.rows / image.dy));
  int levels = 1;
  while (levels < 6 && (smallest >> levels) > 0)
    ++levels;
  parameters.numresolution = levels;
  parameters.tcp_mct = (image.mct && numcomps == 3 && image.dx == 1 && image.dy == 1) ? 1 : 0;
  return CompressToMemory(img.get(), parameters, jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
}

DecodedCodestream DecodeCodestream(const std::vector<uint8_t>& bytes)
{
  DecodedCodestream result;
  for (size_t i = 0; i + 13 < bytes.size(); ++i)
  {
    if (bytes[i] == 0xFF && bytes[i + 1] == 0x52)
    {
      result.mct = bytes[i + 8] == 1;
      result.reversible = bytes[i + 13] == 1;
      break;
    }
  }
  const OpjImage image = DecompressFromMemory(bytes.data(), bytes.size());
  if (!image)
    return result;
  result.ok = true;
  result.width = image->x1 - image->x0;
  result.height = image->y1 - image->y0;
  for (unsigned c = 0; c < image->numcomps; ++c)
  {
    const opj_image_comp_t& comp = image->comps[c];
    result.precision.push_back(comp.prec);
    result.isSigned.push_back(comp.sgnd != 0);
    result.components.emplace_back(comp.data, comp.data + size_t(comp.w) * comp.h);
  }
  return result;
}

} // namespace dj2ktest
