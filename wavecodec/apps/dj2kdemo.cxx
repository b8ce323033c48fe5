// dj2kdemo: the JPEG 2000 demonstration on data made here. Writes a synthetic CT-like
// multi-frame series and an RGB image, compresses each with dcmcj2k (lossless and lossy),
// decompresses with dcmdj2k, checks the lossless round trip bit for bit and the lossy
// error and ratio, and prints a table. Exits non-zero when a check fails.
#include "DJ2KTestDataset.h"
#include "DJ2KTestImage.h"
#include "DJ2KTestProcess.h"

#include "dcmtk/config/osconfig.h"

#include "dcmtk/dcmdata/dcdatset.h"
#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcfilefo.h"
#include "dcmtk/dcmdata/dcuid.h"
#include "dcmtk/dcmdata/dcxfer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// A synthetic image of the demonstration: its geometry and its uncompressed pixel data
// (16-bit samples in host byte order).
struct Phantom
{
  dj2ktest::Image shape;
  std::vector<Uint8> pixels;
};

// A head-like CT phantom: skull ring, brain, ventricles and a lesion, changing along the
// series, in Hounsfield units stored as signed 12-bit values, with scanner-like noise.
Phantom MakeCTSeries(Uint16 size, Sint32 frames)
{
  Phantom image{ { "ct-series", size, size, 1, 16, 12, 1, 0, frames }, {} };
  image.pixels.resize(image.shape.frameBytes() * size_t(frames));
  std::mt19937 random(2024);
  std::normal_distribution<double> noise(0.0, 6.0);
  for (Sint32 f = 0; f < frames; ++f)
  {
    const double z = frames > 1 ? double(f) / (frames - 1) - 0.5 : 0.0;
    const double scale = std::sqrt(std::max(0.05, 1.0 - 2.2 * z * z));
    for (Uint16 y = 0; y < size; ++y)
    {
      for (Uint16 x = 0; x < size; ++x)
      {
        const double u = (x - size / 2.0) / (size / 2.0);
        const double v = (y - size / 2.0) / (size / 2.0);
        const double r = std::sqrt(u * u / 0.72 + v * v / 0.9) / scale;
        double hu = -1000.0; // air
        if (r < 1.0)
        {
          hu = r > 0.9 ? 1200.0 : 35.0; // skull, brain
          const double vu = std::fabs(u) - 0.12;
          if (r < 0.9 && vu > 0 && (vu * vu / 0.01 + (v + 0.1) * (v + 0.1) / 0.06) < 1.0)
          {
            hu = 5.0; // ventricles
          }
          const double lu = u - 0.35 - 0.1 * z;
          const double lv = v + 0.3;
          if (r < 0.9 && lu * lu + lv * lv < 0.006)
          {
            hu = 70.0; // lesion
          }
          hu += 8.0 * std::sin(u * 9.0 + v * 5.0 + z * 3.0) + noise(random);
        }
        const long value = std::lround(std::min(2047.0, std::max(-2048.0, hu)));
        const Uint16 word = Uint16(Sint16(value));
        const size_t i = (size_t(f) * size + y) * size + x;
        std::memcpy(&image.pixels[2 * i], &word, 2);
      }
    }
  }
  return image;
}

// A photo-like RGB test card: colour gradients, discs and fine stripes.
Phantom MakeRGBImage(Uint16 rows, Uint16 columns)
{
  Phantom image{ { "rgb-image", rows, columns, 3, 8, 8, 0, 0, 1 }, {} };
  image.pixels.resize(image.shape.frameBytes());
  std::mt19937 random(7);
  std::normal_distribution<double> grain(0.0, 2.0);
  for (Uint16 y = 0; y < rows; ++y)
  {
    for (Uint16 x = 0; x < columns; ++x)
    {
      double rgb[3] = { 255.0 * x / columns, 255.0 * y / rows, 128.0 + 100.0 * std::sin(x * 0.05) };
      const double dx = x - columns * 0.3, dy = y - rows * 0.5;
      if (dx * dx + dy * dy < rows * rows * 0.06)
      {
        rgb[0] = 230, rgb[1] = 40, rgb[2] = 60;
      }
      const double ex = x - columns * 0.7, ey = y - rows * 0.45;
      if (ex * ex + ey * ey < rows * rows * 0.04)
      {
        rgb[0] = 30, rgb[1] = 200, rgb[2] = 90;
      }
      if (y > rows * 0.8 && ((x / 3) % 2 == 0))
      {
        rgb[0] = rgb[1] = rgb[2] = 250;
      }
      for (int c = 0; c < 3; ++c)
      {
        image.pixels[(size_t(y) * columns + x) * 3 + c] =
          Uint8(std::lround(std::min(255.0, std::max(0.0, rgb[c] + grain(random)))));
      }
    }
  }
  return image;
}

