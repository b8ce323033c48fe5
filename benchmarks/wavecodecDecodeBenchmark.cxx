// Decoding speed of the JPEG 2000 codec, measured side by side in one run:
//  1. a 100-frame 512x512 16-bit lossless series decoded through DCMTK with the codec, against
//     the same codestreams decoded with OpenJPEG alone (goal: ratio at most 1.05);
//  2. dcmdj2k against gdcmconv --raw on the same file, whole process.
// The series is made here. Options: --rounds=N (default 5), --frames=N (default 100).
#include "BenchmarkMedian.h"
#include "dj2kdecode.h"

#include "dcmtk/config/osconfig.h"
#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcpixel.h"
#include "dcmtk/dcmdata/dcpixseq.h"
#include "dcmtk/dcmdata/dcpxitem.h"

#include <openjpeg.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

extern char** environ;

namespace
{

const unsigned kSize = 512;
const unsigned kDistinctFrames = 10;

struct Buffer
{
  std::vector<uint8_t> data;
  size_t position = 0;
};

OPJ_SIZE_T writeFn(void* src, OPJ_SIZE_T n, void* user)
{
  auto* b = static_cast<Buffer*>(user);
  if (b->position + n > b->data.size())
    b->data.resize(b->position + n);
  memcpy(b->data.data() + b->position, src, n);
  b->position += n;
  return n;
}

// Read position over bytes that belong to the caller.
struct Input
{
  const uint8_t* data;
  size_t size;
  size_t position;
};

OPJ_SIZE_T readFn(void* dst, OPJ_SIZE_T n, void* user)
{
  auto* b = static_cast<Input*>(user);
  if (b->position >= b->size)
    return OPJ_SIZE_T(-1);
  n = std::min(n, b->size - b->position);
  memcpy(dst, b->data + b->position, n);
  b->position += n;
  return n;
}

OPJ_OFF_T skipFn(OPJ_OFF_T n, void* user)
{
  auto* b = static_cast<Buffer*>(user);
  b->position += size_t(n);
  if (b->position > b->data.size())
    b->data.resize(b->position);
  return n;
}

OPJ_OFF_T readSkipFn(OPJ_OFF_T n, void* user)
{
  auto* b = static_cast<Input*>(user);
  const size_t step = std::min(size_t(n), b->size - b->position);
  b->position += step;
  return OPJ_OFF_T(step);
}

OPJ_BOOL readSeekFn(OPJ_OFF_T pos, void* user)
{
  auto* b = static_cast<Input*>(user);
  if (size_t(pos) > b->size)
    return OPJ_FALSE;
  b->position = size_t(pos);
  return OPJ_TRUE;
}

OPJ_BOOL seekFn(OPJ_OFF_T pos, void* user)
{
  auto* b = static_cast<Buffer*>(user);
  if (size_t(pos) > b->data.size())
    return OPJ_FALSE;
  b->position = size_t(pos);
  return OPJ_TRUE;
}

// A CT-like slice: smooth structures in a 16-bit range with some noise.
std::vector<uint8_t> encodeSlice(unsigned index)
{
  opj_image_cmptparm_t param;
  memset(&param, 0, sizeof(param));
  param.dx = param.dy = 1;
  param.w = param.h = kSize;
  param.prec = 16;
  opj_image_t* image = opj_image_create(1, &param, OPJ_CLRSPC_GRAY);
  image->x1 = image->y1 = kSize;
  uint32_t state = 12345u + index;
  for (unsigned y = 0; y < kSize; ++y)
  {
    for (unsigned x = 0; x < kSize; ++x)
    {
      const double dx = double(x) - 256.0, dy = double(y) - 256.0 - index;
      const double r = std::sqrt(dx * dx + dy * dy);
      double v = r < 200 ? 30000 + 8000 * std::cos(r / 15.0 + index) : 1000;
      state = state * 1664525u + 1013904223u;
      v += double(state >> 26);
      image->comps[0].data[y * kSize + x] = int32_t(v);
    }
  }
  opj_cparameters_t parameters;
  opj_set_default_encoder_parameters(&parameters);
  parameters.tcp_numlayers = 1;
  parameters.cp_disto_alloc = 1;
  parameters.tcp_rates[0] = 0;
  parameters.irreversible = 0;
  opj_codec_t* codec = opj_create_compress(OPJ_CODEC_J2K);
  opj_setup_encoder(codec, &parameters, image);
  Buffer out;
  opj_stream_t* stream = opj_stream_create(1 << 20, OPJ_FALSE);
  opj_stream_set_user_data(stream, &out, nullptr);
  opj_stream_set_write_function(stream, writeFn);
  opj_stream_set_skip_function(stream, skipFn);
  opj_stream_set_seek_function(stream, seekFn);
  const bool ok = opj_start_compress(codec, image, stream) && opj_encode(codec, stream) &&
                  opj_end_compress(codec, stream);
  opj_stream_destroy(stream);
  opj_destroy_codec(codec);
  opj_image_destroy(image);
  if (!ok)
  {
    std::fprintf(stderr, "encoding failed\n");
    std::exit(1);
  }
  return out.data;
}

// OpenJPEG alone: decode into a 16-bit frame buffer.
void decodeWithOpenJPEG(const std::vector<uint8_t>& codestream, uint16_t* frame)
{
  opj_codec_t* codec = opj_create_decompress(OPJ_CODEC_J2K);
  opj_dparameters_t parameters;
  opj_set_default_decoder_parameters(&parameters);
  opj_setup_decoder(codec, &parameters);
  Input in{ codestream.data(), codestream.size(), 0 };
  opj_stream_t* stream = opj_stream_create(codestream.size(), OPJ_TRUE);
  opj_stream_set_user_data(stream, &in, nullptr);
  opj_stream_set_user_data_length(stream, codestream.size());
  opj_stream_set_read_function(stream, readFn);
  opj_stream_set_skip_function(stream, readSkipFn);
  opj_stream_set_seek_function(stream, readSeekFn);
  opj_image_t* image = nullptr;
  if (!opj_read_header(stream, codec, &image) || !opj_decode(codec, stream, image) ||
      !opj_end_decompress(codec, stream))
  {
    std::fprintf(stderr, "OpenJPEG decoding failed\n");
    std::exit(1);
  }
  const int32_t* data = image->comps[0].data;
  for (size_t k = 0; k < size_t(kSize) * kSize; ++k)
    frame[k] = uint16_t(std::min(65535, std::max(0, data[k])));
  opj_image_destroy(image);
  opj_stream_destroy(stream);
  opj_destroy_codec(codec);
}

DcmFileFormat* makeFile(const std::vector<std::vector<uint8_t>>& codestreams, unsigned frames)
{
  auto* file = new DcmFileFormat();
  DcmDataset* ds = file->getDataset();
  ds->putAndInsertString(DCM_SOPClassUID, "1.2.840.10008.5.1.4.1.1.7");
  ds->putAndInsertString(DCM_SOPInstanceUID, "1.2.826.0.1.3680043.9.7433.2.1");
  ds->putAndInsertUint16(DCM_Rows, kSize);
  ds->putAndInsertUint16(DCM_Columns, kSize);
  ds->putAndInsertUint16(DCM_SamplesPerPixel, 1);
  ds->putAndInsertUint16(DCM_BitsAllocated, 16);
  ds->putAndInsertUint16(DCM_BitsStored, 16);
  ds->putAndInsertUint16(DCM_HighBit, 15);
  ds->putAndInsertUint16(DCM_PixelRepresentation, 0);
  ds->putAndInsertString(DCM_PhotometricInterpretation, "MONOCHROME2");
  ds->putAndInsertString(DCM_NumberOfFrames, std::to_string(frames).c_str());
  auto* seq = new DcmPixelSequence(DcmTag(DCM_PixelData, EVR_OB));
  auto* table = new DcmPixelItem(DcmTag(DCM_Item, EVR_OB));
  seq->insert(table);
  std::vector<uint8_t> offsets;
  Uint32 position = 0;
  for (unsigned f = 0; f < frames; ++f)
  {
    std::vector<uint8_t> bytes = codestreams[f % codestreams.size()];
    if (bytes.size() % 2)
      bytes.push_back(0);
    for (int s = 0; s < 32; s += 8)
      offsets.push_back(uint8_t(position >> s));
    auto* item = new DcmPixelItem(DcmTag(DCM_Item, EVR_OB));
    item->putUint8Array(bytes.data(), Uint32(bytes.size()));
    seq->insert(item);
    position += Uint32(bytes.size()) + 8;
  }
  table->putUint8Array(offsets.data(), Uint32(offsets.size()));
  auto* pixelData = new DcmPixelData(DCM_PixelData);
  pixelData->putOriginalRepresentation(EXS_JPEG2000LosslessOnly, nullptr, seq);
  ds->insert(pixelData);
  ds->chooseRepresentation(EXS_JPEG2000LosslessOnly, nullptr);
  ds->updateOriginalXfer();
  return file;
}

// Wall-clock and CPU seconds of one piece of work; on a shared machine the CPU time is the
// steadier figure.
struct Timing
{
  double wall = 0;
  double cpu = 0;
};

double cpuNow()
{
  timespec ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + 1e-9 * double(ts.tv_nsec);
}

Timing measure(const std::function<void()>& work)
{
  const auto start = std::chrono::steady_clock::now();
  const double cpuStart = cpuNow();
  work();
  Timing t;
  t.cpu = cpuNow() - cpuStart;
  t.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return t;
}

// Runs a program to its end; cpu receives the user and system time it used.
bool runProcess(const std::vector<std::string>& argv, double& cpu)
{
  std::vector<char*> args;
  for (const std::string& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  int status = -1;
  const bool started = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  rusage usage;
  if (!started || wait4(pid, &status, 0, &usage) != pid)
    return false;
  cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
        1e-6 * double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

int main(int argc, char* argv[])
{
  unsigned rounds = 5;
  unsigned frames = 100;
  for (int i = 1; i < argc; ++i)
  {
    if (strncmp(argv[i], "--rounds=", 9) == 0)
      rounds = unsigned(std::max(1, atoi(argv[i] + 9)));
    else if (strncmp(argv[i], "--frames=", 9) == 0)
      frames = unsigned(std::max(2, atoi(argv[i] + 9)));
  }

  std::printf("encoding %u distinct 512x512 16-bit lossless frames...\n", kDistinctFrames);
  std::vector<std::vector<uint8_t>> codestreams;
  size_t compressed = 0;
  for (unsigned i = 0; i < kDistinctFrames; ++i)
  {
    codestreams.push_back(encodeSlice(i));
    compressed += codestreams.back().size();
  }
  std::printf("series: %u frames, %.1f KiB per compressed frame\n",
    frames,
    double(compressed) / kDistinctFrames / 1024.0);

  DJ2KDecoderRegistration::registerCodecs(EJ2KUC_default, EJ2KPC_restore, OFFalse, OFFalse);

  // Check once that both roads give the same pixels.
  {
    DcmFileFormat* file = makeFile(codestreams, frames);
    if (file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).bad())
    {
      std::fprintf(stderr, "codec decoding failed\n");
      return 1;
    }
    const Uint16* words = nullptr;
    file->getDataset()->findAndGetUint16Array(DCM_PixelData, words);
    std::vector<uint16_t> reference(size_t(kSize) * kSize);
    for (unsigned f = 0; f < frames; ++f)
    {
      decodeWithOpenJPEG(codestreams[f % kDistinctFrames], reference.data());
      if (memcmp(reference.data(), words + size_t(f) * kSize * kSize, reference.size() * 2) != 0)
      {
        std::fprintf(stderr, "frame %u differs between the codec and OpenJPEG\n", f);
        return 1;
      }
    }
    delete file;
  }

  std::vector<double> codecWall, codecCpu, openjpegWall, openjpegCpu;
  std::vector<uint16_t> output(size_t(frames) * kSize * kSize);
  for (unsigned r = 0; r < rounds; ++r)
  {
    DcmFileFormat* file = makeFile(codestreams, frames);
    Timing t = measure(
      [&] { (void)file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr); });
    delete file;
    codecWall.push_back(t.wall);
    codecCpu.push_back(t.cpu);
    t = measure(
      [&]
      {
        for (unsigned f = 0; f < frames; ++f)
          decodeWithOpenJPEG(
            codestreams[f % kDistinctFrames], output.data() + size_t(f) * kSize * kSize);
      });
    openjpegWall.push_back(t.wall);
    openjpegCpu.push_back(t.cpu);
  }
  std::printf("\nin-process decoding of %u frames, median of %u rounds      wall s     CPU s\n",
    frames,
    rounds);
  std::printf("  DCMTK + wavecodec                                  %8.3f  %8.3f\n",
    Median(codecWall),
    Median(codecCpu));
  std::printf("  OpenJPEG alone                                     %8.3f  %8.3f\n",
    Median(openjpegWall),
    Median(openjpegCpu));
  std::printf("  overhead ratio (goal <= 1.05)                      %8.3f  %8.3f\n",
    Median(codecWall) / Median(openjpegWall),
    Median(codecCpu) / Median(openjpegCpu));

  // Whole processes on the same file.
  char dir[] = "/tmp/wavecodec-bench-XXXXXX";
  if (mkdtemp(dir) == nullptr)
    return 1;
  const std::string in = std::string(dir) + "/series.dcm";
  const std::string outTool = std::string(dir) + "/dcmdj2k.dcm";
  const std::string outGdcm = std::string(dir) + "/gdcmconv.dcm";
  {
    DcmFileFormat* file = makeFile(codestreams, frames);
    if (file->saveFile(in.c_str(), EXS_JPEG2000LosslessOnly).bad())
      return 1;
    delete file;
  }
  std::vector<double> toolWall, toolCpu, gdcmWall, gdcmCpu;
  bool ok = true;
  for (unsigned r = 0; r < rounds && ok; ++r)
  {
    double cpu = 0;
    toolWall.push_back(measure(
      [&] {
        ok = ok && runProcess({ DCMDJ2K_PATH, in, outTool }, cpu);
      }).wall);
    toolCpu.push_back(cpu);
    gdcmWall.push_back(measure(
      [&] {
        ok = ok && runProcess({ GDCMCONV_PATH, "--raw", in, outGdcm }, cpu);
      }).wall);
    gdcmCpu.push_back(cpu);
  }
  unlink(in.c_str());
  unlink(outTool.c_str());
  unlink(outGdcm.c_str());
  rmdir(dir);
  if (!ok)
  {
    std::fprintf(stderr, "a decompression program failed\n");
    return 1;
  }
  std::printf("\nwhole process on the %u-frame file, median of %u runs     wall s     CPU s\n",
    frames,
    rounds);
  std::printf("  dcmdj2k                                            %8.3f  %8.3f\n",
    Median(toolWall),
    Median(toolCpu));
  std::printf("  gdcmconv --raw                                     %8.3f  %8.3f\n",
    Median(gdcmWall),
    Median(gdcmCpu));
  std::printf("  ratio dcmdj2k / gdcmconv                           %8.3f  %8.3f\n",
    Median(toolWall) / Median(gdcmWall),
    Median(toolCpu) / Median(gdcmCpu));

  DJ2KDecoderRegistration::cleanup();
  return 0;
}
