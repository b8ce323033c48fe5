// Frames on worker threads: the pool, how threads are shared out, output and conditions that do
// not depend on the thread count, and per-frame decoding from several threads at once.
#include "DJ2KTestDataset.h"
#include "DJ2KTestStream.h"

#include "dj2kcodecd.h"
#include "dj2kcparam.h"
#include "dj2kdecode.h"
#include "dj2kencode.h"
#include "dj2kframes.h"
#include "dj2kpool.h"
#include "dj2krparam.h"

#include "dcmtk/dcmdata/dcdeftag.h"
#include "dcmtk/dcmdata/dcpixel.h"
#include "dcmtk/dcmdata/dcpixseq.h"
#include "dcmtk/dcmdata/dcpxitem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace dj2ktest;

namespace
{

// Work whose length varies with the index, so that later indices often finish first.
void Jitter(size_t index)
{
  std::this_thread::sleep_for(std::chrono::microseconds((index * 7919) % 13 * 150));
}

} // namespace

TEST(DJ2KThreadPool, CommitsInOrderWithinTheWindow)
{
  for (const Uint32 threads : { 1u, 2u, 7u })
  {
    for (const size_t window : { size_t(0), size_t(1), size_t(3) })
    {
      SCOPED_TRACE("threads " + std::to_string(threads) + ", window " + std::to_string(window));
      DJ2KThreadPool pool(threads);
      EXPECT_EQ(pool.threads(), threads);
      const size_t count = 60;
      std::mutex mutex;
      std::vector<int> ran(count, 0);
      std::vector<size_t> committed;
      std::set<std::thread::id> workers;
      bool outsideWindow = false;
      bool committedBeforeWork = false;
      pool.run(
        count,
        [&](size_t i)
        {
          {
            std::lock_guard<std::mutex> lock(mutex);
            ++ran[i];
            workers.insert(std::this_thread::get_id());
            if (window != 0 && i >= committed.size() + window)
              outsideWindow = true;
            EXPECT_EQ(DJ2KThreadPool::current(), &pool);
          }
          Jitter(i);
        },
        [&](size_t i) -> OFBool
        {
          std::lock_guard<std::mutex> lock(mutex);
          if (ran[i] != 1)
            committedBeforeWork = true;
          committed.push_back(i);
          return OFTrue;
        },
        window);
      EXPECT_EQ(ran, std::vector<int>(count, 1));
      std::vector<size_t> inOrder(count);
      for (size_t i = 0; i < count; ++i)
        inOrder[i] = i;
      EXPECT_EQ(committed, inOrder);
      EXPECT_FALSE(outsideWindow);
      EXPECT_FALSE(committedBeforeWork);
      EXPECT_LE(workers.size(), threads);
      EXPECT_EQ(DJ2KThreadPool::current(), nullptr);
    }
  }
}

TEST(DJ2KThreadPool, StopsAtAFailedCommitOrAnException)
{
  DJ2KThreadPool pool(4);
  const size_t count = 100;
  const size_t failing = 20;
  const size_t window = 4;
  std::atomic<size_t> highestStarted(0);
  std::vector<size_t> committed;
  pool.run(
    count,
    [&](size_t i)
    {
      size_t seen = highestStarted.load();
      while (i > seen && !highestStarted.compare_exchange_weak(seen, i))
      {
      }
      Jitter(i);
    },
    [&](size_t i) -> OFBool
    {
      committed.push_back(i);
      return i != failing;
    },
    window);
  ASSERT_EQ(committed.size(), failing + 1);
  EXPECT_EQ(committed.back(), failing);
  // Nothing starts beyond the window of the failed index.
  EXPECT_LT(highestStarted.load(), failing + window);

  // An exception ends the run the same way and reaches the caller; the pool stays usable.
  std::atomic<size_t> ran(0);
  EXPECT_THROW(pool.run(
                 count,
                 [&](size_t i)
                 {
                   ++ran;
                   if (i == 7)
                     throw std::runtime_error("frame 7");
                 },
                 std::function<OFBool(size_t)>(),
                 window),
    std::runtime_error);
  EXPECT_LE(ran.load(), 7 + window);
  ran = 0;
  pool.run(count, [&](size_t) { ++ran; });
  EXPECT_EQ(ran.load(), count);
}