bool WriteImage(const Phantom& image, const std::string& path)
{
  DcmFileFormat fileformat;
  DcmDataset* d = fileformat.getDataset();
  dj2ktest::FillDataset(*d, image.shape, image.pixels);
  d->putAndInsertString(DCM_PatientName, "Demo^Phantom");
  d->putAndInsertString(DCM_PatientID, "DJ2KDEMO");
  if (image.shape.samplesPerPixel == 1)
  {
    d->putAndInsertString(DCM_RescaleIntercept, "0");
    d->putAndInsertString(DCM_RescaleSlope, "1");
    d->putAndInsertString(DCM_WindowCenter, "40");
    d->putAndInsertString(DCM_WindowWidth, "400");
  }
  return fileformat.saveFile(path.c_str(), EXS_LittleEndianExplicit).good();
}

// Runs a program; says why when it fails, and gives the wall-clock seconds it took.
bool Run(const std::vector<std::string>& args, double& seconds, std::string& failure)
{
  const dj2ktest::ProcessResult r = dj2ktest::RunProcess(args);
  seconds = r.wallSeconds;
  if (r.ExitedWith(0))
    return true;
  failure = r.Describe() + (r.err.empty() ? "" : ": " + r.err);
  return false;
}

long FileSize(const std::string& path)
{
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? long(st.st_size) : -1;
}

// Pixel data and transfer syntax of a file.
bool ReadPixels(const std::string& path, std::vector<Uint8>& pixels, E_TransferSyntax& xfer)
{
  DcmFileFormat fileformat;
  if (fileformat.loadFile(path.c_str()).bad())
  {
    return false;
  }
  xfer = fileformat.getDataset()->getOriginalXfer();
  const Uint8* bytes = nullptr;
  unsigned long count = 0;
  if (DcmXfer(xfer).isEncapsulated() ||
      fileformat.getDataset()->findAndGetUint8Array(DCM_PixelData, bytes, &count).bad() ||
      bytes == nullptr)
  {
    return false;
  }
  pixels.assign(bytes, bytes + count);
  return true;
}

// Bytes of the compressed pixel data (all fragments) of a JPEG 2000 file.
long CompressedPixelBytes(const std::string& path)
{
  DcmFileFormat fileformat;
  if (fileformat.loadFile(path.c_str()).bad())
  {
    return -1;
  }
  DcmElement* element = nullptr;
  if (fileformat.getDataset()->findAndGetElement(DCM_PixelData, element).bad())
  {
    return -1;
  }
  return long(element->getLength(fileformat.getDataset()->getOriginalXfer()));
}

std::string Beside(const std::string& self, const std::string& program)
{
  const std::string::size_type slash = self.rfind('/');
  return (slash == std::string::npos ? std::string(".") : self.substr(0, slash)) + "/" + program;
}

} // namespace