TEST(DJ2KThreadPool, NestedRunsShareThePool)
{
  // More outer items than threads, each running nested work on the same pool, the nested work
  // throttled by a window: everything runs once and nothing waits forever.
  DJ2KThreadPool pool(3);
  const size_t outer = 8;
  const size_t inner = 12;
  std::mutex mutex;
  std::vector<std::vector<int>> ran(outer, std::vector<int>(inner, 0));
  std::vector<std::vector<size_t>> committed(outer);
  pool.run(outer,
    [&](size_t o)
    {
      DJ2KThreadPool* current = DJ2KThreadPool::current();
      ASSERT_EQ(current, &pool);
      current->run(
        inner,
        [&](size_t i)
        {
          Jitter(o + i);
          std::lock_guard<std::mutex> lock(mutex);
          ++ran[o][i];
        },
        [&](size_t i) -> OFBool
        {
          committed[o].push_back(i);
          return OFTrue;
        },
        2,
        2);
      EXPECT_EQ(DJ2KThreadPool::current(), &pool);
    });
  for (size_t o = 0; o < outer; ++o)
  {
    EXPECT_EQ(ran[o], std::vector<int>(inner, 1)) << o;
    ASSERT_EQ(committed[o].size(), inner) << o;
    EXPECT_TRUE(std::is_sorted(committed[o].begin(), committed[o].end())) << o;
  }
}

TEST(DJ2KThreadPool, HardwareThreadsByDefault)
{
  EXPECT_GE(DJ2KThreadPool::hardwareThreads(), 1u);
  EXPECT_EQ(DJ2KThreadPool(0).threads(), DJ2KThreadPool::hardwareThreads());
  EXPECT_EQ(DJ2KThreadPool(1).threads(), 1u);
}

// Frames go to workers; OpenJPEG gets what is left over when there are fewer frames than
// threads, and nothing for small frames or inside a pool that other work keeps busy.
TEST(DJ2KFrameRunner, SharesThreadsAmongFrames)
{
  const Uint32 hardware = DJ2KThreadPool::hardwareThreads();
  const struct
  {
    Uint32 threads;
    size_t frames;
  } cases[] = { { 1, 1 },
    { 1, 9 },
    { 2, 1 },
    { 2, 2 },
    { 2, 9 },
    { 7, 1 },
    { 7, 3 },
    { 7, 7 },
    { 7, 100 },
    { 0, 1 },
    { 0, 100 } };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(std::to_string(c.threads) + " threads, " + std::to_string(c.frames) + " frames");
    const Uint32 threads = c.threads == 0 ? hardware : c.threads;
    const Uint64 large = DJ2KFrameRunner::minimumSamplesForOpenJPEGThreads;
    const DJ2KFrameRunner runner(c.threads, c.frames, large);
    EXPECT_EQ(runner.workers(), std::min<size_t>(threads, c.frames));
    Uint32 total = 0;
    Uint32 fewest = threads;
    Uint32 most = 0;
    for (size_t f = 0; f < c.frames; ++f)
    {
      const Uint32 n = runner.openjpegThreads(f);
      total += n;
      fewest = std::min(fewest, n);
      most = std::max(most, n);
    }
    EXPECT_GE(fewest, 1u);
    EXPECT_LE(most - fewest, 1u);
    EXPECT_EQ(total, std::max<size_t>(threads, c.frames));

    // Small frames: no threads for OpenJPEG, the same workers.
    const DJ2KFrameRunner small(c.threads, c.frames, large - 1);
    EXPECT_EQ(small.workers(), runner.workers());
    for (size_t f = 0; f < c.frames; ++f)
      EXPECT_EQ(small.openjpegThreads(f), 1u);

    // Inside a pool's work: at most the pool's threads on frames, none for OpenJPEG.
    DJ2KThreadPool pool(2);
    pool.run(1,
      [&](size_t)
      {
        const DJ2KFrameRunner nested(c.threads, c.frames, large);
        EXPECT_EQ(nested.workers(), std::min<size_t>(std::min(threads, 2u), c.frames));
        for (size_t f = 0; f < c.frames; ++f)
          EXPECT_EQ(nested.openjpegThreads(f), 1u);
      });
  }
}

namespace
{

// A multi-frame image, its native pixel bytes and header.
struct Series
{
  std::vector<Image> images;
  Header header;
  std::vector<uint8_t> pixels;
  uint16_t bytesPerSample = 1;
};

Series MakeSeries(uint32_t width,
  uint32_t height,
  uint32_t comps,
  uint32_t prec,
  bool sgnd,
  unsigned frames)
{
  Series s;
  s.bytesPerSample = prec > 8 ? 2 : 1;
  for (unsigned f = 0; f < frames; ++f)
  {
    s.images.push_back(
      MakeImage(Uint16(width), Uint16(height), Uint16(comps), Uint16(prec), sgnd, 11 + f));
    const std::vector<uint8_t> bytes = ExpectedBytes(s.images.back(), s.bytesPerSample, sgnd);
    s.pixels.insert(s.pixels.end(), bytes.begin(), bytes.end());
  }
  s.header = HeaderFor(s.images[0], uint16_t(8 * s.bytesPerSample));
  s.header.numberOfFrames = int(frames);
  return s;
}

std::unique_ptr<DcmFileFormat> NativeFile(const Series& s)
{
  auto file = std::make_unique<DcmFileFormat>();
  DcmDataset* dataset = file->getDataset();
  PutHeader(*dataset, s.header);
  if (s.bytesPerSample == 2)
    dataset->putAndInsertUint16Array(DCM_PixelData,
      reinterpret_cast<const Uint16*>(s.pixels.data()),
      static_cast<unsigned long>(s.pixels.size() / 2));
  else
    dataset->putAndInsertUint8Array(
      DCM_PixelData, s.pixels.data(), static_cast<unsigned long>(s.pixels.size()));
  return file;
}

// Every item of the current (encapsulated) pixel sequence, offset table first.
std::vector<std::vector<uint8_t>> EncapsulatedItems(DcmItem& item)
{
  DcmElement* element = nullptr;
  if (item.findAndGetElement(DCM_PixelData, element).bad())
    return {};
  DcmPixelData* pixelData = dynamic_cast<DcmPixelData*>(element);
  E_TransferSyntax xfer = EXS_Unknown;
  const DcmRepresentationParameter* param = nullptr;
  DcmPixelSequence* seq = nullptr;
  if (pixelData == nullptr)
    return {};
  pixelData->getCurrentRepresentationKey(xfer, param);
  if (pixelData->getEncapsulatedRepresentation(xfer, param, seq).bad() || seq == nullptr)
    return {};
  std::vector<std::vector<uint8_t>> items;
  for (unsigned long i = 0; i < seq->card(); ++i)
  {
    DcmPixelItem* pixelItem = nullptr;
    Uint8* bytes = nullptr;
    if (seq->getItem(pixelItem, i).bad() || pixelItem->getUint8Array(bytes).bad())
      return {};
    items.emplace_back(bytes, bytes + pixelItem->getLength());
  }
  return items;
}

void RegisterCodecs(Uint32 threads, bool ignoreBadFrames = false)
{
  DJ2KEncoderRegistration::cleanup();
  DJ2KDecoderRegistration::cleanup();
  DJ2KEncoderRegistration::registerCodecs(OFTrue, 0, EJ2KUC_default, OFFalse, OFFalse, threads);
  DJ2KDecoderRegistration::registerCodecs(
    EJ2KUC_default, EJ2KPC_restore, OFFalse, ignoreBadFrames, threads);
}

class DJ2KParallelCodec : public testing::Test
{
protected:
  void TearDown() override
  {
    DJ2KEncoderRegistration::cleanup();
    DJ2KDecoderRegistration::cleanup();
  }
};

const Uint32 kThreadCounts[] = { 1, 2, 7 };

} // namespace