int main(int argc, char* argv[])
{
  std::string work;
  Uint16 size = 256;
  Sint32 frames = 24;
  for (int i = 1; i < argc; ++i)
  {
    const std::string arg = argv[i];
    if (arg == "--work" && i + 1 < argc)
    {
      work = argv[++i];
    }
    else if (arg == "--frames" && i + 1 < argc)
    {
      frames = std::max(1, std::atoi(argv[++i]));
    }
    else if (arg == "--size" && i + 1 < argc)
    {
      size = Uint16(std::min(1024, std::max(32, std::atoi(argv[++i]))));
    }
    else
    {
      std::fprintf(stderr,
        "usage: dj2kdemo [--work DIR] [--frames N] [--size PIXELS]\n"
        "  writes a synthetic CT series (N frames of PIXELS^2, default 24 of 256^2) and an\n"
        "  RGB image to DIR, runs dcmcj2k and dcmdj2k on them and checks the results\n");
      return arg == "-h" || arg == "--help" ? 0 : 1;
    }
  }
  char self[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof(self) - 1);
  const std::string program = n > 0 ? std::string(self, size_t(n)) : std::string(argv[0]);
  const std::string dcmcj2k = Beside(program, "dcmcj2k");
  const std::string dcmdj2k = Beside(program, "dcmdj2k");
  if (work.empty())
  {
    work = Beside(program, "dj2kdemo-data");
  }
  mkdir(work.c_str(), 0777);

  const Phantom images[] = { MakeCTSeries(size, frames), MakeRGBImage(size, Uint16(size * 3 / 2)) };
  struct Mode
  {
    const char* name;
    std::vector<std::string> options;
    double ratio; // 0 for lossless
  };
  const Mode modes[] = {
    { "lossless", {}, 0 },
    { "lossy 10:1", { "--encode-lossy", "--ratio", "10" }, 10 },
    { "lossy 20:1", { "--encode-lossy", "--ratio", "20" }, 20 },
  };

  int failures = 0;
  auto fail = [&](const std::string& what)
  {
    std::printf("CHECK FAILED: %s\n", what.c_str());
    ++failures;
  };

  std::printf("%-10s %-11s %6s %10s %10s %7s %8s %8s %9s %9s\n",
    "file",
    "mode",
    "frames",
    "bytes in",
    "bytes out",
    "ratio",
    "enc [s]",
    "dec [s]",
    "peak err",
    "PSNR [dB]");
  for (const Phantom& image : images)
  {
    const dj2ktest::Image& shape = image.shape;
    const std::string name = shape.name;
    const std::string original = work + "/" + name + ".dcm";
    if (!WriteImage(image, original))
    {
      fail("cannot write " + original);
      continue;
    }
    const long pixelBytes = long(image.pixels.size());
    for (const Mode& mode : modes)
    {
      const std::string tag =
        mode.ratio == 0 ? "lossless" : "lossy" + std::to_string(int(mode.ratio));
      const std::string compressed = work + "/" + name + "." + tag + ".j2k.dcm";
      const std::string restored = work + "/" + name + "." + tag + ".raw.dcm";
      std::remove(compressed.c_str());
      std::remove(restored.c_str());
      std::vector<std::string> encode{ dcmcj2k };
      encode.insert(encode.end(), mode.options.begin(), mode.options.end());
      encode.push_back(original);
      encode.push_back(compressed);
      double encodeSeconds = 0, decodeSeconds = 0;
      const std::string label = name + " " + mode.name;
      std::string failure;
      if (!Run(encode, encodeSeconds, failure))
      {
        fail(label + ": dcmcj2k failed, " + failure);
        continue;
      }
      if (!Run({ dcmdj2k, compressed, restored }, decodeSeconds, failure))
      {
        fail(label + ": dcmdj2k failed, " + failure);
        continue;
      }
      std::vector<Uint8> back;
      E_TransferSyntax xfer = EXS_Unknown;
      if (!ReadPixels(restored, back, xfer) || back.size() < image.pixels.size())
      {
        fail(label + ": decompressed file unreadable or short");
        continue;
      }
      long peak = 0;
      double squares = 0;
      const size_t count = size_t(shape.rows) * shape.columns;
      const size_t samples = shape.samplesPerFrame() * size_t(shape.frames);
      for (size_t f = 0; f < size_t(shape.frames); ++f)
      {
        for (size_t c = 0; c < shape.samplesPerPixel; ++c)
        {
          for (size_t k = 0; k < count; ++k)
          {
            const long d = dj2ktest::SampleOf(shape, image.pixels, f, c, k) -
                           dj2ktest::SampleOf(shape, back, f, c, k);
            peak = std::max(peak, std::labs(d));
            squares += double(d) * double(d);
          }
        }
      }
      const double rms = std::sqrt(squares / double(samples));
      const double top = double((1L << shape.bitsStored) - 1);
      const double psnr = rms > 0 ? 20.0 * std::log10(top / rms) : INFINITY;
      const long codeBytes = CompressedPixelBytes(compressed);
      const double ratio = codeBytes > 0 ? double(pixelBytes) / double(codeBytes) : 0.0;
      if (mode.ratio == 0)
      {
        if (std::memcmp(back.data(), image.pixels.data(), image.pixels.size()) != 0)
        {
          fail(label + ": round trip is not bit for bit");
        }
      }
      else
      {
        // The target ratio counts Bits Stored; allow OpenJPEG's rate control a little slack.
        const double target = mode.ratio * double(shape.bitsAllocated) / shape.bitsStored;
        if (ratio < target * 0.95)
        {
          fail(label + ": compression ratio below the target");
        }
        // Far below what a working codec gives on these images (40 dB and more at the
        // default size), far above what a wrong decoding gives.
        if (psnr < 25.0)
        {
          fail(label + ": PSNR below 25 dB");
        }
      }
      char peakText[32];
      std::snprintf(peakText, sizeof(peakText), "%ld", peak);
      char psnrText[32];
      std::snprintf(psnrText, sizeof(psnrText), "%.1f", psnr);
      std::printf("%-10s %-11s %6d %10ld %10ld %7.2f %8.3f %8.3f %9s %9s\n",
        name.c_str(),
        mode.name,
        int(shape.frames),
        FileSize(original),
        FileSize(compressed),
        ratio,
        encodeSeconds,
        decodeSeconds,
        mode.ratio == 0 && peak == 0 ? "exact" : peakText,
        rms > 0 ? psnrText : "inf");
    }
  }
  std::printf("(bytes: whole files; ratio: pixel data over compressed pixel data; times: whole\n"
              " dcmcj2k and dcmdj2k runs; files in %s)\n",
    work.c_str());
  if (failures > 0)
  {
    std::printf("%d check(s) failed\n", failures);
    return 1;
  }
  std::printf("all checks passed\n");
  return 0;
}