// Encoding and decoding through DCMTK give the same bytes for 1, 2 and 7 threads: lossless and
// lossy, monochrome and RGB, one frame (OpenJPEG's own threads) and many (frames on workers).
TEST_F(DJ2KParallelCodec, SameBytesForAnyThreadCount)
{
  const struct
  {
    const char* name;
    uint32_t width, height, comps, prec;
    bool sgnd;
    unsigned frames;
    bool lossless;
  } cases[] = {
    { "mono 16-bit lossless, 9 frames", 37, 29, 1, 16, false, 9, true },
    { "mono 16-bit signed lossy, 9 frames", 37, 29, 1, 16, true, 9, false },
    { "RGB 8-bit lossless, 8 frames", 23, 31, 3, 8, false, 8, true },
    { "RGB 8-bit lossy, 5 frames", 23, 31, 3, 8, false, 5, false },
    // Frames large enough for OpenJPEG's threads.
    { "mono 12-bit lossless, one frame", 256, 256, 1, 12, false, 1, true },
    { "RGB 8-bit lossy, one frame", 160, 144, 3, 8, false, 1, false },
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.name);
    const Series series = MakeSeries(c.width, c.height, c.comps, c.prec, c.sgnd, c.frames);
    const E_TransferSyntax xfer = c.lossless ? EXS_JPEG2000LosslessOnly : EXS_JPEG2000;
    const DJ2KRepresentationParameter rep(c.lossless, 8.0);

    std::vector<std::vector<uint8_t>> firstItems;
    std::vector<uint8_t> firstPixels;
    for (const Uint32 threads : kThreadCounts)
    {
      SCOPED_TRACE(std::to_string(threads) + " threads");
      RegisterCodecs(threads);
      auto file = NativeFile(series);
      ASSERT_TRUE(file->getDataset()->chooseRepresentation(xfer, &rep).good());
      const std::vector<std::vector<uint8_t>> items = EncapsulatedItems(*file->getDataset());
      // Offset table and one fragment per frame.
      ASSERT_EQ(items.size(), size_t(c.frames) + 1);

      // Decode a file made of these codestreams (a fresh one: DCMTK would otherwise go back to
      // the uncompressed original).
      const std::vector<std::vector<uint8_t>> codestreams(items.begin() + 1, items.end());
      auto compressed = MakeFile(series.header, codestreams, Packing(), xfer);
      LogCapture log;
      ASSERT_TRUE(
        compressed->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).good());
      // Pixel Data is padded to even length.
      std::vector<uint8_t> pixels = NativePixelBytes(*compressed->getDataset());
      ASSERT_EQ(pixels.size(), (series.pixels.size() + 1) & ~size_t(1));
      pixels.resize(series.pixels.size());
      if (threads > c.frames && uint64_t(c.width) * c.height * c.comps >=
                                  DJ2KFrameRunner::minimumSamplesForOpenJPEGThreads)
      {
        // Fewer frames than threads: OpenJPEG decodes with the threads left over.
        const unsigned most = (threads + c.frames - 1) / c.frames;
        EXPECT_TRUE(log.Contains(
          OFLogger::DEBUG_LOG_LEVEL, "OpenJPEG decodes with " + std::to_string(most) + " threads"))
          << log.Dump();
      }

      if (c.lossless)
      {
        EXPECT_TRUE(pixels == series.pixels) << "lossless decoding changed samples";
      }
      else
      {
        // What OpenJPEG alone makes of each codestream.
        std::vector<uint8_t> reference;
        for (const std::vector<uint8_t>& codestream : codestreams)
        {
          const DecodedCodestream decoded = DecodeCodestream(codestream);
          ASSERT_TRUE(decoded.ok);
          Image image = series.images[0];
          image.comps = decoded.components;
          const std::vector<uint8_t> bytes =
            ExpectedBytes(image, series.bytesPerSample, c.sgnd ? 1 : 0);
          reference.insert(reference.end(), bytes.begin(), bytes.end());
        }
        EXPECT_TRUE(pixels == reference) << "not what OpenJPEG alone decodes";
      }
      if (firstItems.empty())
      {
        firstItems = items;
        firstPixels = pixels;
      }
      else
      {
        EXPECT_TRUE(items == firstItems) << "the codestreams differ from one thread's";
        EXPECT_TRUE(pixels == firstPixels) << "the decoded pixels differ from one thread's";
      }
    }
  }
}

// A corrupt frame in the middle of a series and a frame of the wrong size after it: the
// condition is that of the first failing frame in frame order, whatever finishes first, and
// skipping bad frames skips the same frames as one thread does.
TEST_F(DJ2KParallelCodec, FirstFailingFrameInFrameOrderDecides)
{
  const unsigned frames = 12;
  const Series series = MakeSeries(40, 24, 1, 16, false, frames);
  std::vector<std::vector<uint8_t>> codestreams;
  for (const Image& image : series.images)
    codestreams.push_back(Encode(image));
  const size_t frameSize = series.pixels.size() / frames;
  // Frame 5: a start marker followed by garbage.
  std::vector<uint8_t> corrupt = codestreams[5];
  for (size_t k = 2; k < corrupt.size(); ++k)
    corrupt[k] = uint8_t(k * 37);
  // Frame 9 (or frame 1): a valid codestream of another size.
  const std::vector<uint8_t> wrongSize = Encode(MakeImage(40, 20, 1, 16, false, 3));

  const struct
  {
    const char* name;
    size_t corruptFrame;
    size_t wrongSizeFrame; // frames when there is none
    bool ignoreBadFrames;
    OFCondition expected;
  } cases[] = {
    { "corrupt frame before a wrong size", 5, 9, false, EC_J2KInvalidCompressedData },
    { "wrong size before a corrupt frame", 5, 1, false, EC_J2KImageDataMismatch },
    { "corrupt frame skipped, wrong size fails", 5, 9, true, EC_J2KImageDataMismatch },
    { "corrupt frame alone", 5, frames, false, EC_J2KInvalidCompressedData },
    { "corrupt frame alone, skipped", 5, frames, true, EC_Normal },
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.name);
    std::vector<std::vector<uint8_t>> streams = codestreams;
    streams[c.corruptFrame] = corrupt;
    if (c.wrongSizeFrame < frames)
      streams[c.wrongSizeFrame] = wrongSize;
    std::vector<uint8_t> firstPixels;
    for (const Uint32 threads : kThreadCounts)
    {
      SCOPED_TRACE(std::to_string(threads) + " threads");
      RegisterCodecs(threads, c.ignoreBadFrames);
      auto file = MakeFile(series.header, streams);
      LogCapture log;
      const OFCondition result =
        file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr);
      EXPECT_EQ(result.code(), OFCondition(c.expected).code()) << result.text();
      EXPECT_EQ(result.module(), OFCondition(c.expected).module()) << result.text();
      if (c.ignoreBadFrames)
      {
        size_t skipped = 0;
        for (const auto& record : log.Records())
          skipped += record.message.find("ignoring") != std::string::npos ? 1 : 0;
        EXPECT_EQ(skipped, 1u) << log.Dump();
      }
      if (result.good())
      {
        // The skipped frame stays zero, every other frame is decoded.
        std::vector<uint8_t> expected = series.pixels;
        std::fill(expected.begin() + long(c.corruptFrame * frameSize),
          expected.begin() + long((c.corruptFrame + 1) * frameSize),
          0);
        const std::vector<uint8_t> pixels = NativePixelBytes(*file->getDataset());
        EXPECT_TRUE(pixels == expected);
      }
    }
  }
}

// decodeFrame, the entry DicomImage uses, called for the frames of one data set from several
// threads at once, while another thread decodes a copy of the whole data set.
TEST_F(DJ2KParallelCodec, DecodeFrameFromSeveralThreadsAtOnce)
{
  // Many small frames in several fragments each: most of the time goes to finding fragments.
  const unsigned frames = 24;
  Series series = MakeSeries(9, 7, 3, 12, true, frames);
  series.header.planarConfiguration = 0;
  std::vector<std::vector<uint8_t>> codestreams;
  for (const Image& image : series.images)
    codestreams.push_back(Encode(image));
  auto file = MakeFile(series.header, codestreams, Packing{ 3, true });
  auto whole = MakeFile(series.header, codestreams, Packing{ 3, true });
  RegisterCodecs(2);
  DcmDataset* dataset = file->getDataset();
  DcmElement* element = nullptr;
  ASSERT_TRUE(dataset->findAndGetElement(DCM_PixelData, element).good());
  DcmPixelSequence* seq = nullptr;
  ASSERT_TRUE(dynamic_cast<DcmPixelData*>(element)
                ->getEncapsulatedRepresentation(EXS_JPEG2000LosslessOnly, nullptr, seq)
                .good());
  const size_t frameSize = series.pixels.size() / frames;
  const DJ2KLosslessDecoder codec;
  const DJ2KCodecParameter cp(EJ2KUC_default, EJ2KPC_restore, OFFalse, OFFalse, 2);

  const unsigned callers = 6;
  std::vector<std::vector<uint8_t>> results(callers, std::vector<uint8_t>(series.pixels.size()));
  std::vector<std::string> failures(callers);
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < callers; ++t)
  {
    threads.emplace_back(
      [&, t]
      {
        // Each caller walks the frames in its own order: forwards or backwards, from frame t.
        for (unsigned k = 0; k < frames; ++k)
        {
          const unsigned f = (t % 2 == 0 ? k + t : frames - 1 - k + t) % frames;
          Uint32 start = 0;
          OFString colorModel;
          const OFCondition result = codec.decodeFrame(nullptr,
            seq,
            &cp,
            dataset,
            f,
            start,
            results[t].data() + f * frameSize,
            Uint32(frameSize),
            colorModel);
          if (result.bad() || colorModel != "RGB")
            failures[t] += "frame " + std::to_string(f) + ": " + result.text() + "; ";
        }
      });
  }
  const OFCondition wholeResult =
    whole->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr);
  for (std::thread& thread : threads)
    thread.join();
  ASSERT_TRUE(wholeResult.good()) << wholeResult.text();
  EXPECT_TRUE(NativePixelBytes(*whole->getDataset()) == series.pixels);
  for (unsigned t = 0; t < callers; ++t)
  {
    EXPECT_EQ(failures[t], "") << "caller " << t;
    EXPECT_TRUE(results[t] == series.pixels) << "caller " << t;
  }
}

// The planar configuration of a frame depends on what the frames before it wrote into the data
// set (a frame decoded through the component transform is written by pixel): a series that
// mixes such frames with others gives the same pixels, attributes and warnings for any thread
// count.
TEST_F(DJ2KParallelCodec, ColourLayoutDecidedInFrameOrder)
{
  const unsigned frames = 9;
  Series series = MakeSeries(12, 10, 3, 8, false, frames);
  series.header.planarConfiguration = 1;
  std::vector<std::vector<uint8_t>> codestreams;
  for (unsigned f = 0; f < frames; ++f)
  {
    Image image = series.images[f];
    image.mct = f == 4 || f == 7;
    codestreams.push_back(Encode(image));
  }
  std::vector<uint8_t> firstPixels;
  std::string firstAttributes;
  size_t firstWarnings = 0;
  for (const Uint32 threads : kThreadCounts)
  {
    SCOPED_TRACE(std::to_string(threads) + " threads");
    RegisterCodecs(threads);
    auto file = MakeFile(series.header, codestreams);
    LogCapture log;
    ASSERT_TRUE(file->getDataset()->chooseRepresentation(EXS_LittleEndianExplicit, nullptr).good());
    const std::vector<uint8_t> pixels = NativePixelBytes(*file->getDataset());
    Uint16 planar = 9;
    OFString photometric;
    file->getDataset()->findAndGetUint16(DCM_PlanarConfiguration, planar);
    file->getDataset()->findAndGetOFString(DCM_PhotometricInterpretation, photometric);
    const std::string attributes = std::to_string(planar) + " " + photometric.c_str();
    size_t warnings = 0;
    for (const auto& record : log.Records())
      warnings += record.level == OFLogger::WARN_LOG_LEVEL ? 1 : 0;
    if (firstPixels.empty())
    {
      firstPixels = pixels;
      firstAttributes = attributes;
      firstWarnings = warnings;
      // The frames before the first one coded with the transform keep their planes.
      const std::vector<uint8_t> frame0 = ExpectedBytes(series.images[0], 1, 0);
      EXPECT_FALSE(std::equal(frame0.begin(), frame0.end(), pixels.begin()));
    }
    else
    {
      EXPECT_TRUE(pixels == firstPixels);
      EXPECT_EQ(attributes, firstAttributes);
      EXPECT_EQ(warnings, firstWarnings) << log.Dump();
    }
  }
}
